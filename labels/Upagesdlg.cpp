// The symbol palette: choosing, placing, drawing and keeping map symbols.
#include "gui/FormParts.h"
#include "labels/Upagesdlg.h"
#include "components/Mystr.h"
#include "engine/Convert.h"
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "labels/MainFormLabels.h"
#include "labels/LabelTools.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include <filesystem>

TPagesDlg* PagesDlg = nullptr;

namespace {

const char* const kStandardHints[21] = {"都府県庁", "町村役場", "小中学校", "大学", "郵便局", "警察署", "消防出張所",
                                        "交番，派出所", "消防署", "病院", "ホテル", "工場", "銀行", "神社",
                                        "寺院", "港", "名所旧跡", "発電所", "市役所", "高校", "公民館"};

// Picture index of a palette code: 0-20 standard, 21-62 others and custom, 63-69 stamps.
int PictureIndex(int code) {
    if (code >= 100 && code <= 120) return code - 100;
    if (code >= 200 && code <= 241) return 21 + code - 200;
    if (code >= 501 && code <= 507) return 63 + code - 501;
    return -1;
}


} // namespace

void ColourBlackPixels(QImage& img, TColor c) {
    if (img.format() != QImage::Format_RGB32) img = img.convertToFormat(QImage::Format_RGB32);
    const uint32_t black = ToPixel(0), to = ToPixel(c);
    for (int y = 0; y < img.height(); ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((row[x] | 0xFF000000u) == black) row[x] = to;
    }
}

