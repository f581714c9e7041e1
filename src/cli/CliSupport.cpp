#include "cli/CliSupport.h"

#include "core/rundata/AtomicFile.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace velmor {

std::string OneLine(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line;
    line.reserve(text.size());
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b != 0x7F) {
            line += ch;
        } else if (ch == '\n') {
            line += "\\n";
        } else if (ch == '\t') {
            line += "\\t";
        } else if (ch == '\r') {
            line += "\\r";
        } else {
            line += "\\x";
            line += kHex[b >> 4];
            line += kHex[b & 0xF];
        }
    }
    return line;
}

const std::string& OptionArgument(const std::vector<std::string>& args, std::size_t& i)
{
    if (i + 1 >= args.size()) {
        throw Refusal(args[i] + " needs an argument");
    }
    return args[++i];
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
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        throw Refusal("cannot read '" + path + "': it is a directory");
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw Refusal("cannot read '" + path + "'" +
                      (errno != 0 ? ": " + SystemErrorText(errno) : std::string()));
    }
    SimFileReadOptions options;
    options.currentForm = currentForm;
    return ReadSimulationFile(in, options);
}

} // namespace velmor
