#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# Writes, for each font named on the command line, the code points its character map gives a
# glyph, as fontTools reads them: one line per font, "path<TAB>code code ...", codes in hex.
# A symbol-encoded font (a (3,0) map and no Unicode one) gives its symbol codes, bare bytes moved
# to U+F000 on as Windows addresses them.
import sys
from fontTools.ttLib import TTFont

def codes(path):
    font = TTFont(path, lazy=True)
    cmap = font.getBestCmap()
    symbol = False
    if not cmap:
        table = font['cmap'].getcmap(3, 0)
        cmap = table.cmap if table else {}
        symbol = True
    found = set()
    for code, glyph in cmap.items():
        if font.getGlyphID(glyph) == 0:
            continue
        if symbol and code < 0x100:
            code += 0xF000
        found.add(code)
    return sorted(found)

with open(sys.argv[1], 'w') as out:
    for path in sys.argv[2:]:
        out.write(path + '\t' + ' '.join('%X' % c for c in codes(path)) + '\n')
