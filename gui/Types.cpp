#include "gui/Types.h"
#include <QColor>

QColor ToQColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

TColor FromQColor(const QColor& c) {
    QColor rgb = c.toRgb();
    return RGB(rgb.red(), rgb.green(), rgb.blue());
}
