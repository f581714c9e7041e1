// Replaces a file all at once. The new contents go to a temporary file in the
// target's folder, which takes the target's name only when it is complete, so
// a failed, interrupted or killed write leaves the target as it was.
//
// POSIX only. On Linux the temporary file has no name at all (O_TMPFILE)
// while it is written. Elsewhere, or on a file system without unnamed
// files, it is a short hidden name that fits any folder (".velmor-" and six
// characters: 14 bytes). An unnamed file can take a new name but cannot
// replace a file, so an existing target is replaced by giving the finished
// file a short name and renaming that over it: a process that dies in
// between leaves that copy behind. Every writer locks its temporary file
// until it is in place, and the next write to the folder removes the short
// names that nobody holds.
#pragma once

#include "core/rundata/WriteResult.h"

#include <string>
#include <string_view>

namespace velmor {

class AtomicFile {
public:
    enum class Temporary {
        Unnamed, // unnamed where the system offers it, else Named
        Named,   // always a short hidden name in the target's folder
    };

    AtomicFile() = default;
    ~AtomicFile(); // a file not committed is discarded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Prepares to replace `path`. A symbolic link is followed: the file it
    // names is replaced and the link stays. A target that exists must be a
    // regular file (never a device, fifo or folder); a new one is created.
    [[nodiscard]] WriteResult open(const std::string& path,
                                   Temporary temporary = Temporary::Unnamed);
    [[nodiscard]] WriteResult write(std::string_view data);
    // Puts the written file in place of the target. After a failed step the
    // file is discarded and the target left as it was.
    [[nodiscard]] WriteResult commit();

private:
    WriteResult fail(std::string reason);
    WriteResult failErrno();
    [[nodiscard]] bool linkUnnamed(const std::string& name) const;
    void discard();

    int m_folder = -1;      // the target's folder
    int m_fd = -1;          // the temporary file
    std::string m_name;     // the target's name in its folder (links followed)
    std::string m_tempName; // empty while the temporary file has no name
};

namespace fault {
// Tests only: called in commit() once the finished file has its short name,
// just before it is renamed over the target, to make the process die there.
extern void (*atomicFileBeforeRename)();
} // namespace fault

// The whole of `contents` in place of `path`, as AtomicFile does it.
[[nodiscard]] WriteResult WriteFileAtomically(const std::string& path, std::string_view contents);

} // namespace velmor
