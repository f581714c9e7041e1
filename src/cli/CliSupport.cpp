#include "cli/CliSupport.h"

#include "core/exercises/ExerciseProfile.h"
#include "core/rundata/AtomicFile.h"

#include <charconv>

namespace velmor {

const std::string& OptionArgument(const std::vector<std::string>& args, std::size_t& i)
{
    if (i + 1 >= args.size()) {
        throw Refusal(args[i] + " needs an argument");
    }
    return args[++i];
}

unsigned ParseJobs(const std::string& text)
{
    constexpr unsigned kMaxJobs = 256;
    unsigned n = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() || n < 1 ||
        n > kMaxJobs) {
        throw Refusal("--jobs " + text + ": expected a whole number from 1 to " +
                      std::to_string(kMaxJobs));
    }
    return n;
}

void Report(std::ostream& err, std::string_view message)
{
    err << "velmor-sim: " << OneLine(message) << '\n';
}

std::string CannotWrite(const std::optional<std::string>& file, const std::string& reason)
{
    return (file ? "cannot write '" + *file + "': " : "cannot write to standard output: ") + reason;
}

void Emit(std::ostream& out, std::string_view text)
{
    if (const WriteResult r = WriteToStream(out, text); !r.ok()) {
        throw Refusal(CannotWrite(std::nullopt, r.error));
    }
}

void Output(const std::optional<std::string>& file, std::string_view text, std::ostream& out)
{
    if (!file) {
        Emit(out, text);
        return;
    }
    if (const WriteResult r = WriteFileAtomically(*file, text); !r.ok()) {
        throw Refusal(CannotWrite(file, r.error));
    }
}

SimFileResult ReadSimFile(const std::string& path, std::string_view currentForm)
{
    std::string text;
    if (const ReadResult r = ReadSimFileBytes(path, text); !r.ok()) {
        throw Refusal("cannot read '" + path + "': " + r.reason);
    }
    SimFileReadOptions options;
    options.currentForm = currentForm;
    return ReadSimulationText(text, options);
}

std::string ExerciseWords(std::string_view lastJoin, bool loopsOnly)
{
    std::vector<std::string_view> words;
    for (const ExerciseProfile* p : Profiles()) {
        if (!loopsOnly || !p->loops.empty()) {
            words.push_back(p->commandWord);
        }
    }
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) {
            text += i + 1 == words.size() ? lastJoin : std::string_view(", ");
        }
        text += words[i];
    }
    return text;
}

} // namespace velmor
