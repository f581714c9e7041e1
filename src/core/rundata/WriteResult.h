// The outcome of writing a file or a stream, and the checked write to a
// stream that the file writers and velmor-sim share.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace velmor {

// Empty on success, else the reason, to be shown after the name of what was
// written ("No space left on device", "it is a fifo, not a regular file").
struct WriteResult {
    std::string error;

    bool ok() const { return error.empty(); }
};

// The system's text for an error number ("No space left on device").
std::string SystemErrorText(int errorNumber);

// Writes `text` and flushes, then asks the stream whether it all went out: a
// full disk, a closed pipe or a closed descriptor shows only there.
WriteResult WriteToStream(std::ostream& out, std::string_view text);

} // namespace velmor
