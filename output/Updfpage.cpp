#include "output/Updfpage.h"
#include "gui/FormParts.h"
#include "gui/TextFile.h"
#include "output/OutputPage.h"
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

TPdfPage* PdfPage = nullptr;

TPdfPage* PdfPageWindow() {
    if (!PdfPage) Application->CreateForm(PdfPage);
    return PdfPage;
}

namespace {

constexpr int kPreviewW = 380, kPreviewH = 420;

template <class W>
W* Named(W* w, const std::string& name) {
    w->setAccessibleName(QString::fromStdString(name));
    return w;
}

// A number typed as the user writes it: full-width digits, thousands commas and blanks allowed.
std::optional<double> Typed(const std::string& text) {
    QString s = QString::fromStdString(text).normalized(QString::NormalizationForm_KC);
    s.remove(',').remove(' ');
    bool ok = false;
    const double v = s.toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

// Two choices side by side under a caption.
TRadioGroup* Choice(QWidget* c, const std::string& caption, const QRect& r, std::initializer_list<std::string> items) {
    auto* g = Named(new TRadioGroup(c, caption), caption);
    g->SetBounds(r.x(), r.y(), r.width(), r.height());
    g->SetColumns(2);
    g->SetItems(items);
    g->SetItemIndex(0);
    return g;
}

// An edit with its caption on its left.
TEdit* Field(QWidget* c, const std::string& caption, int y, int captionWidth, int width, const std::string& name = "") {
    gui::Lbl(c, caption, 12, y + 3, captionWidth);
    auto* e = Named(new TEdit(c, ""), name.empty() ? caption : name);
    e->SetBounds(12 + captionWidth + 4, y, width, 24);
    return e;
}

std::string Millimetres(int tenths) { return QString::number(tenths / 10.0, 'f', 1).toStdString(); }

} // namespace

TPdfPage::TPdfPage() : TForm("　レイアウト") {
    using namespace output;
    QWidget* c = Client();
    gui::Lbl(c, "用紙", 12, 15, 44);
    CBPaper = Named(new TComboBox(c, false), "用紙");
    CBPaper->SetBounds(60, 12, 120, 24);
    for (const std::string& name : PaperNames()) CBPaper->Items()->Add(name);
    CBPaper->SetItemIndex(0);
    RGOrient = Choice(c, "向き", QRect(190, 4, 150, 44), {"縦", "横"});
    gui::Lbl(c, "解像度 (dpi)", 12, 55, 90);
    UDDpi = gui::Spin(c, EdDpi, 110, 52, 50, 1200, 100);
    Named(EdDpi, "解像度");
    Named(UDDpi, "解像度の増減");
    UDDpi->Increment = 50;
    gui::Lbl(c, "（地図の大きさの用紙）", 176, 55, 170);
    RGScale = Choice(c, "縮尺", QRect(12, 82, 328, 44), {"用紙に合わせる", "縮尺を指定"});
    EdScale = Field(c, "縮尺 1:", 134, 60, 130, "縮尺の分母");
    EdTitle = Field(c, "表題", 166, 44, 280);
    EdSubtitle = Field(c, "副題", 196, 44, 280);
    for (int k = 0; k < PAGE_ITEMS; ++k) {
        const std::string name = PageItemName(k);
        CBItem[k] = Named(gui::Check(c, name, 12 + 110 * (k % 3), 230 + 26 * (k / 3), 104, true), name);
        CBItem[k]->OnClick = [this](TObject*) { Changed(false); };
    }
    gui::Lbl(c, "項目", 12, 288, 100);
    gui::Lbl(c, "位置", 118, 288, 74);
    gui::Lbl(c, "横 (mm)", 198, 288, 64);
    gui::Lbl(c, "縦 (mm)", 270, 288, 64);
    CBWhich = Named(new TComboBox(c, false), "配置する項目");
    CBWhich->SetBounds(12, 308, 100, 24);
    for (int k = 0; k < PAGE_ITEMS; ++k) CBWhich->Items()->Add(PageItemName(k));
    CBWhich->SetItemIndex(0);
    CBWhich->OnChange = [this](TObject*) { ShowPlace(); };
    CBAnchor = Named(new TComboBox(c, false), "項目の位置");
    CBAnchor->SetBounds(118, 308, 74, 24);
    for (int a = 0; a < ANCHORS; ++a) CBAnchor->Items()->Add(AnchorName(a));
    CBAnchor->SetItemIndex(0);
    EdX = Named(new TEdit(c, "0.0"), "項目の横の位置");
    EdX->SetBounds(198, 308, 64, 24);
    EdY = Named(new TEdit(c, "0.0"), "項目の縦の位置");
    EdY->SetBounds(270, 308, 64, 24);
    TLabel* how = gui::Lbl(c, "位置は用紙の余白の角から内側へ測ります。\n見本の上で項目をドラッグしても動かせます", 12, 340, 330);
    how->SetBounds(12, 340, 330, 36);
    CBAnchor->OnChange = [this](TObject*) { TakePlace(); };
    EdX->OnChange = [this](TObject*) { TakePlace(); };
    EdY->OnChange = [this](TObject*) { TakePlace(); };
    // The data's terms ask for the credit on every map handed out.
    CBItem[PAGE_CREDIT]->SetEnabled(false);
    Preview = Named(new TImage(c), "用紙の見本");
    Preview->SetBounds(352, 12, kPreviewW, kPreviewH);
    Preview->SetImageSize(kPreviewW, kPreviewH);
    Preview->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int x, int y) {
        if (b == mbLeft) Press(x, y);
    };
    Preview->OnMouseMove = [this](TObject*, TShiftState, int x, int y) { Drag(x, y); };
    Preview->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
        Drag(x, y);
        dragged = -1;
    };
    LblSize = new TLabel(c, "");
    LblSize->SetBounds(12, 438, 720, 36);
    BtnOk = Named(gui::Btn(c, "保　存", 546, 482, 90), "保存");
    BtnOk->ModalResult = mrOk;
    BtnOk->SetDefault(true);
    BtnCancel = Named(gui::Btn(c, "キャンセル", 642, 482, 90), "キャンセル");
    BtnCancel->ModalResult = mrCancel;
    // Shown without waiting, it closes as any window does.
    BtnCancel->OnClick = [this](TObject*) { Close(); };
    SetCloseButton(BtnCancel);
    SetClientSize(744, 520);
    SetLayout(PageLayout{});

    CBPaper->OnChange = [this](TObject*) { Changed(true); };
    RGOrient->OnClick = [this](TObject*) { Changed(true); };
    RGScale->OnClick = [this](TObject*) { Changed(true); };
    EdScale->OnChange = [this](TObject*) { Changed(true); };
    UDDpi->OnClick = [this](TObject*, TUDBtnType) { ShowSize(); };
    EdDpi->OnChange = [this](TObject*) { ShowSize(); };
    EdTitle->OnChange = [this](TObject*) { Changed(false); };
    EdSubtitle->OnChange = [this](TObject*) { Changed(false); };
}

