// TOpen: printing the map on the page the layout window composes, the
// printer's paper and margins in place of the layout's.
#include "engine/Uopen.h"
#include "engine/Uprocess.h"
#include "gui/PrintDialog.h"
#include "output/OutputPage.h"
#include "output/Updfpage.h"
#include <QPainter>
#include <QPrinter>

void TOpen::Print1Click(TObject*) {
    if (!gate.MapShown) return;
    if (ui.PrintDialog1->Execute()) PrintMap(ui.PrintDialog1->Printer());
}

void TOpen::PrintPreview1Click(TObject*) {
    if (!gate.MapShown) return;
    ui.PrintDialog1->Preview([this](QPrinter* p) { PrintMap(p); });
}

// One drawing through the render job at the page's density, set at the
// printer's dots; the screen is left as it is.
bool TOpen::PrintMap(QPrinter* printer) {
    if (!gate.MapShown) return false;
    output::PageLayout layout = PdfPageWindow()->Layout();
    // The print dialog's own title, when it has one, is the page's.
    if (!ui.PrintDialog1->Title.empty()) layout.title = ui.PrintDialog1->Title;
    if (layout.fixedScale && layout.scale == 0) layout.fixedScale = false;
    const QPageLayout paper = printer->pageLayout();
    output::PageSheet sheet;
    sheet.paper = paper.fullRect(QPageLayout::Millimeter).size();
    sheet.printable = paper.paintRect(QPageLayout::Millimeter);

    Process->Label1->SetCaption("地図を印刷しています");
    Process->Show();
    Process->repaint();
    output::PagePicture page;
    bool readings = true;
    const bool built = output::BuildOutputPage(layout, sheet, page, readings);
    Process->Hide();
    if (!built) {
        MessageBox(page.page.message, "印刷エラー", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!readings)
        MessageBox("読みがなを表示する市区町村名が多すぎます", "読みがなエラー", MB_OK | MB_ICONEXCLAMATION);

    QPainter p;
    if (!p.begin(printer)) {
        MessageBox("印刷を始められませんでした", "印刷エラー", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const int dpi = printer->resolution();
    // The painter starts at the printable area's corner; the page is drawn from the paper's.
    p.translate(-paper.paintRectPixels(dpi).topLeft());
    output::DrawPage(p, page, dpi / 25.4);
    return p.end();
}
