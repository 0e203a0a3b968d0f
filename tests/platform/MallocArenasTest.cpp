// SPDX-License-Identifier: MIT
#include "MallocArenas.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>
#include <atomic>

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

TEST(MallocArenas, ThreadsStartedAfterwardsShareTheHeapsThereAre)
{
    limitMallocArenas();
    // Several threads, each holding blocks while the others allocate: without the limit glibc
    // gives each of them a heap of its own.
    std::vector<std::thread> threads;
    std::atomic<int> holding{0};
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&holding] {
            std::vector<void *> blocks;
            for (int i = 0; i < 64; ++i)
                blocks.push_back(std::malloc(4096));
            ++holding;
            while (holding.load() < 6)
                std::this_thread::yield();
            for (void *block : blocks)
                std::free(block);
        });
    for (std::thread &thread : threads)
        thread.join();
    const int heaps = heapCount();
    EXPECT_GE(heaps, 1);
    EXPECT_LE(heaps, kMallocArenas);
}