TPagesDlg::TPagesDlg() : TForm("　記号パレット") {
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetClientSize(420, 372);
    SetFixedSize(true);
    PlacedSymbols.resize(SYMBOL_MAX);
    SymbolBitmap = std::make_unique<TBitmap>(16, 16);

    auto btn = [](QWidget* p, const std::string& c, int x, int y, int w, const std::string& hint = "") {
        return gui::Btn(p, c, x, y, w, hint, 24);
    };
    auto lbl = [](QWidget* p, const std::string& c, int x, int y, int w = 60) { return gui::Lbl(p, c, x, y, w); };
    auto chk = [](QWidget* p, const std::string& c, int x, int y, int w, bool on, const std::string& hint = "") {
        return gui::Check(p, c, x, y, w, on, hint);
    };

    PageControl1 = new TPageControl(this);
    PageControl1->SetBounds(8, 8, 404, 150);
    TTabSheet* tabs[4];
    const char* names[4] = {"地図記号", "その他", "カスタム", "記号操作"};
    for (int t = 0; t < 4; ++t) tabs[t] = new TTabSheet(PageControl1, names[t]);
    auto picture = [&](int code, QWidget* sheet, int x, int y, const std::string& hint) {
        auto* img = new TImage(sheet);
        img->SetBounds(x, y, 16, 16);
        img->SetImageSize(16, 16);
        img->SetHint(hint);
        img->OnMouseDown = [this, code](TObject*, TMouseButton, TShiftState, int, int) { SelectSymbol(code); };
        Pictures[PictureIndex(code)] = img;
    };
    for (int i = 0; i < 21; ++i) {
        picture(100 + i, tabs[0], 8 + (i % 11) * 26, 8 + (i / 11) * 26, kStandardHints[i]);
        picture(200 + i, tabs[1], 8 + (i % 11) * 26, 8 + (i / 11) * 26, std::to_string(200 + i));
        picture(221 + i, tabs[2], 8 + (i % 11) * 26, 8 + (i / 11) * 26, std::to_string(221 + i));
    }
    lbl(tabs[0], "スタンプ", 8, 64);
    for (int n = 1; n <= 7; ++n) picture(500 + n, tabs[0], 64 + (n - 1) * 26, 62, "mark" + std::to_string(n));
    // The standard pictures are part of the palette itself.
    for (int i = 0; i < 21; ++i) {
        QImage img(QString(":/P%1").arg(100 + i));
        if (!img.isNull()) Pictures[i]->Canvas()->Image() = img.convertToFormat(QImage::Format_RGB32);
    }
    CheckBox1 = chk(tabs[0], "標準", 8, 90, 60, true);
    LabelSize = lbl(tabs[0], "標準", 72, 92);
    for (int t = 0; t < 3; ++t) {
        lbl(tabs[t], "スタンプ", 250, 92);
        StampLabels[t] = lbl(tabs[t], "有効", 310, 92, 40);
        StampLabels[t]->SetFontColor(0xFF0000);
    }
    tabs[0]->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) { MainTools().ArmTool<StampTool>(*Open); };

    Button3 = btn(tabs[3], "削　除", 8, 8, 70);
    Button4 = btn(tabs[3], "呼　出", 84, 8, 70);
    Button5 = btn(tabs[3], "保　存", 160, 8, 70);
    Edit1 = new TEdit(tabs[3], "");
    Edit1->SetBounds(8, 36, 380, 22);
    Edit1->SetReadOnly(true);
    Edit1->setAccessibleName("地図記号ファイル");
    Button8 = btn(tabs[3], "ファイル読込", 8, 66, 100, "地図記号ファイルを開く");
    Button9 = btn(tabs[3], "ファイル保存", 114, 66, 100, "地図記号をファイルに保存");
    Label41 = lbl(tabs[3], "", 220, 70, 170);

    lbl(this, "色設定", 8, 166, 50);
    Image36 = new TImage(this);
    Image36->SetBounds(60, 166, 20, 20);
    Image36->SetImageSize(20, 20);
    Image36->SetHint("色設定（白色不可）");
    Image36->setAccessibleName("色見本");
    Button7 = btn(this, "...", 84, 164, 24, "色設定（白色不可）");
    lbl(this, "記号", 120, 168, 30);
    Image37 = new TImage(this);
    Image37->SetBounds(152, 166, 18, 18);
    Image37->SetImageSize(18, 18);
    lbl(this, "色", 176, 168, 20);
    LabelColorHex = lbl(this, "", 200, 168, 80);
    LabelColorHex->SetVisible(false);
    CBTransp = chk(this, "透明", 290, 166, 60, true, "記号背景を透明にする");
    CancelBtn = btn(this, "戻 す", 8, 196, 64, "一つ前に戻す");
    Button1 = btn(this, "非表示", 76, 196, 64);
    Button2 = btn(this, "クリア", 144, 196, 64, "記号編集を破棄する");
    Button6 = btn(this, "無 効", 212, 196, 64, "記号スタンプ機能を無効にする");
    lbl(this, "記号数", 284, 200, 40);
    Label34 = lbl(this, "0", 330, 200, 60);
    Button10 = btn(this, "保存", 8, 226, 64, "地図記号位置ﾃﾞｰﾀを保存");
    Button11 = btn(this, "読込", 76, 226, 64, "地図記号位置ﾌｧｲﾙを開く");
    CBMarkAdd = chk(this, "追加読込", 144, 228, 90, false);
    CBIchi = chk(this, "指定", 8, 260, 56, false);
    lbl(this, "経度", 66, 262, 30);
    Edit2 = new TEdit(this, "ddd.mmss");
    Edit2->SetBounds(98, 260, 80, 22);
    lbl(this, "緯度", 182, 262, 30);
    Edit3 = new TEdit(this, "dd.mmss");
    Edit3->SetBounds(214, 260, 80, 22);
    BtnIchi = btn(this, "実行", 300, 258, 50, "指定された経緯度に記号表示");
    CBGSICor = chk(this, "GSI 補正", 8, 288, 100, false, "ウォッちず読み取り補正");
    for (QWidget* w : std::initializer_list<QWidget*>{Edit2, Edit3, BtnIchi}) w->setEnabled(false);
    HelpBtn = btn(this, "閉じる", 330, 340, 80);
    for (TButton* b : {Button1, Button2, Button10, CancelBtn}) b->SetEnabled(false);

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->Filter = "地図記号ファイル(*.mrk)|*.mrk|すべて(*.*)|*.*";
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->DefaultExt = "mrk";
    SaveDialog1->Filter = "地図記号ファイル(*.mrk)|*.mrk|すべて(*,*)|*.*";
    SaveDialog1->OverwritePrompt = true;
    OpenDialog2 = new TOpenDialog(this);
    OpenDialog2->Filter = "記号位置ﾌｧｲﾙ(*.mks)|*.mks|すべて|*.*";
    SaveDialog2 = new TSaveDialog(this);
    SaveDialog2->Filter = "記号位置ﾌｧｲﾙ(*.mks)|*.mks|すべて(*.*)|*.*";
    // The ".mks" is added before the dialog's own overwrite question, which then names the final file.
    SaveDialog2->DefaultExt = "mks";
    SaveDialog2->OverwritePrompt = true;
    OpenDialog3 = new TOpenDialog(this);
    OpenDialog3->Filter = "画像ファイル(*.bmp)|*.bmp";
    SaveDialog3 = new TSaveDialog(this);
    SaveDialog3->Filter = "ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ(*.bmp)|*.bmp";
    ColorDialog1 = new TColorDialog(this);

    Button7->OnClick = [this](TObject* s) { Button7Click(s); };
    Image36->OnClick = [this](TObject* s) { Button7Click(s); };
    CancelBtn->OnClick = [this](TObject* s) { CancelBtnClick(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button6->OnClick = [this](TObject* s) { Button6Click(s); };
    HelpBtn->OnClick = [this](TObject* s) { HelpBtnClick(s); };
    BtnIchi->OnClick = [this](TObject* s) { BtnIchiClick(s); };
    Button8->OnClick = [this](TObject* s) { Button8Click(s); };
    Button9->OnClick = [this](TObject* s) { Button9Click(s); };
    Button10->OnClick = [this](TObject* s) { Button10Click(s); };
    Button11->OnClick = [this](TObject* s) { Button11Click(s); };
    Button3->OnClick = [this](TObject*) {
        DeleteCustomSymbols();
        PageControl1->SetActivePageIndex(2);
        Edit1->SetText("");
    };
    Button4->OnClick = [this](TObject*) { ImportCustomSymbols(); };
    Button5->OnClick = [this](TObject*) { ExportCustomSymbols(); };
    CBIchi->OnClick = [this](TObject*) {
        for (QWidget* w : std::initializer_list<QWidget*>{Edit2, Edit3, BtnIchi}) w->setEnabled(CBIchi->Checked());
    };
    CheckBox1->OnClick = [this](TObject* s) {
        if (CheckBox1->Checked())
            N161Click(*Open, s);
        else
            N141Click(*Open, s);
    };
}

TPagesDlg::~TPagesDlg() = default;

std::string TPagesDlg::MarkPath(const std::string& name) const { return MainDoc().AppDir + "/mark/" + name; }

void TPagesDlg::FormCreate(TObject* Sender) {
    CustomFolder = gui::NativePath(MainDoc().AppDir + "/Mark");
    OpenDialog1->InitialDir = SaveDialog1->InitialDir = CustomFolder;
    ExtraMarkDefault = MainDoc().AppDir + "/ExtraMark";
    ExtraMarkConfig = Open->ExtraMarkFolder;
    Edit1->SetText(ExtraMarkConfig);
    LoadPaletteImages();
    StampColor = 255;
    gui::FillSwatch(Image36, StampColor);
    bool missing;
    QImage blank = LoadPicture(MarkPath("blank.bmp"), missing);
    Image37->Canvas()->Image().fill(0xFFFFFFFF);
    if (!blank.isNull()) {
        SymbolBitmap->Image() = blank;
        Image37->Canvas()->CopyRect(Rect(0, 0, blank.width(), blank.height()), SymbolBitmap->Canvas(),
                                    Rect(0, 0, blank.width(), blank.height()));
    }
    SymbolSize = 16;
    SymbolsShown = true;
    Button1->SetCaption("非表示");
    Label41->SetCaption("");
    StampDisabled = false;
    Button6->SetCaption("無 効");
    for (TLabel* l : StampLabels) l->SetCaption("有効"), l->SetFontColor(0xFF0000);
}

void TPagesDlg::FormShow(TObject* Sender) { Edit1->SetText(ExtraMarkConfig); }

QImage TPagesDlg::LoadPicture(const std::string& path, bool& missing) {
    missing = false;
    if (caching) {
        auto it = pictureCache.find(path);
        if (it != pictureCache.end()) {
            missing = it->second.isNull();
            return it->second;
        }
    }
    QImage img;
    const std::string real = gui::NativePath(path);
    if (gui::FileExists(real)) img.load(QString::fromStdString(real));
    if (!img.isNull()) img = img.convertToFormat(QImage::Format_RGB32);
    missing = img.isNull();
    if (caching) pictureCache[path] = img;
    return img;
}

void TPagesDlg::LoadPaletteImages() {
    auto put = [&](int code, const std::string& name) {
        TImage* img = Pictures[PictureIndex(code)];
        bool missing;
        QImage pic = LoadPicture(MarkPath(name), missing);
        if (missing) pic = LoadPicture(MarkPath("blank.bmp"), missing);
        TCanvas* cv = img->Canvas();
        cv->Image().fill(0xFFFFFFFF);
        if (!missing) {
            TBitmap b;
            b.Image() = pic;
            cv->StretchDraw(Rect(0, 0, 16, 16), &b);
        }
        cv->Changed();
    };
    for (int n = 1; n <= 7; ++n) put(500 + n, "mark" + std::to_string(n) + ".bmp");
    for (int c = 200; c <= 241; ++c) put(c, std::to_string(c) + ".bmp");
}

void TPagesDlg::SetMapCursor(int id) { MainUi().Image1->SetCursor(id); }

void TPagesDlg::SelectSymbol(int code) {
    const bool stamp = code > 500;
    const std::string name = stamp ? "mark" + std::to_string(code - 500) + ".bmp" : std::to_string(code) + ".bmp";
    bool missing;
    QImage pic = LoadPicture(MarkPath(name), missing);
    const bool found = !missing;
    if (!stamp || found) MainTools().ArmTool<StampTool>(*Open);
    if (missing) pic = LoadPicture(MarkPath("blank.bmp"), missing);
    SymbolCode = code;
    SymbolBitmap->Image() = missing ? QImage(16, 16, QImage::Format_RGB32) : pic;
    if (missing) SymbolBitmap->Image().fill(0xFFFFFFFF);
    ColourBlackPixels(SymbolBitmap->Image(), StampColor);
    TCanvas* pv = Image37->Canvas();
    pv->Image().fill(0xFFFFFFFF);
    pv->Draw(0, 0, SymbolBitmap.get());
    if (code < 200)
        CursorId = uint16_t(code - 100 + 1);
    else if (code < 500)
        CursorId = 200;
    else
        CursorId = uint16_t(100 + code - 500);
    SetMapCursor(CursorId);
}

void TPagesDlg::Button7Click(TObject* Sender) {
    ColorDialog1->Color = StampColor;
    if (!ColorDialog1->Execute()) return;
    const TColor previous = StampColor;
    StampColor = ColorDialog1->Color;
    gui::FillSwatch(Image36, StampColor);
    // The current picture is read again, so that a colour that matched the old one is not lost.
    QImage& img = SymbolBitmap->Image();
    const uint32_t from = ToPixel(previous), to = ToPixel(StampColor);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) | 0xFF000000u) == from) img.setPixel(x, y, to);
    if (SymbolCode >= 100) {
        const bool stamp = SymbolCode > 500;
        bool missing;
        QImage pic = LoadPicture(
            MarkPath(stamp ? "mark" + std::to_string(SymbolCode - 500) + ".bmp" : std::to_string(SymbolCode) + ".bmp"),
            missing);
        if (!missing) {
            img = pic;
            ColourBlackPixels(img, StampColor);
        }
    }
    TCanvas* pv = Image37->Canvas();
    pv->Image().fill(0xFFFFFFFF);
    pv->Draw(0, 0, SymbolBitmap.get());
}

