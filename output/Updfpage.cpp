#include "output/Updfpage.h"
#include "gui/FormParts.h"
#include "gui/TextFile.h"
#include <algorithm>
#include <cmath>

TPdfPage* PdfPage = nullptr;

TPdfPage* PdfPageWindow() {
    if (!PdfPage) Application->CreateForm(PdfPage);
    return PdfPage;
}

namespace {

template <class W>
W* Named(W* w, const char* name) {
    w->setAccessibleName(QString::fromUtf8(name));
    return w;
}

} // namespace

TPdfPage::TPdfPage() : TForm("　PDFの用紙") {
    QWidget* c = Client();
    gui::Lbl(c, "用紙", 12, 15, 60);
    CBPaper = Named(new TComboBox(c, false), "用紙");
    CBPaper->SetBounds(80, 12, 150, 24);
    for (const std::string& name : output::PaperNames()) CBPaper->Items()->Add(name);
    CBPaper->SetItemIndex(0);
    CBPaper->OnChange = [this](TObject*) { ShowSize(); };
    RGOrient = Named(new TRadioGroup(c, "向き"), "向き");
    RGOrient->SetBounds(12, 44, 218, 46);
    RGOrient->SetColumns(2);
    RGOrient->SetItems({"縦", "横"});
    RGOrient->SetItemIndex(0);
    gui::Lbl(c, "解像度 (dpi)", 12, 103, 90);
    UDDpi = gui::Spin(c, EdDpi, 110, 100, 50, 1200, 100);
    Named(EdDpi, "解像度");
    Named(UDDpi, "解像度の増減");
    UDDpi->Increment = 50;
    UDDpi->OnClick = [this](TObject*, TUDBtnType) { ShowSize(); };
    EdDpi->OnChange = [this](TObject*) { ShowSize(); };
    LblSize = new TLabel(c, "");
    LblSize->SetBounds(12, 134, 300, 18);
    BtnOk = Named(gui::Btn(c, "保　存", 130, 164, 90), "保存");
    BtnOk->ModalResult = mrOk;
    BtnOk->SetDefault(true);
    BtnCancel = Named(gui::Btn(c, "キャンセル", 226, 164, 90), "キャンセル");
    BtnCancel->ModalResult = mrCancel;
    // Shown without waiting, it closes as any window does.
    BtnCancel->OnClick = [this](TObject*) { Close(); };
    SetCloseButton(BtnCancel);
    SetClientSize(328, 202);
    ShowSize();
}

output::PdfPage TPdfPage::Page() const {
    output::PdfPage p;
    p.paper = std::max(0, CBPaper->ItemIndex());
    p.landscape = RGOrient->ItemIndex() == 1;
    p.dpi = UDDpi->Position();
    return p;
}

void TPdfPage::SetPage(const output::PdfPage& page) {
    CBPaper->SetItemIndex(std::clamp(page.paper, 0, CBPaper->Items()->Count() - 1));
    RGOrient->SetItemIndex(page.landscape ? 1 : 0);
    UDDpi->SetPosition(page.dpi);
    ShowSize();
}

void TPdfPage::SetMapSide(int side) {
    mapSide = side;
    ShowSize();
}

// The map keeps its size on paper unless the paper is smaller.
void TPdfPage::ShowSize() {
    const double mm = mapSide * 25.4 / std::max(1, UDDpi->Position());
    LblSize->SetCaption(gui::Format("地図の大きさ %.1f mm 角（用紙に入らなければ縮小）", mm));
}
