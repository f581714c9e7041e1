#include "core/rundata/WholeFile.h"

#include "core/rundata/WriteResult.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmor {

namespace {

ReadResult SystemFault(int error)
{
    return {ReadFault::System, error, SystemErrorText(error)};
}

ReadResult TooLarge(std::uint64_t maxBytes)
{
    return {ReadFault::TooLarge, 0, "it is larger than " + std::to_string(maxBytes) + " bytes"};
}

// The checks made on the name before opening and again on what was opened.
ReadResult Check(const struct stat& st, std::uint64_t maxBytes)
{
    if (!S_ISREG(st.st_mode)) {
        return {ReadFault::NotRegular, 0, NotRegularText(st.st_mode)};
    }
    if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        return TooLarge(maxBytes);
    }
    return {};
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

std::string NotRegularText(unsigned mode)
{
    const char* kind = S_ISDIR(mode)    ? "a folder"
                       : S_ISFIFO(mode) ? "a fifo"
                       : S_ISCHR(mode)  ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "something else";
    return std::string("it is ") + kind + ", not a regular file";
}

ReadResult ReadWholeFile(const std::string& path, std::uint64_t maxBytes, std::string& text)
{
    text.clear();
    // The type first: opening a fifo for reading waits for a writer.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return SystemFault(errno);
    }
    if (ReadResult r = Check(st, maxBytes); !r.ok()) {
        return r;
    }
    // Should the name have been given to a fifo since, O_NONBLOCK still
    // returns at once, and the check below refuses it.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        return SystemFault(errno);
    }
    if (::fstat(fd.get(), &st) != 0) {
        return SystemFault(errno);
    }
    if (ReadResult r = Check(st, maxBytes); !r.ok()) {
        return r;
    }
    // The size may change while it is read: never more than maxBytes.
    text.reserve(static_cast<std::size_t>(st.st_size));
    std::array<char, 1 << 16> chunk{};
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error = errno;
            text.clear();
            return SystemFault(error);
        }
        if (n == 0) {
            return {};
        }
        if (text.size() + static_cast<std::size_t>(n) > maxBytes) {
            text.clear();
            return TooLarge(maxBytes);
        }
        text.append(chunk.data(), static_cast<std::size_t>(n));
    }
}

} // namespace velmor
