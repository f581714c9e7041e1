// libFuzzer target: any bytes as a lab sheet. The reader must refuse with one
// line or give a sheet that holds together, and a sheet it gives must grade
// a run without fault. A failed check aborts, so libFuzzer keeps the input.
#include "core/exercises/ExerciseProfile.h"
#include "core/labsheets/SheetGrade.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Require(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "lab sheet check failed: %s\n", what);
        std::abort();
    }
}

// A short run of the sheet's exercise with a set point step, for grading.
velmor::SimFileLoad SmallRun(velmor::Exercise e)
{
    velmor::SimFileLoad run;
    run.exercise = e;
    run.records.resize(64);
    for (std::size_t n = 0; n < run.records.size(); ++n) {
        velmor::SampleRecord& r = run.records[n];
        r.time = 0.1 * static_cast<double>(n);
        for (const velmor::LoopTraces& loop : velmor::ProfileOf(e).loops) {
            r.field(loop.setPointField) = n < 20 ? 0.0f : 1.0f;
            r.field(loop.measuredField) = n < 20 ? 0.0f : 1.0f - 1.0f / static_cast<float>(n);
        }
        r.segment = n < 40 ? 1 : 2;
    }
    run.sampleCount = static_cast<std::int32_t>(run.records.size());
    return run;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const velmor::LabSheetResult r = velmor::ReadLabSheetText(text);
    Require(r.ok() == r.error.empty(), "a sheet comes with no message, a refusal with one");
    Require(r.error.find_first_of("\r\n") == std::string::npos, "the message is one line");
    if (!r.ok()) {
        return 0;
    }
    const velmor::LabSheet& sheet = *r.sheet;
    Require(!sheet.targets.empty(), "a sheet has targets");
    Require(sheet.minRecords >= 0 && sheet.minRecords <= 6000, "minRecords within 0 to 6000");
    for (const std::string& name : sheet.locked) {
        Require(std::any_of(sheet.settings.begin(), sheet.settings.end(),
                            [&](const velmor::SheetSetting& s) { return s.name == name; }),
                "every locked name is set");
    }
    const velmor::RunGrade g = velmor::GradeRun(sheet, SmallRun(sheet.exercise));
    Require(g.refused.empty(), "a run of the sheet's exercise is graded");
    Require(g.targets.size() == sheet.targets.size(), "one grade per target");
    for (const velmor::TargetGrade& t : g.targets) {
        Require(!t.passed || t.value.has_value(), "a met target has a value");
        Require(!g.passed || t.passed, "a passed run meets every target");
    }
    return 0;
}
