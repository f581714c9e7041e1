// The desktop program's --export-map command line, read with velmor-sim's
// names, limits and refusals:
//   --export-map OUT.png EXERCISE --vary NAME=FROM:TO:COUNT --vary ...
//                [--set NAME=VALUE ...] [--records N]
//                [--figure iae|overshoot|settling|stable] [--log NAME] [--scale N]
#pragma once

#include "core/analysis/TuningMap.h"

#include <array>
#include <string>
#include <vector>

namespace velmor {

struct MapCommand {
    std::string out;
    SweepPlan plan;              // the exercise, its loop, the runs' options, the two axes
    std::array<MapAxis, 2> axes; // across, up: ranges and spacing
    MapFigure figure = MapFigure::Iae;
    int scale = 1; // the picture at this many pixels per logical pixel
};

// `args`: what follows --export-map. Throws Refusal.
MapCommand ParseMapCommand(const std::vector<std::string>& args);

} // namespace velmor
