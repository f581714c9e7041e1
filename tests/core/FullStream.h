// An output stream whose device takes a few bytes and then refuses them, as
// a full disk does.
#pragma once

#include <cstddef>
#include <ostream>
#include <streambuf>

namespace velmor::test {

class FullBuf : public std::streambuf {
public:
    explicit FullBuf(std::size_t room) : m_room(room) {}

protected:
    int_type overflow(int_type ch) override
    {
        if (m_room == 0) {
            return traits_type::eof();
        }
        --m_room;
        return traits_type::not_eof(ch);
    }

private:
    std::size_t m_room;
};

struct FullStream : std::ostream {
    explicit FullStream(std::size_t room) : std::ostream(nullptr), buf(room) { rdbuf(&buf); }
    FullBuf buf;
};

} // namespace velmor::test
