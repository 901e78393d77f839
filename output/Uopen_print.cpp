// TOpen: printing the map, fitted to the paper inside the user's margins.
#include "engine/Settings.h"
#include "engine/Uopen.h"
#include "engine/Uprocess.h"
#include "gui/PrintDialog.h"
#include "gui/VectorRecorder.h"
#include "output/PrintPage.h"
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace {

// Text sizes in points, as on the screen: a point is 1/72 inch on paper too.
constexpr int TITLE_POINTS = 14, CREDIT_POINTS = 9;

QFont PrintFont(int points, int dpi) {
    QFont f("IPAGothic");
    f.setPixelSize(std::max(1, points * dpi / 72));
    return f;
}

} // namespace

namespace output {

PrintPage LayOutPrint(const QSize& area, const QPoint& origin, int mapSide, int titleHeight, int creditHeight) {
    PrintPage page;
    const int room = std::max(1, std::min(area.width(), area.height() - titleHeight - creditHeight));
    // A whole number of dots per map pixel, its grid on the paper's: every
    // pixel of the map becomes the same square of dots.
    int side = room, k = 0;
    if (mapSide > 0 && room >= mapSide) {
        k = room / mapSide;
        side = k * mapSide;
    }
    int left = (area.width() - side) / 2, top = (area.height() - titleHeight - side - creditHeight) / 2;
    if (k > 0) {
        left -= (origin.x() + left) % k;
        top -= (origin.y() + top + titleHeight) % k;
    }
    page.dotsPerPixel = k;
    page.title = QRect(left, top, side, titleHeight);
    page.map = QRect(left, top + titleHeight, side, side);
    page.credit = QRect(left, top + titleHeight + side, side, creditHeight);
    return page;
}

} // namespace output

void TOpen::Print1Click(TObject*) {
    if (!MapShown) return;
    if (PrintDialog1->Execute()) PrintMap(PrintDialog1->Printer());
}

void TOpen::PrintPreview1Click(TObject*) {
    if (!MapShown) return;
    PrintDialog1->Preview([this](QPrinter* p) { PrintMap(p); });
}

// The map as the image save draws it at the chosen size, through the render
// job as shapes and texts, replayed at the printer's dots: one drawing, and
// the screen is left as it is.
bool TOpen::PrintMap(QPrinter* printer) {
    if (!MapShown) return false;
    COPYSCALE = std::clamp(RadioGroup1->ItemIndex() + 1, 1, COPYSCALE_MAX);
    ImageSize = SIZEX * COPYSCALE / SSIZE;
    const int dpi = printer->resolution();
    const QRect paper = printer->pageLayout().paintRectPixels(dpi);
    const std::string& title = PrintDialog1->Title;
    const QFont titleFont = PrintFont(TITLE_POINTS, dpi), creditFont = PrintFont(CREDIT_POINTS, dpi);
    const int titleH = title.empty() ? 0 : QFontMetrics(titleFont).height() * 3 / 2;
    const int creditH = PrintDialog1->Credit ? QFontMetrics(creditFont).height() * 3 / 2 : 0;
    const output::PrintPage page = output::LayOutPrint(paper.size(), paper.topLeft(), ImageSize, titleH, creditH);

    Process->Label1->SetCaption("地図を印刷しています");
    Process->Show();
    Process->repaint();
    gui::VectorRecorder shapes;
    const bool readings = RenderMapVector(shapes);
    Process->Hide();
    if (!readings)
        MessageBox("読みがなを表示する市区町村名が多すぎます", "読みがなエラー", MB_OK | MB_ICONEXCLAMATION);

    QPainter p;
    if (!p.begin(printer)) {
        MessageBox("印刷を始められませんでした", "印刷エラー", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (titleH) {
        p.setFont(titleFont);
        p.drawText(page.title, Qt::AlignCenter, QString::fromStdString(title));
    }
    p.save();
    p.setClipRect(page.map);
    p.translate(page.map.topLeft());
    const double scale = double(page.map.width()) / ImageSize;
    p.scale(scale, scale);
    shapes.Replay(p);
    p.restore();
    if (creditH) {
        p.setFont(creditFont);
        p.drawText(page.credit, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(settings::MapNotice));
    }
    return p.end();
}
