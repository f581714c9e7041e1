// A transcript: what a program answered to a fixed list of things done to
// it, one line each ("what was done => what came of it"), kept beside the
// tests. A later build that answers anything differently fails, and the
// failure names each thing done whose answer changed.
//
// After a change meant to alter some answers, run the test once with
// VELMOR_UPDATE_TRANSCRIPTS=1: it writes the new answers over the kept
// file, and `git diff` then shows exactly what changed, for review.
#pragma once

#include "core/shell/OneLine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace velmor::test {

// A short fingerprint of bytes too long to keep whole (FNV-1a, 64 bits).
inline std::string Fingerprint(std::string_view bytes)
{
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        h = (h ^ c) * 1099511628211ull;
    }
    static const char* const kHex = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, h >>= 4) {
        text[static_cast<std::size_t>(i)] = kHex[h & 15];
    }
    return text;
}

// A limit's text moved by about a millionth of it (at least the keypad's
// finest step, seven decimals), up or down: the nearest value a 32-bit
// limit still tells apart from it. Empty below zero.
inline std::string NextToLimit(const std::string& text, int direction)
{
    const double limit = std::stod(text);
    const double step =
        limit == 0 ? 1e-7 : std::max(1e-7, std::pow(10.0, std::floor(std::log10(limit)) - 5));
    const double v = limit + direction * step;
    if (v < 0) {
        return {};
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.7f", v);
    return buffer;
}

class Transcript {
public:
    // `what` names the thing done; it must be new to this transcript.
    void add(const std::string& what, const std::string& answer)
    {
        std::string key = what;
        for (int n = 2; m_answers.count(key) != 0; ++n) {
            key = what + " #" + std::to_string(n);
        }
        m_order.push_back(key);
        m_answers[key] = velmor::OneLine(answer);
    }

    std::size_t size() const { return m_order.size(); }

    // Empty when the kept file at `path` holds these answers; otherwise the
    // differences, at most `shown` of them, and how many there are. With
    // VELMOR_UPDATE_TRANSCRIPTS set, writes these answers to `path` instead.
    std::string compareWith(const std::string& path, std::size_t shown = 25) const
    {
        if (std::getenv("VELMOR_UPDATE_TRANSCRIPTS") != nullptr) {
            std::ofstream file(path, std::ios::binary | std::ios::trunc);
            for (const std::string& key : m_order) {
                file << key << kArrow << m_answers.at(key) << '\n';
            }
            return file ? std::string() : "cannot write " + path;
        }
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            return "no transcript at " + path + " (run with VELMOR_UPDATE_TRANSCRIPTS=1)";
        }
        std::map<std::string, std::string> kept;
        std::vector<std::string> keptOrder;
        for (std::string line; std::getline(file, line);) {
            const std::size_t arrow = line.find(kArrow);
            const std::string key = line.substr(0, arrow);
            keptOrder.push_back(key);
            kept[key] = arrow == std::string::npos ? "" : line.substr(arrow + kArrowSize);
        }
        std::ostringstream report;
        std::size_t differences = 0;
        const auto note = [&](const std::string& text) {
            if (++differences <= shown) {
                report << text << '\n';
            }
        };
        for (const std::string& key : m_order) {
            const auto k = kept.find(key);
            if (k == kept.end()) {
                note("new:     " + key + kArrow + m_answers.at(key));
            } else if (k->second != m_answers.at(key)) {
                note("changed: " + key + "\n   kept: " + k->second +
                     "\n   now:  " + m_answers.at(key));
            }
        }
        for (const std::string& key : keptOrder) {
            if (m_answers.count(key) == 0) {
                note("gone:    " + key + kArrow + kept[key]);
            }
        }
        if (differences == 0) {
            return {};
        }
        report << differences << " of " << m_order.size() << " answers differ from " << path
               << " (VELMOR_UPDATE_TRANSCRIPTS=1 writes these over it)";
        return report.str();
    }

private:
    static constexpr const char* kArrow = " => ";
    static constexpr std::size_t kArrowSize = 4;
    std::vector<std::string> m_order;
    std::map<std::string, std::string> m_answers;
};

} // namespace velmor::test
