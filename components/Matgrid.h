// TMatGrid: a numeric matrix in a string grid, one element per cell, with the
// row and column numbers in a fixed first row and column.
#pragma once
#include "gui/Controls.h"
#include <string>

class TMatGrid : public TStringGrid {
public:
    explicit TMatGrid(QWidget* parent = nullptr);

    bool ElementNumber = true;   // row and column numbers in the first row and column
    bool InitZero = false;       // numbering from 0 instead of 1

    // Element (i, j) is a[i * stride + j]; format prints one value ("%.4f").
    // Refuses (false, grid untouched) a format that is not exactly one
    // floating-point conversion, a null matrix, or negative sizes.
    bool Display(const float* a, int stride, int rows, int cols, const char* format);
    bool display(const double* a, int stride, int rows, int cols, const char* format);
    // Empties every cell but those of row 0 and column 0.
    void Clear();

    static bool IsValueFormat(const char* format);

private:
    template <class T>
    bool show(const T* a, int stride, int rows, int cols, const char* format);
};
