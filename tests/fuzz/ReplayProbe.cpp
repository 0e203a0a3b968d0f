// SPDX-License-Identifier: MIT
// A fuzz entry for testing the corpus replay itself: it aborts, or prints a sanitizer-style report
// and goes on, when its input says so, and does nothing otherwise.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    if (input.starts_with("abort"))
        std::abort();
    if (input.starts_with("report"))
        std::fprintf(stderr, "ReplayProbe.cpp:14:9: runtime error: a report that lets the input run on\n");
    return 0;
}