void TPagesDlg::EnableListButtons(bool on) {
    for (TButton* b : {Button1, Button2, Button10, CancelBtn}) b->SetEnabled(on);
}

bool TPagesDlg::AddPlacedSymbol(int32_t x, int32_t y) {
    if (SymbolCode >= 221 && SymbolCode <= 241 &&
        !gui::FileExists(gui::NativePath(CustomFolder + "/" + std::to_string(SymbolCode) + ".bmp"))) {
        MessageBox("カスタム記号はブランクです          ", "カスタム記号", MB_OK);
        return false;
    }
    EnableListButtons(true);
    if (PlacedSymbolCount >= SYMBOL_MAX) {
        if (!FullReported)
            MessageBox(gui::Format("地図記号は %d 個までです．これ以上追加できません", SYMBOL_MAX), "地図記号を描く",
                       MB_OK | MB_ICONEXCLAMATION);
        FullReported = true;
        return false;
    }
    PlacedSymbols[PlacedSymbolCount++] = {SymbolCode, x, y, StampColor, SymbolSize,
                                          uint8_t(CBTransp->Checked() ? 1 : 0)};
    return true;
}

void TPagesDlg::DrawSymbol(const PlacedSymbol& s) {
    DrawSymbol(*MainUi().Image1->Canvas(), DrawnMapView(), s);
    TakeDrawn();
}