output::PageLayout TPdfPage::Layout() const {
    using namespace output;
    PageLayout l;
    l.paper = std::max(0, CBPaper->ItemIndex());
    l.landscape = RGOrient->ItemIndex() == 1;
    l.dpi = UDDpi->Position();
    l.fixedScale = RGScale->ItemIndex() == 1;
    const auto n = Typed(EdScale->Text());
    // Out of bounds is kept as 0, which the page refuses with its reason.
    l.scale = n && *n >= kMinPageScale && *n <= kMaxPageScale ? int(std::lround(*n)) : 0;
    l.title = EdTitle->Text().substr(0, kMaxPageText);
    l.subtitle = EdSubtitle->Text().substr(0, kMaxPageText);
    for (int k = 0; k < PAGE_ITEMS; ++k) {
        l.places[k] = places[k];
        l.places[k].shown = CBItem[k]->Checked();
    }
    return l;
}

void TPdfPage::SetLayout(const output::PageLayout& l) {
    using namespace output;
    quiet = true;
    CBPaper->SetItemIndex(std::clamp(l.paper, 0, CBPaper->Items()->Count() - 1));
    RGOrient->SetItemIndex(l.landscape ? 1 : 0);
    UDDpi->SetPosition(l.dpi);
    RGScale->SetItemIndex(l.fixedScale ? 1 : 0);
    EdScale->SetText(Thousands(l.scale));
    EdTitle->SetText(l.title);
    EdSubtitle->SetText(l.subtitle);
    for (int k = 0; k < PAGE_ITEMS; ++k) {
        places[k] = l.places[k];
        places[k].anchor = std::clamp(places[k].anchor, 0, ANCHORS - 1);
        CBItem[k]->SetChecked(k == PAGE_CREDIT || l.places[k].shown);
    }
    ShowPlace();
    quiet = false;
    Changed(true);
}

