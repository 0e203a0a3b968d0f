// SPDX-License-Identifier: MIT
#pragma once

// Lets glibc make no more than two heaps, before the first thread starts: the main thread's, and
// one that the worker threads (the installed-font read, the facts readers) share. Each heap of
// its own keeps what its thread freed to itself, so a heap per thread left tens of MB more in use
// at 50,000 faces; a single shared heap made the read wait on the window's allocations instead.
// Does nothing where the C library is not glibc.
void limitMallocArenas();

// The number of heaps limitMallocArenas allows.
constexpr int kMallocArenas = 2;