void TPagesDlg::DrawSymbol(TCanvas& canvas, const MapView& view, const PlacedSymbol& s) {
    int side = 16, offset = -8;
    const int sizeClass = s.code < 200 && s.size == 14 ? 1 : s.code < 200 && s.size == 18 ? 2 : 0;
    if (sizeClass == 1) side = 14, offset = -7;
    if (sizeClass == 2) side = 18, offset = 5;
    auto nameOf = [&] {
        if (s.code < 200) return std::to_string(s.code) + (sizeClass == 1 ? "s.bmp" : sizeClass == 2 ? "m.bmp" : ".bmp");
        if (s.code < 500) return std::to_string(s.code) + ".bmp";
        return "mark" + std::to_string(s.code - 500) + ".bmp";
    };
    bool missing;
    QImage pic;
    const int key = int(int64_t(s.code) * 3 + sizeClass);
    auto kept = caching ? symbolPictures.find(key) : symbolPictures.end();
    if (kept != symbolPictures.end()) {
        pic = kept->second.first, missing = kept->second.second;
    } else {
        pic = LoadPicture(MarkPath(nameOf()), missing);
        if (caching) symbolPictures.emplace(key, std::make_pair(pic, missing));
    }
    if (missing) {
        // Once per redraw, however many symbols lack their picture.
        if (!MissingReported) {
            const char* suffix = s.code < 200 && s.size == 14 ? "s" : s.code < 200 && s.size == 18 ? "m" : "";
            MessageBox(gui::Format("カスタム記号 %d%s.bmp が見つかりません                 ", s.code, suffix),
                       "カスタム記号", MB_OK | MB_ICONEXCLAMATION);
        }
        MissingReported = true;
        pic = LoadPicture(MarkPath("blank.bmp"), missing);
        if (missing) {
            pic = QImage(side, side, QImage::Format_RGB32);
            pic.fill(0xFFFFFFFF);
        }
    }
    TOpen* o = Open;
    int sx, sy;
    view.ToScreen(s.x, s.y, sx, sy);
    lastColor = s.color;
    TCanvas* cv = &canvas;
    const uint32_t black = ToPixel(0), white = ToPixel(0xFFFFFF), ink = ToPixel(s.color);
    // Both modes take the symbol's own square of the picture, however large the file.
    // Transparent: centred, only the figure is put on the map. Opaque: the whole square,
    // white taking the map colour at the point (as a brush copy would).
    const int w = std::min(side, pic.width()), h = std::min(side, pic.height());
    if (w <= 0 || h <= 0) return;
    int ox, oy;
    uint32_t back = 0;
    if (s.transparent) {
        ox = sx - side / 2, oy = sy - side / 2;
    } else {
        const TColor under = cv->Pixels(sx, sy);
        back = ToPixel(under < 0 ? StyleOf(*o).BackColor : under);
        ox = sx + offset, oy = sy + offset;
    }
    // The symbol as drawn, put through the canvas so every output gets it;
    // a transparent one keys out every pixel but its ink.
    const uchar* sbits = pic.constBits();
    const qsizetype sstride = pic.bytesPerLine();
    if (s.transparent && !cv->Vector) {
        // What the keyed stamp below would leave: the figure's pixels in the symbol's colour.
        QImage& img = cv->Image();
        const int W = img.width(), H = img.height();
        for (int j = 0; j < h; ++j) {
            const int y = oy + j;
            if (y < 0 || y >= H) continue;
            const uint32_t* src = reinterpret_cast<const uint32_t*>(sbits + j * sstride);
            uint32_t* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
            for (int i = std::max(0, -ox); i < w && ox + i < W; ++i)
                if ((src[i] | 0xFF000000u) == black) row[ox + i] = ink;
        }
        return cv->Changed();
    }
    const uint32_t keyed = ink ^ 1u;
    TBitmap& stamp = stampPad;
    if (stamp.Width() != w || stamp.Height() != h) stamp.SetSize(w, h);
    QImage& to = stamp.Image();
    uchar* dbits = to.bits();
    const qsizetype dstride = to.bytesPerLine();
    for (int j = 0; j < h; ++j) {
        const uint32_t* src = reinterpret_cast<const uint32_t*>(sbits + j * sstride);
        uint32_t* dst = reinterpret_cast<uint32_t*>(dbits + j * dstride);
        for (int i = 0; i < w; ++i) {
            const uint32_t p = src[i] | 0xFF000000u;
            dst[i] = p == black ? ink : s.transparent ? keyed : p == white ? back : p;
        }
    }
    stamp.Transparent = s.transparent;
    stamp.TransparentColor = FromPixel(keyed);
    cv->Draw(ox, oy, &stamp);
}

