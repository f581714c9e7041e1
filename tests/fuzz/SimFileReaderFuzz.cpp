// libFuzzer target: any bytes as a simulation file. A failed check aborts, so
// libFuzzer keeps the input as a crash.
#include "SimFileCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string failure = velmor::fuzz::CheckSimFileInput(text);
    if (!failure.empty()) {
        std::fprintf(stderr, "simulation file check failed: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
