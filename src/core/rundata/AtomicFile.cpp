#include "core/rundata/AtomicFile.h"

#include "core/rundata/WholeFile.h"

#include <cerrno>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmor {

namespace {

// The kernel's own limit on links followed in one path.
constexpr int kMaxLinks = 40;

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct Target {
    std::string path; // with every symbolic link followed
    bool exists = false;
    mode_t mode = 0;
};

// Follows symbolic links to the file that is to be replaced. A link that
// names nothing yet gives the file to create.
WriteResult Resolve(const std::string& path, Target& t)
{
    t.path = path;
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(t.path.c_str(), &st) != 0) {
            if (errno != ENOENT) {
                return {SystemErrorText(errno)};
            }
            t.exists = false;
            break;
        }
        if (!S_ISLNK(st.st_mode)) {
            t.exists = true;
            t.mode = st.st_mode;
            break;
        }
        if (links == kMaxLinks) {
            return {SystemErrorText(ELOOP)};
        }
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(t.path.c_str(), link.data(), link.size());
        if (n < 0) {
            return {SystemErrorText(errno)};
        }
        if (static_cast<std::size_t>(n) == link.size()) {
            return {"the symbolic link changed while it was read"};
        }
        link.resize(static_cast<std::size_t>(n));
        // A relative link is relative to the folder holding it.
        t.path = !link.empty() && link[0] == '/' ? link : FolderOf(t.path) + "/" + link;
    }
    if (t.exists && !S_ISREG(t.mode)) {
        return {NotRegularText(t.mode)};
    }
    const std::string name = NameOf(t.path);
    if (name.empty() || name == "." || name == "..") {
        return {"it names a folder, not a file"};
    }
    return {};
}

constexpr std::string_view kShortPrefix = ".velmor-";

// ".velmor-" and six letters or digits: 14 bytes, within the shortest file
// name limit POSIX allows a folder.
std::string ShortName()
{
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uint64_t bits = (std::uint64_t{random()} << 32) | random();
    std::string name(kShortPrefix);
    for (int i = 0; i < 6; ++i) {
        name += kChars[bits % 62];
        bits /= 62;
    }
    return name;
}

// Tries short names until `make` succeeds or fails for another reason than
// the name being taken (errno tells).
template <typename Make> bool WithShortName(std::string& name, Make make)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = ShortName();
        if (make(name)) {
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    name.clear();
    return false;
}

bool IsShortName(std::string_view name)
{
    if (name.size() != kShortPrefix.size() + 6 || !name.starts_with(kShortPrefix)) {
        return false;
    }
    for (const char c : name.substr(kShortPrefix.size())) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A writer holds a lock on its temporary file from before the file has a
// name until it is renamed over the target, so a named temporary file that
// nobody holds was left by a writer that died. Where the file system has no
// locks, nobody can take one and nothing is removed.
void LockTemporary(int fd)
{
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

// Whether `name` in the folder still is the file `fd` holds: a writer that
// created it but had not locked it yet may have lost it to the clean-up.
bool StillNamed(int folder, const std::string& name, int fd)
{
    struct stat mine {};
    struct stat named {};
    return ::fstat(fd, &mine) == 0 &&
           ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           SameFile(mine, named);
}

// Removes the short-named temporary files that dead writers left in the
// folder: a process killed between naming its finished file and renaming
// it over the target leaves a whole hidden copy, which the next write to
// the folder takes away. A folder that cannot be listed is left as it is.
void RemoveStaleTemporaries(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsShortName(entry->d_name)) {
            continue;
        }
        // O_NONBLOCK: a fifo under such a name must not stop the write.
        constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
        int file = ::openat(fd, entry->d_name, O_RDONLY | kFlags);
        if (file < 0 && errno == EACCES) {
            file = ::openat(fd, entry->d_name, O_WRONLY | kFlags); // a write-only copy
        }
        if (file < 0) {
            continue;
        }
        struct stat st {};
        if (::fstat(file, &st) == 0 && S_ISREG(st.st_mode) &&
            ::flock(file, LOCK_EX | LOCK_NB) == 0 && StillNamed(fd, entry->d_name, file)) {
            ::unlinkat(fd, entry->d_name, 0);
        }
        ::close(file);
    }
    ::closedir(dir);
}

} // namespace

void (*fault::atomicFileBeforeRename)() = nullptr;

AtomicFile::~AtomicFile()
{
    discard();
}

