#include "cli/RunRequest.h"

#include "cli/CliSupport.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/NumberText.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace velmor {

namespace {

std::optional<SettingChange> SplitChange(const std::string& text)
{
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) {
        return std::nullopt;
    }
    return SettingChange{text.substr(0, eq), text.substr(eq + 1)};
}

std::optional<double> ParseTime(std::string_view text)
{
    double v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    // std::signbit: "-0" is refused as every other negative time.
    if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() || !(v >= 0) ||
        std::signbit(v) || v > 1.0e9) {
        return std::nullopt;
    }
    return v;
}

void Check(Exercise e, const SettingChange& c)
{
    if (std::string error = CheckSetting(e, c.name, c.value); !error.empty()) {
        throw Refusal(error);
    }
}

} // namespace

bool ParseRunOption(RunRequest& request, const std::vector<std::string>& args, std::size_t& i)
{
    const std::string& opt = args[i];
    if (opt == "--from") {
        request.from = OptionArgument(args, i);
    } else if (opt == "--set") {
        const std::string& text = OptionArgument(args, i);
        const std::optional<SettingChange> c = SplitChange(text);
        if (!c) {
            throw Refusal("--set " + text + ": expected NAME=VALUE");
        }
        Check(request.exercise, *c);
        request.sets.push_back(*c);
    } else if (opt == "--at") {
        const std::string& text = OptionArgument(args, i);
        const std::size_t colon = text.find(':');
        const std::optional<double> t = colon == std::string::npos
                                            ? std::nullopt
                                            : ParseTime(std::string_view(text).substr(0, colon));
        const std::optional<SettingChange> c =
            colon == std::string::npos ? std::nullopt : SplitChange(text.substr(colon + 1));
        if (!t || !c) {
            throw Refusal("--at " + text + ": expected T:NAME=VALUE with T a time in seconds");
        }
        Check(request.exercise, *c);
        request.ats.push_back({*t, *c});
    } else if (opt == "--records") {
        const std::string& text = OptionArgument(args, i);
        long long n = 0;
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() || n < 1) {
            throw Refusal("--records " + text + ": expected a whole number of at least 1");
        }
        request.records = n;
    } else {
        return false;
    }
    return true;
}

std::optional<SimFileLoad> ReadFromFile(const RunRequest& request)
{
    if (!request.from) {
        return std::nullopt;
    }
    const std::string& path = *request.from;
    // Read as File > Open reads it with the exercise open.
    SimFileResult r = ReadSimFile(path, FormName(request.exercise));
    if (!r.ok()) {
        throw Refusal("--from " + path + ": " + r.error.text());
    }
    if (r.load->exercise != request.exercise) {
        throw Refusal("--from " + path + ": the file holds a " +
                      std::string(CommandWord(r.load->exercise)) + " simulation, not " +
                      std::string(CommandWord(request.exercise)));
    }
    return std::move(*r.load);
}

void PrepareRun(VelmorState& state, const RunRequest& request, const SimFileLoad* from)
{
    if (std::string error = PrepareHeadlessRun(state, request, from); !error.empty()) {
        throw Refusal(error);
    }
}

void ExecuteRun(VelmorState& state, const RunRequest& request)
{
    if (std::string error = ExecuteHeadlessRun(state, request); !error.empty()) {
        throw Refusal(error);
    }
}

} // namespace velmor
