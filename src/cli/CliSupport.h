// Pieces the velmor-sim verbs share: refusals, safe message text, reading a
// simulation file, and output files that appear whole or not at all.
#pragma once

#include "core/rundata/SimFileReader.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace velmor {

// A refusal of the command line or its input: one line on standard error,
// exit status 2.
class CliRefusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Text fit for a one-line message: control characters (and DEL) appear as
// \xNN, so that a file name or value cannot break the line or the terminal.
std::string Printable(std::string_view text);

// Reads a simulation file with the reader of File > Open, with the window
// `currentForm` open ("frmMain": none, so the first line must name one). A
// file that cannot be read at all is refused (CliRefusal); a file the reader
// refuses comes back as its error.
SimFileResult ReadSimFile(const std::string& path, std::string_view currentForm = "frmMain");

// An output file written under a temporary name (an unnamed file where the
// file system allows it) and put in place by commit(), replacing the
// target; destroying it without commit() leaves no trace. A symbolic link as
// the target is followed: the file it points to is replaced.
class AtomicOutput {
public:
    explicit AtomicOutput(const std::string& path);
    ~AtomicOutput();
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    void write(std::string_view data);
    void commit();

private:
    std::string m_path;   // as given, for messages
    std::string m_target; // the file replaced
    std::string m_named;  // temporary name when the file system has no unnamed files
    int m_fd = -1;
    bool m_committed = false;
};

// Writes data to `path`, or to `out` when the path is "-". Throws
// CliRefusal when the data cannot be written.
void WriteOutput(const std::string& path, std::string_view data, std::ostream& out);

} // namespace velmor