output::PdfPage TPdfPage::Page() const {
    output::PdfPage p;
    p.paper = std::max(0, CBPaper->ItemIndex());
    p.landscape = RGOrient->ItemIndex() == 1;
    p.dpi = UDDpi->Position();
    return p;
}

void TPdfPage::SetPage(const output::PdfPage& page) {
    output::PageLayout l = Layout();
    l.paper = page.paper;
    l.landscape = page.landscape;
    l.dpi = page.dpi;
    l.scale = l.scale ? l.scale : 1000000;
    SetLayout(l);
}

void TPdfPage::SetMapSide(int side) {
    mapSide = side;
    ShowSize();
}

std::string TPdfPage::Refusal() const {
    using namespace output;
    const PageLayout l = Layout();
    if (IsMapPaper(l.paper)) return "";
    if (l.fixedScale && l.scale == 0)
        return "縮尺は 1:" + Thousands(kMinPageScale) + " から 1:" + Thousands(kMaxPageScale) + " の間で指定してください";
    for (TEdit* e : {EdX, EdY})
        if (const auto v = Typed(e->Text()); !v || std::abs(*v) > kMaxPageOffset / 10.0)
            return std::string(PageItemName(CBWhich->ItemIndex())) + "の位置は -500 から 500 (mm) の数にしてください";
    return "";
}

void TPdfPage::FormShow(TObject*) {
    accepted = false;
    ShowPreview(true);
}

bool TPdfPage::TakeAccepted(const output::PageLayout& layout, output::PagePicture& page, bool& readings) {
    const bool ok = accepted && shownValid && Layout() == layout;
    accepted = false;
    if (!ok) return false;
    page = std::move(shown);
    readings = shownReadings;
    shownValid = false;
    return true;
}

// Enter on a layout that cannot be drawn says why and keeps the window.
void TPdfPage::FormCloseQuery(TObject*, bool& CanClose) {
    if (ModalResult != mrOk) return;
    const std::string why = Refusal();
    if (why.empty()) return;
    MessageBox(why, "レイアウト", MB_OK | MB_ICONEXCLAMATION);
    CanClose = false;
}

void TPdfPage::Changed(bool map) {
    if (quiet) return;
    const bool alone = output::IsMapPaper(std::max(0, CBPaper->ItemIndex()));
    EdDpi->SetEnabled(alone);
    UDDpi->SetEnabled(alone);
    EdScale->SetEnabled(!alone && RGScale->ItemIndex() == 1);
    if (Visible()) ShowPreview(map);
    else ShowSize();
}

void TPdfPage::ShowPreview(bool withMap) {
    using namespace output;
    const PageLayout l = Layout();
    const bool wasValid = shownValid;
    shownValid = false;
    const std::string why = Refusal();
    const bool page = !IsMapPaper(l.paper) && why.empty();
    // Only the items moved: the map drawn last stays under them.
    withMap = withMap || !wasValid || shown.map.Empty();
    if (withMap) {
        mapImage = QImage(kPreviewW, kPreviewH, QImage::Format_RGB32);
        mapImage.fill(QColor(0x80, 0x80, 0x80));
    }
    if (page) {
        const PageSheet sheet = PaperSheet(l.paper, l.landscape);
        bool readings = true;
        shownValid = BuildOutputPage(l, sheet, shown, readings, withMap);
        if (withMap) shownReadings = readings;
        if (withMap) {
            factor = std::min((kPreviewW - 16) / sheet.paper.width(), (kPreviewH - 16) / sheet.paper.height());
            origin = QPointF((kPreviewW - sheet.paper.width() * factor) / 2, (kPreviewH - sheet.paper.height() * factor) / 2);
            QPainter p(&mapImage);
            p.fillRect(QRectF(origin, sheet.paper * factor), Qt::white);
            p.translate(origin);
            if (shownValid) DrawPageMap(p, shown, factor);
        }
    }
    ShowSize();
    PaintPreview();
}

