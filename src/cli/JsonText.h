// A small JSON writer for velmor-sim's reports: one line, ", " and ": "
// between items, numbers as the shortest text that reads back identically.
#pragma once

#include "core/rundata/NumberText.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

class JsonText {
public:
    JsonText& beginObject() { return open('{'); }
    JsonText& endObject() { return close('}'); }
    JsonText& beginArray() { return open('['); }
    JsonText& endArray() { return close(']'); }

    // Starts a member of the current object.
    JsonText& key(std::string_view name)
    {
        separate();
        appendString(name);
        m_text += ": ";
        m_afterKey = true;
        return *this;
    }

    JsonText& value(double v) { return raw(ShortestText(v)); }
    JsonText& value(float v) { return raw(ShortestText(v)); }
    JsonText& value(int v) { return raw(std::to_string(v)); }
    JsonText& value(bool v) { return raw(v ? "true" : "false"); }
    // A literal is text, not the flag its pointer would convert to.
    JsonText& value(const char* s) { return value(std::string_view(s)); }
    JsonText& value(std::string_view s)
    {
        separate();
        appendString(s);
        return *this;
    }

    template <typename T> JsonText& member(std::string_view name, const T& v)
    {
        return key(name).value(v);
    }
    // An absent figure is left out of its object.
    template <typename T> JsonText& member(std::string_view name, const std::optional<T>& v)
    {
        if (v) {
            key(name).value(*v);
        }
        return *this;
    }

    const std::string& text() const { return m_text; }

private:
    JsonText& open(char c)
    {
        separate();
        m_text += c;
        m_first.push_back(true);
        return *this;
    }
    JsonText& close(char c)
    {
        m_text += c;
        m_first.pop_back();
        return *this;
    }
    JsonText& raw(const std::string& s)
    {
        separate();
        m_text += s;
        return *this;
    }
    void separate()
    {
        if (m_afterKey) {
            m_afterKey = false;
            return;
        }
        if (!m_first.empty()) {
            if (!m_first.back()) {
                m_text += ", ";
            }
            m_first.back() = false;
        }
    }
    void appendString(std::string_view s)
    {
        static const char kHex[] = "0123456789abcdef";
        m_text += '"';
        for (char c : s) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                m_text += '\\';
                m_text += c;
            } else if (u < 0x20) {
                m_text += "\\u00";
                m_text += kHex[u >> 4];
                m_text += kHex[u & 15];
            } else {
                m_text += c;
            }
        }
        m_text += '"';
    }

    std::string m_text;
    std::vector<bool> m_first;
    bool m_afterKey = false;
};

} // namespace velmor
