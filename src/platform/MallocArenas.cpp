// SPDX-License-Identifier: MIT
#include "MallocArenas.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

void shareOneMallocArena()
{
#if defined(M_ARENA_MAX)
    mallopt(M_ARENA_MAX, 1);
#endif
}
