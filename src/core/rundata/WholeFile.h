// Reading a whole file the user named. Only a regular file (links followed)
// of bounded size is read: a device such as /dev/zero would fill the memory,
// and a fifo without a writer would wait for ever, so both are refused before
// anything is read.
#pragma once

#include <cstdint>
#include <string>

namespace velmor {

enum class ReadFault {
    None,
    System,     // the system refused (no such file, no permission, ...)
    NotRegular, // a folder, a fifo, a device, a socket
    TooLarge,   // more bytes than the caller takes
};

struct ReadResult {
    ReadFault fault = ReadFault::None;
    int errorNumber = 0; // for ReadFault::System
    // For the command line, after the file's name: "No such file or
    // directory", "it is a fifo, not a regular file".
    std::string reason;

    bool ok() const { return fault == ReadFault::None; }
};

// "it is a fifo, not a regular file", for a file type of stat().
std::string NotRegularText(unsigned mode);

// The whole of the file at `path` into `text`, unless it is not a regular
// file or holds more than `maxBytes` bytes.
ReadResult ReadWholeFile(const std::string& path, std::uint64_t maxBytes, std::string& text);

} // namespace velmor
