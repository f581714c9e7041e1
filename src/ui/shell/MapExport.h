// velmor --export-map: a tuning map's picture written without a window.
#pragma once

#include <QStringList>

namespace velmor {

// Whether the command line asks for a map (its first argument).
bool AsksForMap(const QStringList& arguments);

// Computes the map on every core, paints it on the offscreen platform and
// writes the PNG in one step. Exit status 0, or 2 with one line on
// standard error for a refused command line, exercise, setting or target.
int ExportMap(int argc, char** argv, const QStringList& arguments);

} // namespace velmor