void TPagesDlg::TakeDrawn() {
    if (PlacedSymbolCount > 0) Open->WgsDisplay = MainUi().Label38->Caption() == "WGS";
    ShowDrawn();
}

void TPagesDlg::ShowDrawn() {
    LabelColorHex->SetCaption(gui::Format("%08X", uint32_t(lastColor)));
    Label34->SetCaption(std::to_string(PlacedSymbolCount));
}

void TPagesDlg::DrawPlacedSymbols() {
    DrawPlacedSymbols(*MainUi().Image1->Canvas(), DrawnMapView());
    TakeDrawn();
}

void TPagesDlg::DrawPlacedSymbols(TCanvas& cv, const MapView& view) {
    MissingReported = false;
    caching = true;
    pictureCache.clear();
    symbolPictures.clear();
    for (int i = 0; i < PlacedSymbolCount; ++i) DrawSymbol(cv, view, PlacedSymbols[i]);
    caching = false;
    pictureCache.clear();
    symbolPictures.clear();
}

void TPagesDlg::CancelBtnClick(TObject* Sender) {
    if (PlacedSymbolCount > 0) PlacedSymbolCount--;
    RedrawMap();
    if (PlacedSymbolCount == 0) {
        CancelBtn->SetEnabled(false);
        Button2->SetEnabled(false);
    }
    Label34->SetCaption(std::to_string(PlacedSymbolCount));
}