void TPdfPage::PaintPreview() {
    // Drawn into the picture's own image: its canvas keeps to that one.
    QPainter p(&Preview->Picture()->Bitmap()->Image());
    p.drawImage(0, 0, mapImage);
    if (shownValid) {
        p.translate(origin);
        output::DrawPageItems(p, shown, factor);
        // The items a press can take, outlined.
        QPen pen(QColor(0x20, 0x60, 0xE0));
        pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        for (int k = 0; k < output::PAGE_ITEMS; ++k)
            if (shown.page.drawn[k]) {
                const QRectF& b = shown.page.boxes[k];
                p.drawRect(QRectF(b.topLeft() * factor, b.size() * factor));
            }
    }
    Preview->update();
}

QPointF TPdfPage::PaperAt(int x, int y) const { return (QPointF(x + 0.5, y + 0.5) - origin) / factor; }

QPoint TPdfPage::PreviewAt(QPointF mm) const {
    const QPointF p = mm * factor + origin;
    return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}

void TPdfPage::Press(int x, int y) {
    dragged = -1;
    if (!shownValid) return;
    const QPointF at = PaperAt(x, y);
    // The one drawn last lies on top.
    for (int k = output::PAGE_ITEMS - 1; k >= 0; --k)
        if (shown.page.drawn[k] && shown.page.boxes[k].contains(at)) {
            dragged = k;
            held = at - shown.page.boxes[k].topLeft();
            CBWhich->SetItemIndex(k);
            const bool was = quiet;
            quiet = true;   // nothing moved yet
            ShowPlace();
            quiet = was;
            return;
        }
}

void TPdfPage::Drag(int x, int y) {
    if (dragged < 0 || !shownValid) return;
    const int k = dragged;
    const QRectF box = shown.page.boxes[k];
    places[k] = output::PlaceAt(shown.page.frame, places[k].anchor, box.size(), PaperAt(x, y) - held);
    CBWhich->SetItemIndex(k);
    ShowPlace();
}

// The chosen item's place into the place controls.
void TPdfPage::ShowPlace() {
    const bool was = quiet;
    quiet = true;
    const int k = std::clamp(CBWhich->ItemIndex(), 0, output::PAGE_ITEMS - 1);
    CBAnchor->SetItemIndex(places[k].anchor);
    EdX->SetText(Millimetres(places[k].dx));
    EdY->SetText(Millimetres(places[k].dy));
    quiet = was;
    if (!quiet) Changed(false);
}

// What the user set in the place controls, into the chosen item's place.
void TPdfPage::TakePlace() {
    if (quiet) return;
    const int k = std::clamp(CBWhich->ItemIndex(), 0, output::PAGE_ITEMS - 1);
    places[k].anchor = std::clamp(CBAnchor->ItemIndex(), 0, output::ANCHORS - 1);
    const auto x = Typed(EdX->Text()), y = Typed(EdY->Text());
    auto tenths = [](double mm) {
        return int(std::lround(std::clamp(mm * 10, -double(output::kMaxPageOffset), double(output::kMaxPageOffset))));
    };
    if (x) places[k].dx = tenths(*x);
    if (y) places[k].dy = tenths(*y);
    Changed(false);
}

void TPdfPage::ShowSize() {
    using namespace output;
    const PageLayout l = Layout();
    if (IsMapPaper(l.paper)) {
        const double mm = mapSide * 25.4 / std::max(1, UDDpi->Position());
        LblSize->SetCaption(gui::Format("地図だけを %.1f mm 角の用紙に置きます", mm));
        return;
    }
    if (const std::string why = Refusal(); !why.empty()) {
        LblSize->SetCaption(why);
        return;
    }
    if (!shownValid) {
        const PageSheet sheet = PaperSheet(l.paper, l.landscape);
        LblSize->SetCaption(gui::Format("地図の枠 %.1f × %.1f mm", sheet.printable.width(), sheet.printable.height()));
        return;
    }
    const PageComposition& c = shown.page;
    std::string text = gui::Format("地図の枠 %.1f × %.1f mm　縮尺 %s1:%s", c.frame.width(), c.frame.height(),
                                   l.fixedScale ? "" : "約 ", Thousands(int64_t(std::llround(c.scale))).c_str());
    if (!c.message.empty()) text += "\n" + c.message;
    LblSize->SetCaption(text);
}
