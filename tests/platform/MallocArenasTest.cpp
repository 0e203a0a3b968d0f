// SPDX-License-Identifier: MIT
#include "MallocArenas.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <malloc.h>

namespace {

// malloc_info lists each heap glibc has made as <heap nr="N">.
int heapCount()
{
    char *text = nullptr;
    size_t size = 0;
    FILE *out = open_memstream(&text, &size);
    if (!out)
        return -1;
    malloc_info(0, out);
    std::fclose(out);
    const std::string info(text, size);
    std::free(text);
    int count = 0;
    for (size_t at = info.find("<heap nr="); at != std::string::npos; at = info.find("<heap nr=", at + 1))
        ++count;
    return count;
}

}

TEST(MallocArenas, AThreadStartedAfterwardsAllocatesFromTheHeapThereIs)
{
    shareOneMallocArena();
    const int before = heapCount();
    ASSERT_GE(before, 1);
    std::thread([] {
        void *block = std::malloc(4096);
        ASSERT_NE(block, nullptr);
        std::free(block);
    }).join();
    EXPECT_EQ(heapCount(), before);
}