void TPagesDlg::Button1Click(TObject* Sender) {
    SymbolsShown = !SymbolsShown;
    if (!SymbolsShown) {
        RedrawMap();
        Button1->SetCaption("表示");
        Button1->SetHint("記号を表示する");
    } else {
        DrawPlacedSymbols();
        Button1->SetCaption("非表示");
        Button1->SetHint("記号を表示しない");
    }
}

void TPagesDlg::Button2Click(TObject* Sender) {
    if (MessageBox("地図記号をすべてクリアしますか？　　　", "地図記号を描く", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    PlacedSymbolCount = 0;
    Label34->SetCaption("0");
    RedrawMap();
    EnableListButtons(false);
}

void TPagesDlg::Button6Click(TObject* Sender) {
    StampDisabled = !StampDisabled;
    if (!StampDisabled) {
        Button6->SetCaption("無効");
        Button6->SetHint("スタンプ機能を無効すにる");
        MainTools().ArmTool<StampTool>(*Open);
        SetMapCursor(CursorId);
        for (TLabel* l : StampLabels) l->SetCaption("有効"), l->SetFontColor(0xFF0000);
    } else {
        Button6->SetCaption("有効");
        Button6->SetHint("スタンプ機能を有効にする");
        SetMapCursor(crDefault);
        for (TLabel* l : StampLabels) l->SetCaption("無効"), l->SetFontColor(255);
        DropStamp();
    }
    Open->DistanceMode = 0;
}

void TPagesDlg::HelpBtnClick(TObject* Sender) {
    EndStamp();
    Close();
}

void TPagesDlg::EndStamp() {
    // The tool's end comes back here once it is no longer armed.
    if (MainTools().ToolAs<StampTool>()) return MainTools().EndActiveTool();
    CursorId = 0;
    SetMapCursor(crDefault);
}

void TPagesDlg::BtnIchiClick(TObject* Sender) {
    if (StampDisabled) {
        MessageBox("スタンプ機能は現在無効になっています．　　　　\n有効ボタンをクリックしてスタンプ機能を有効にしてください．　　　　",
                   "スタンプ機能", MB_OK | MB_ICONEXCLAMATION);
        DropStamp();
        return;
    }
    std::string lonText = Edit2->Text(), latText = Edit3->Text();
    const std::optional<float> lon = ParseDdmmss(lonText), lat = lon ? ParseDdmmss(latText) : std::nullopt;
    if (!lat) {
        TellDdmmssError();
        return;
    }
    TypedX = TruncToInt((*lon - 122) * 10000);
    TypedY = TruncToInt((*lat - 24) * 15000);
    // Typed as the pointer read-out shows it: in the datum the map is drawn in.
    // A reading of the survey's web map (WGS) is corrected by the box alone.
    if (CBGSICor->Checked()) TypedX += 30, TypedY -= 45;
    else DrawnMapView().TypedToData(TypedX, TypedY);
    MainTools().ArmTool<StampTool>(*Open).Typed = true;
    TShiftState st;
    st.Left = true;
    Open->Image1MouseDown(MainUi().Image1, mbLeft, st, 0, 0);
}

bool TPagesDlg::ParseSymbolLine(const std::string& line, PlacedSymbol& s) {
    std::vector<std::string> f;
    if (TMyStr::SplitFields(line, f) < 6) return false;
    int v[6];
    try {
        for (int i = 0; i < 6; ++i) v[i] = StrToInt(f[i]);
    } catch (const EConvertError&) {
        return false;
    }
    s = {v[0], v[1], v[2], v[3], v[4], uint8_t(v[5] != 0 ? 1 : 0)};
    return true;
}

bool TPagesDlg::ReadSymbolLines(const std::string& path, bool append) {
    gui::TextReader in;
    if (!in.Open(path)) {
        MessageBox(gui::Format("地図記号ファイル %s を読み込むことができません", path.c_str()), "ファイルオープンエラー",
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    std::string line;
    // The symbols are the symbol lines, wherever they stand: a count line ("%d,STAMP_CT")
    // is no symbol line and is passed over. A file with none (another kind
    // chosen by mistake) leaves the symbols as they were; only our own file of
    // no symbol ("0,STAMP_CT") empties them.
    bool emptyFile = false;
    std::vector<PlacedSymbol> read;
    PlacedSymbol s;
    std::vector<std::string> f;
    for (int lineNo = 1; in.ReadLine(line); ++lineNo) {
        if (!ParseSymbolLine(line, s)) {
            emptyFile = emptyFile || (TMyStr::SplitFields(line, f) >= 2 && f[0] == "0" && f[1] == "STAMP_CT");
            continue;
        }
        if (!InMapRange(s.x, s.y)) {
            MessageBox(gui::Format("地図記号ファイル %s の %d 行目の座標値が正しくありません", path.c_str(), lineNo),
                       "データエラー", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        read.push_back(s);
    }
    if (read.empty() && !emptyFile) {
        MessageBox(gui::Format("地図記号ファイル %s に地図記号のデータがありません", path.c_str()), "データエラー",
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!append) PlacedSymbolCount = 0;
    FullReported = false;
    for (const PlacedSymbol& r : read) {
        if (PlacedSymbolCount >= SYMBOL_MAX) {
            MessageBox(gui::Format("地図記号は %d 個までです．これ以上追加できません", SYMBOL_MAX), "地図記号を描く",
                       MB_OK | MB_ICONEXCLAMATION);
            break;
        }
        PlacedSymbols[PlacedSymbolCount++] = r;
    }
    return true;
}

void TPagesDlg::WriteSymbolLines(gui::TextWriter& w, bool countLine) const {
    const int n = std::clamp<int>(PlacedSymbolCount, 0, int(PlacedSymbols.size()));
    ::WriteSymbolLines(w, std::span(PlacedSymbols).first(size_t(n)), countLine);
}

void TPagesDlg::RestoreSymbols(const std::vector<PlacedSymbol>& symbols) {
    PlacedSymbols.resize(std::max(PlacedSymbols.size(), symbols.size()));
    std::copy(symbols.begin(), symbols.end(), PlacedSymbols.begin());
    PlacedSymbolCount = int(symbols.size());
}

bool TPagesDlg::WriteSymbols(const std::string& path, bool countLine) {
    bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        WriteSymbolLines(w, countLine);
        return !w.Failed();
    });
    if (!ok)
        MessageBox(gui::Format("地図記号ファイル %s を保存できませんでした", path.c_str()), "ファイル保存エラー",
                   MB_OK | MB_ICONEXCLAMATION);
    return ok;
}

void TPagesDlg::Button9Click(TObject* Sender) {
    if (!SaveDialog1->Execute()) return;
    Label41->SetCaption(gui::ExtractFileName(SaveDialog1->FileName));
    WriteSymbols(SaveDialog1->FileName, true);
}

void TPagesDlg::Button8Click(TObject* Sender) {
    if (!OpenDialog1->Execute()) return;
    SaveDialog1->FileName = OpenDialog1->FileName;
    Label41->SetCaption(gui::ExtractFileName(OpenDialog1->FileName));
    if (!ReadSymbolLines(OpenDialog1->FileName, false)) return;
    RedrawMap();
    EnableListButtons(true);
    Button6->SetEnabled(true);
}

void TPagesDlg::Button10Click(TObject* Sender) {
    if (PlacedSymbolCount == 0) {
        MessageBox("記号が描かれていないので，保存するデータはありません", "ファイル保存エラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!SaveDialog2->Execute()) return;
    std::string path = SaveDialog2->FileName;
    if (gui::ExtractFileExt(path).empty()) path += ".mks";
    WriteSymbols(path, false);
}

void TPagesDlg::Button11Click(TObject* Sender) {
    if (!OpenDialog2->Execute()) return;
    if (!ReadSymbolLines(OpenDialog2->FileName, CBMarkAdd->Checked())) return;
    RedrawMap();
    EnableListButtons(true);
    Button6->SetEnabled(true);
}

void TPagesDlg::DeleteCustomSymbols() {
    if (MessageBox("カスタム記号をすべて削除します．よろしいですか？　　　　", "カスタム記号",
                   MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    for (int c = 221; c <= 241; ++c) {
        const std::string p = gui::NativePath(MarkPath(std::to_string(c) + ".bmp"));
        if (gui::FileExists(p)) gui::DeleteFile(p);
    }
    FormCreate(this);
    // The size is 16 again: the menu and the palette say so too.
    N161Click(*Open, this);
}

namespace {
// The folder of a chosen file, without a trailing separator, compared as resolved paths.
std::string FolderOf(const std::string& file) {
    std::string d = gui::ExtractFilePath(gui::NativePath(file));
    while (d.size() > 1 && d.back() == '/') d.pop_back();
    return d;
}
bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::weakly_canonical(gui::NativePath(a), ec) == std::filesystem::weakly_canonical(gui::NativePath(b), ec);
}
} // namespace

void TPagesDlg::ImportCustomSymbols() {
    OpenDialog3->InitialDir = ExtraMarkConfig;
    if (!OpenDialog3->Execute()) return;
    const std::string folder = FolderOf(OpenDialog3->FileName);
    ExtraMarkDefault = ExtraMarkConfig = Open->ExtraMarkFolder = folder;
    if (SameFolder(folder, CustomFolder)) {
        MessageBox("コピーまたは保存するフォルダ名が同一です", "カスタム記号", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Edit1->SetText(folder);
    if (MessageBox(gui::Format("カスタム記号を %s からコピーします．　　　　　\n現在のカスタム記号はすべて変更されます．\nよろしいですか？",
                               folder.c_str()),
                   "カスタム記号", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    for (int c = 221; c <= 241; ++c) {
        const std::string from = gui::NativePath(folder + "/" + std::to_string(c) + ".bmp");
        if (gui::FileExists(from)) gui::CopyFileKeepTime(from, gui::NativePath(CustomFolder + "/" + std::to_string(c) + ".bmp"));
    }
    LoadPaletteImages();
    PageControl1->SetActivePageIndex(2);
}

void TPagesDlg::ExportCustomSymbols() {
    SaveDialog3->InitialDir = ExtraMarkConfig;
    if (!SaveDialog3->Execute()) return;
    const std::string folder = FolderOf(SaveDialog3->FileName);
    ExtraMarkDefault = ExtraMarkConfig = Open->ExtraMarkFolder = folder;
    Edit1->SetText(folder);
    if (SameFolder(folder, CustomFolder)) {
        MessageBox("コピーまたは保存するフォルダ名が同一です", "カスタム記号", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (MessageBox(gui::Format("現在のカスタム記号を %s フォルダに保存します．　　　　　\n同一記号番号のものは上書きされます\nよろしいですか？",
                               folder.c_str()),
                   "カスタム記号", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    for (int c = 221; c <= 241; ++c) {
        const std::string from = gui::NativePath(CustomFolder + "/" + std::to_string(c) + ".bmp");
        if (gui::FileExists(from)) gui::CopyFileKeepTime(from, gui::NativePath(folder + "/" + std::to_string(c) + ".bmp"));
    }
}

// The switch is off: no symbol waits for a press, but the symbol and its
// cursor stay chosen for when it is on again.
void TPagesDlg::DropStamp() {
    const uint16_t id = CursorId;
    EndStamp();
    CursorId = id;
}

bool TPagesDlg::Stamping() const { return MainTools().ToolAs<StampTool>() != nullptr; }
