// TOpen: printing the map, fitted to the paper inside the user's margins.
#include "engine/Settings.h"
#include "engine/Uopen.h"
#include "engine/Uprocess.h"
#include "gui/PrintDialog.h"
#include "gui/VectorRecorder.h"
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

void TOpen::Print1Click(TObject*) {
    if (!MapShown) return;
    if (PrintDialog1->Execute()) PrintMap(PrintDialog1->Printer());
}

void TOpen::PrintPreview1Click(TObject*) {
    if (!MapShown) return;
    PrintDialog1->Preview([this](QPrinter* p) { PrintMap(p); });
}

bool TOpen::PrintMap(QPrinter* printer) {
    if (!MapShown) return false;
    const int dpi = printer->resolution();
    const QSize area = printer->pageLayout().paintRectPixels(dpi).size();
    const std::string& title = PrintDialog1->Title;
    const QFont titleFont = PrintFont(TITLE_POINTS, dpi), creditFont = PrintFont(CREDIT_POINTS, dpi);
    const int titleH = title.empty() ? 0 : QFontMetrics(titleFont).height() * 3 / 2;
    const int creditH = PrintDialog1->Credit ? QFontMetrics(creditFont).height() * 3 / 2 : 0;
    const int side = std::max(1, std::min(area.width(), area.height() - titleH - creditH));

    // The map drawn with the smallest size choice that gives the paper its
    // dots (up to 3600), so its lines and names keep their share of the map.
    const int userSize = RadioGroup1->ItemIndex();
    int k = 1;
    while (k < COPYSCALE_MAX && SIZEX * k / SSIZE < side) ++k;
    RadioGroup1->SetItemIndex(k - 1);
    COPYSCALE = k;
    ImageSize = SIZEX * COPYSCALE / SSIZE;
    Image1->SetImageSize(ImageSize, ImageSize);
    Process->Label1->SetCaption("地図を印刷しています");
    Process->Show();
    Process->BeginStoppable();
    // Lines, fills and names go to the printer as shapes and text, sharp at its dots.
    gui::VectorRecorder shapes;
    const bool readings = RenderMapVector(shapes);
    const bool stopped = Process->Cancelled;
    Process->EndStoppable();
    RadioGroup1->SetItemIndex(userSize);
    if (stopped) return false;
    if (!readings)
        MessageBox("読みがなを表示する市区町村名が多すぎます", "読みがなエラー", MB_OK | MB_ICONEXCLAMATION);

    QPainter p;
    if (!p.begin(printer)) {
        MessageBox("印刷を始められませんでした", "印刷エラー", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const int left = (area.width() - side) / 2, top = (area.height() - titleH - side - creditH) / 2;
    if (titleH) {
        p.setFont(titleFont);
        p.drawText(QRect(left, top, side, titleH), Qt::AlignCenter, QString::fromStdString(title));
    }
    p.save();
    p.setClipRect(QRect(left, top + titleH, side, side));
    p.translate(left, top + titleH);
    p.scale(double(side) / ImageSize, double(side) / ImageSize);
    shapes.Replay(p);
    p.restore();
    if (creditH) {
        p.setFont(creditFont);
        p.drawText(QRect(left, top + titleH + side, side, creditH), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8(settings::MapNotice));
    }
    return p.end();
}
