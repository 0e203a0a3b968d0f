// SPDX-License-Identifier: MIT
#include "MallocArenas.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

void limitMallocArenas()
{
#if defined(M_ARENA_MAX)
    mallopt(M_ARENA_MAX, kMallocArenas);
#endif
}