void AtomicFile::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempName.empty()) {
        ::unlinkat(m_folder, m_tempName.c_str(), 0);
        m_tempName.clear();
    }
    if (m_folder >= 0) {
        ::close(m_folder);
        m_folder = -1;
    }
}

WriteResult AtomicFile::fail(std::string reason)
{
    discard();
    return {std::move(reason)};
}

WriteResult AtomicFile::failErrno()
{
    const int error = errno;
    return fail(SystemErrorText(error));
}

WriteResult AtomicFile::open(const std::string& path, Temporary temporary)
{
    discard();
    Target target;
    if (WriteResult r = Resolve(path, target); !r.ok()) {
        return r;
    }
#ifdef O_PATH
    // Enough to create, link and rename in a folder that may not be readable.
    constexpr int kFolderAccess = O_PATH;
#else
    constexpr int kFolderAccess = O_RDONLY;
#endif
    m_folder = ::open(FolderOf(target.path).c_str(), kFolderAccess | O_DIRECTORY | O_CLOEXEC);
    if (m_folder < 0) {
        return failErrno();
    }
    m_name = NameOf(target.path);
    RemoveStaleTemporaries(FolderOf(target.path));

#ifdef O_TMPFILE
    // An unnamed file is linked into place through /proc; without /proc it
    // could be written but never named.
    if (temporary == Temporary::Unnamed && ::access("/proc/self/fd", X_OK) == 0) {
        m_fd = ::openat(m_folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        // These say the file system has no unnamed files: fall back to a name.
        if (m_fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return failErrno();
        }
        if (m_fd >= 0) {
            LockTemporary(m_fd); // before it can have a name
        }
    }
#else
    (void)temporary;
#endif
    if (m_fd < 0) {
        // Not mkstemp itself: it makes files 0600, and a saved run should get
        // the permissions any new file gets.
        const bool made = WithShortName(m_tempName, [this](const std::string& name) {
            m_fd = ::openat(m_folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd < 0) {
                return false;
            }
            LockTemporary(m_fd);
            if (StillNamed(m_folder, name, m_fd)) {
                return true;
            }
            // Taken for a dead writer's before the lock: another name.
            ::close(m_fd);
            m_fd = -1;
            errno = EEXIST;
            return false;
        });
        if (!made) {
            return failErrno();
        }
    }
    // A replaced file keeps its permissions.
    if (target.exists && ::fchmod(m_fd, target.mode & 07777) != 0) {
        return failErrno();
    }
    return {};
}

WriteResult AtomicFile::write(std::string_view data)
{
    if (m_fd < 0) {
        return {"the file is not open"};
    }
    while (!data.empty()) {
        const ssize_t n = ::write(m_fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? failErrno() : fail("write error");
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

bool AtomicFile::linkUnnamed(const std::string& name) const
{
#ifdef O_TMPFILE
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    return ::linkat(AT_FDCWD, self.c_str(), m_folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
#else
    (void)name;
    errno = ENOSYS;
    return false;
#endif
}

WriteResult AtomicFile::commit()
{
    if (m_fd < 0) {
        return {"the file is not open"};
    }
    // On disk before it takes the name, so that a crash leaves the old file
    // or the new one, never an empty one.
    if (::fsync(m_fd) != 0) {
        return failErrno();
    }
    // Something else may have been put in the target's place since open.
    struct stat st {};
    const bool exists = ::fstatat(m_folder, m_name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        return fail(NotRegularText(st.st_mode));
    }
    if (m_tempName.empty()) {
        // A new target takes the unnamed file directly. linkat cannot replace
        // a file: an existing target is replaced by renaming a short name
        // over it.
        if (!exists && linkUnnamed(m_name)) {
            discard();
            return {};
        }
        if (!exists && errno != EEXIST) {
            return failErrno();
        }
        if (!WithShortName(m_tempName,
                           [this](const std::string& name) { return linkUnnamed(name); })) {
            return failErrno();
        }
    }
    if (fault::atomicFileBeforeRename != nullptr) {
        fault::atomicFileBeforeRename();
    }
    if (::renameat(m_folder, m_tempName.c_str(), m_folder, m_name.c_str()) != 0) {
        return failErrno();
    }
    m_tempName.clear();
    discard();
    return {};
}

WriteResult WriteFileAtomically(const std::string& path, std::string_view contents)
{
    AtomicFile file;
    if (WriteResult r = file.open(path); !r.ok()) {
        return r;
    }
    if (WriteResult r = file.write(contents); !r.ok()) {
        return r;
    }
    return file.commit();
}

} // namespace velmor
