#include "components/Matgrid.h"
#include "gui/TextFile.h"
#include <QFont>
#include <cctype>
#include <cstring>

TMatGrid::TMatGrid(QWidget* parent) : TStringGrid(parent) {
    FixedRows = 1;
    FixedCols = 1;
    SetFontSize(10);
    // The face asked for, then its metric twin where it is not installed.
    QFont f = font();
    f.setFamilies({QString::fromUtf8("MS Pゴシック"), "IPAPGothic"});
    setFont(f);
    SetRowHeights(18);
}

// One conversion of a floating-point value (flags, width and precision
// allowed, no '*'), any text around it, "%%" as a literal percent.
bool TMatGrid::IsValueFormat(const char* format) {
    if (!format) return false;
    int conversions = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p && std::strchr("-+ #0'", *p)) ++p;
        while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
        if (*p == '.') {
            ++p;
            while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
        }
        if (*p == 'l') ++p;
        if (!*p || !std::strchr("aAeEfFgG", *p)) return false;
        ++conversions;
    }
    return conversions == 1;
}

template <class T>
bool TMatGrid::show(const T* a, int stride, int rows, int cols, const char* format) {
    if (rows < 0 || cols < 0 || !IsValueFormat(format)) return false;
    if (rows > 0 && cols > 0 && !a) return false;
    const int h = ElementNumber ? 1 : 0;
    const int b = InitZero ? 0 : 1;
    FixedCols = h;
    FixedRows = h;
    SetColCount(cols + h);
    SetRowCount(rows + h);
    // Without ElementNumber the numbers go into the first data row and
    // column and are then overwritten by the elements.
    for (int i = 0; i < rows; ++i) SetCells(0, i + h, gui::Format("%4d", i + b));
    for (int j = 0; j < cols; ++j) SetCells(j + h, 0, gui::Format("%6d", j + b));
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            SetCells(j + h, i + h, gui::Format(format, double(a[ptrdiff_t(i) * stride + j])));
    return true;
}

bool TMatGrid::Display(const float* a, int stride, int rows, int cols, const char* format) {
    return show(a, stride, rows, cols, format);
}

bool TMatGrid::display(const double* a, int stride, int rows, int cols, const char* format) {
    return show(a, stride, rows, cols, format);
}

void TMatGrid::Clear() {
    for (int c = 1; c < ColCount(); ++c)
        for (int r = 1; r < RowCount(); ++r) SetCells(c, r, "");
}
