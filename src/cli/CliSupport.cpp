#include "cli/CliSupport.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmor {

namespace {

std::string SystemError()
{
    return std::strerror(errno);
}

// The file a path finally names, following symbolic links (at most 40, as
// the kernel does).
std::filesystem::path FinalTarget(const std::filesystem::path& path)
{
    std::filesystem::path target = path;
    std::error_code ec;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(target, ec); ++hops) {
        const std::filesystem::path link = std::filesystem::read_symlink(target, ec);
        if (ec) {
            break;
        }
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return target;
}

std::string TemporaryName(const std::filesystem::path& target)
{
    static std::atomic<unsigned> counter{0};
    std::string file = ".";
    file += target.filename().string();
    file += ".part";
    file += std::to_string(::getpid());
    file += '-';
    file += std::to_string(counter++);
    std::filesystem::path name = target;
    name.replace_filename(file);
    return name.string();
}

} // namespace

std::string Printable(std::string_view text)
{
    static const char kHex[] = "0123456789abcdef";
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f) {
            s += "\\x";
            s += kHex[u >> 4];
            s += kHex[u & 15];
        } else {
            s += c;
        }
    }
    return s;
}

SimFileResult ReadSimFile(const std::string& path, std::string_view currentForm)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        throw CliRefusal("cannot read '" + Printable(path) + "': it is a directory");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw CliRefusal("cannot read '" + Printable(path) + "'");
    }
    SimFileReadOptions options;
    options.currentForm = currentForm;
    return ReadSimulationFile(in, options);
}

AtomicOutput::AtomicOutput(const std::string& path) : m_path(path)
{
    if (path.empty()) {
        throw CliRefusal("--out needs a file name");
    }
    const std::filesystem::path target = FinalTarget(path);
    m_target = target.string();
    std::filesystem::path dir = target.parent_path();
    if (dir.empty()) {
        dir = ".";
    }
    m_fd = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        // No unnamed files here: a hidden name beside the target.
        m_named = TemporaryName(target);
        m_fd = ::open(m_named.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0) {
            const std::string reason = SystemError();
            m_named.clear();
            throw CliRefusal("cannot write '" + Printable(path) + "': " + reason);
        }
    }
}

AtomicOutput::~AtomicOutput()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    if (!m_committed && !m_named.empty()) {
        ::unlink(m_named.c_str());
    }
}

void AtomicOutput::write(std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(m_fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            throw CliRefusal("cannot write '" + Printable(m_path) + "': " + SystemError());
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
}

void AtomicOutput::commit()
{
    if (::fsync(m_fd) != 0 && errno != EINVAL) {
        throw CliRefusal("cannot write '" + Printable(m_path) + "': " + SystemError());
    }
    if (m_named.empty()) {
        // Give the unnamed file a temporary name, then move it over the target.
        const std::string name = TemporaryName(m_target);
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            throw CliRefusal("cannot write '" + Printable(m_path) + "': " + SystemError());
        }
        m_named = name;
    }
    if (::rename(m_named.c_str(), m_target.c_str()) != 0) {
        throw CliRefusal("cannot write '" + Printable(m_path) + "': " + SystemError());
    }
    m_committed = true;
}

void WriteOutput(const std::string& path, std::string_view data, std::ostream& out)
{
    if (path == "-") {
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.flush();
        if (!out) {
            throw CliRefusal("cannot write to standard output");
        }
        return;
    }
    AtomicOutput file(path);
    file.write(data);
    file.commit();
}

} // namespace velmor
