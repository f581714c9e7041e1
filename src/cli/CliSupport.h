// What the velmor-sim verbs share: refusals as one line, checked writes to
// standard output, and reading a simulation file.
#pragma once

#include "core/rundata/SimFileReader.h"
#include "core/shell/OneLine.h"

#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// A refusal of the command line, its input or a write: reported as one line
// on standard error, exit status 2.
class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The argument of the option at args[i]; i moves onto it. Refuses an option
// given last without its argument.
const std::string& OptionArgument(const std::vector<std::string>& args, std::size_t& i);

// The number of threads `--jobs TEXT` asks for: a whole number from 1 to 256.
unsigned ParseJobs(const std::string& text);

// "velmor-sim: MESSAGE" on its own line.
void Report(std::ostream& err, std::string_view message);

// "cannot write 'FILE': REASON", or "cannot write to standard output: REASON"
// when there is no file.
std::string CannotWrite(const std::optional<std::string>& file, const std::string& reason);

// Standard output, checked: a full disk or a closed descriptor is a refusal.
void Emit(std::ostream& out, std::string_view text);

// Writes `text` to the file, replaced in one step, or to standard output
// when there is none. Throws Refusal when the write fails.
void Output(const std::optional<std::string>& file, std::string_view text, std::ostream& out);

// The command words of the registered exercises, the last one after
// `lastJoin`: "flow, level, open, temperature or batch". With `loopsOnly`,
// only the exercises that have a controlled loop.
std::string ExerciseWords(std::string_view lastJoin, bool loopsOnly = false);

// Reads a simulation file with the reader of File > Open, with the window
// `currentForm` open ("frmMain": none, so the first line must name one).
// Throws Refusal when the file cannot be read at all; a file the reader
// refuses comes back as its error.
SimFileResult ReadSimFile(const std::string& path, std::string_view currentForm = "frmMain");

} // namespace velmor
