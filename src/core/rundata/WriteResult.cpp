#include "core/rundata/WriteResult.h"

#include <cerrno>
#include <system_error>

namespace velmor {

std::string SystemErrorText(int errorNumber)
{
    return std::generic_category().message(errorNumber);
}

WriteResult WriteToStream(std::ostream& out, std::string_view text)
{
    // A file or standard output leaves the failing call's error number; a
    // stream in memory may fail without one.
    errno = 0;
    out << text;
    out.flush();
    if (out) {
        return {};
    }
    return {errno != 0 ? SystemErrorText(errno) : "write error"};
}

} // namespace velmor
