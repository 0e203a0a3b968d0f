// SPDX-License-Identifier: MIT
#pragma once

// Counts the font lookups of this process: the fontconfig calls through which Qt matches a font
// (a family list, a best match, a fallback sort). The test binary defines these functions, so
// every caller, Qt's font database included, reaches them first; they count and pass the call on.
namespace fontprobe {
int lookups();
}
