// SPDX-License-Identifier: MIT
#include "FontLookupProbe.h"

#include <atomic>

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>

namespace {

std::atomic<int> g_lookups{0};

template <typename Function>
Function next(const char *name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}

int fontprobe::lookups()
{
    return g_lookups.load();
}

extern "C" {

FcPattern *FcFontMatch(FcConfig *config, FcPattern *pattern, FcResult *result)
{
    ++g_lookups;
    static const auto real = next<FcPattern *(*)(FcConfig *, FcPattern *, FcResult *)>("FcFontMatch");
    return real(config, pattern, result);
}

FcFontSet *FcFontSort(FcConfig *config, FcPattern *pattern, FcBool trim, FcCharSet **charsets, FcResult *result)
{
    ++g_lookups;
    static const auto real = next<FcFontSet *(*)(FcConfig *, FcPattern *, FcBool, FcCharSet **, FcResult *)>("FcFontSort");
    return real(config, pattern, trim, charsets, result);
}

FcFontSet *FcFontList(FcConfig *config, FcPattern *pattern, FcObjectSet *objects)
{
    ++g_lookups;
    static const auto real = next<FcFontSet *(*)(FcConfig *, FcPattern *, FcObjectSet *)>("FcFontList");
    return real(config, pattern, objects);
}

}
