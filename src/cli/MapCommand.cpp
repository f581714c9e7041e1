#include "cli/MapCommand.h"

#include "cli/CliSupport.h"
#include "cli/RunRequest.h"
#include "cli/VaryOption.h"
#include "core/analysis/ResponseFigures.h"

#include <algorithm>

namespace velmor {

namespace {

constexpr int kMaxScale = 4;

MapFigure ParseFigure(const std::string& text)
{
    static const std::pair<const char*, MapFigure> kFigures[] = {
        {"iae", MapFigure::Iae},
        {"overshoot", MapFigure::Overshoot},
        {"settling", MapFigure::Settling},
        {"stable", MapFigure::Stable}};
    for (const auto& [word, figure] : kFigures) {
        if (text == word) {
            return figure;
        }
    }
    throw Refusal("--figure " + text + ": expected iae, overshoot, settling or stable");
}

} // namespace

MapCommand ParseMapCommand(const std::vector<std::string>& args)
{
    if (args.size() < 2 || args[0].empty()) {
        throw Refusal("--export-map needs OUT.png, an exercise (" + ExerciseWords(" or ", true) +
                      ") and two --vary NAME=FROM:TO:COUNT");
    }
    MapCommand c;
    c.out = args[0];
    const std::optional<Exercise> e = ExerciseFromCommandWord(args[1]);
    if (!e) {
        throw Refusal("unknown exercise '" + args[1] + "' (expected " +
                      ExerciseWords(" or ", true) + ")");
    }
    if (ControlledLoops(*e).empty()) {
        throw Refusal("--export-map: the " + args[1] +
                      " exercise has no controlled loop to judge (expected " +
                      ExerciseWords(" or ", true) + ")");
    }
    c.plan.request.exercise = *e;
    std::vector<VaryOption> varies;
    std::vector<std::string> logs;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& opt = args[i];
        if (opt == "--vary") {
            VaryOption vary = ParseVaryOption(OptionArgument(args, i));
            for (const VaryOption& other : varies) {
                if (other.name == vary.name) {
                    throw Refusal("--vary " + vary.name + " is given twice");
                }
            }
            if (vary.count > kMaxMapCount) {
                throw Refusal("--vary " + vary.name + ": at most " + std::to_string(kMaxMapCount) +
                              " values on a map's axis");
            }
            varies.push_back(std::move(vary));
        } else if (opt == "--figure") {
            c.figure = ParseFigure(OptionArgument(args, i));
        } else if (opt == "--log") {
            logs.push_back(OptionArgument(args, i));
        } else if (opt == "--scale") {
            const std::string& text = OptionArgument(args, i);
            const bool digit = text.size() == 1 && text[0] >= '1' && text[0] <= '0' + kMaxScale;
            if (!digit) {
                throw Refusal("--scale " + text + ": expected a whole number from 1 to " +
                              std::to_string(kMaxScale));
            }
            c.scale = text[0] - '0';
        } else if (!ParseRunOption(c.plan.request, args, i)) {
            throw Refusal("unknown option '" + opt + "'");
        }
    }
    if (varies.size() != 2) {
        throw Refusal("--export-map needs two --vary NAME=FROM:TO:COUNT, one for each axis, not " +
                      std::to_string(varies.size()));
    }
    for (const std::string& name : logs) {
        if (std::none_of(varies.begin(), varies.end(),
                         [&](const VaryOption& v) { return v.name == name; })) {
            throw Refusal("--log " + name + ": not one of the two varied settings");
        }
    }
    for (std::size_t a = 0; a < 2; ++a) {
        const VaryOption& v = varies[a];
        const bool log = std::find(logs.begin(), logs.end(), v.name) != logs.end();
        c.plan.axes.push_back(VaryAxis(*e, v, log));
        c.axes[a] = MapAxis{v.name, v.from, v.to, v.count, log};
    }
    // The loop whose settings are varied (Batch has two); the first when
    // neither is a controller setting.
    const std::size_t loops = ControlledLoops(*e).size();
    for (std::size_t loop = 0; loop < loops; ++loop) {
        const std::vector<std::string> names = LoopSettingNames(*e, loop);
        if (std::find(names.begin(), names.end(), varies[0].name) != names.end()) {
            c.plan.loop = loop;
            break;
        }
    }
    return c;
}

} // namespace velmor
