// Replays the fuzz target's seed corpus and every input it once crashed on,
// with the same checks, in the ordinary test run.
#include "../fuzz/SimFileCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

void ReplayDirectory(const fs::path& dir, std::size_t atLeast)
{
    ASSERT_TRUE(fs::is_directory(dir)) << dir;
    std::size_t files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        if (!entry.is_regular_file() || entry.path().filename().string().starts_with(".")) {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        EXPECT_EQ(velmor::fuzz::CheckSimFileInput(text.str()), "") << entry.path();
        ++files;
    }
    EXPECT_GE(files, atLeast) << dir;
}

} // namespace

TEST(SimFileFuzzInputs, SeedCorpus)
{
    ReplayDirectory(fs::path(VELMOR_TEST_DATA) / ".." / "fuzz" / "corpus", 10);
}

TEST(SimFileFuzzInputs, Regressions)
{
    ReplayDirectory(fs::path(VELMOR_TEST_DATA) / ".." / "fuzz" / "regressions", 1);
}
