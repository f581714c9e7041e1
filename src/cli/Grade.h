// velmor-sim grade: a class's saved runs marked against a lab sheet. Kept
// apart from the verb so that the benchmark grades files the same way.
#pragma once

#include "core/labsheets/SheetGrade.h"

#include <ostream>
#include <string>
#include <vector>

namespace velmor {

struct FileGrade {
    std::string file; // as given, or the folder as given joined with the name
    RunGrade grade;   // refused: the file could not be read, or of another exercise
};

// The files to grade: each argument as given, a folder replaced by the .psm
// files in it, sorted by name. Throws Refusal for a folder without any.
std::vector<std::string> GradeFileList(const std::vector<std::string>& args);

// Reads and grades each file, on `jobs` threads (at least 1); the results
// stay in the order of `files`.
std::vector<FileGrade> GradeFiles(const LabSheet& sheet, const std::vector<std::string>& files,
                                  unsigned jobs);

std::string GradeJson(const LabSheet& sheet, const std::vector<FileGrade>& grades);
// One row per file after a header: file, passed, then each target's value
// and whether it was met; "." as the decimal mark whatever the locale.
std::string GradeCsv(const LabSheet& sheet, const std::vector<FileGrade>& grades);

// The verb (args[0] == "grade"): 0 every file graded, 1 some refused.
int RunGradeVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace velmor
