// SPDX-License-Identifier: MIT
#pragma once

// How the character map lays codes out in its grid.
struct CharMapLayout {
    int columns = 1;
    int rows = 1;

    // Columns: the grid's width over the cell width, less two, and never below one.
    static CharMapLayout forWidth(int gridWidth, int cellWidth, int lastCode)
    {
        CharMapLayout layout;
        layout.columns = cellWidth > 0 ? gridWidth / cellWidth - 2 : 1;
        if (layout.columns < 1)
            layout.columns = 1;
        layout.rows = lastCode / layout.columns + 1;
        return layout;
    }
    int column(int code) const { return code % columns; }
    int row(int code) const { return code / columns; }
    int code(int column, int row) const { return row * columns + column; }
    int cells() const { return columns * rows; }
};
