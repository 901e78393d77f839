// TOpen: start-up, the configuration file, the start screen, exit and the
// menu items that open other windows.
#include "engine/Convert.h"
#include "engine/Coords.h"
#include "engine/Uabout.h"
#include "engine/Uhowto.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "gui/Files.h"
#include "gui/Forms.h"
#include "gui/TextFile.h"
#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QPixmap>
#include <algorithm>

namespace {

const char* const kAreaNames[53] = {
    "",       "青森",   "岩手",   "宮城",     "秋田",     "山形",     "福島",     "茨城",     "栃木",     "群馬",     "埼玉",
    "千葉",   "東京",   "神奈川", "山梨",     "長野",     "新潟",     "岐阜",     "静岡",     "愛知",     "富山",     "石川",
    "福井",   "三重",   "滋賀",   "京都",     "大阪",     "奈良",     "和歌山",   "兵庫",     "岡山",     "広島",     "鳥取",
    "島根",   "山口",   "香川",   "愛媛",     "徳島",     "高知",     "福岡",     "佐賀",     "長崎",     "熊本",     "大分",
    "宮崎",   "鹿児島", "沖縄",   "北海道南部", "北海道東部", "北海道北部", "伊豆諸島", "小笠原諸島", "北方四島",
};

const float kAreaSpanKm[53] = {
    0,     163.4, 200.6, 144.8, 193.0, 173.8, 175.8, 142.2, 112.5, 126.5, 113.1, 141.9, 93.3,  84.4,
    94.5,  215.9, 214.0, 156.9, 164.1, 113.4, 94.6,  210.7, 132.2, 182.7, 107.5, 126.5, 91.8,  108.7,
    112.1, 175.1, 124.3, 140.1, 132.5, 242.0, 167.3, 96.8,  167.3, 113.6, 180.6, 147.3, 80.1,  322.7,
    137.2, 125.9, 174.1, 623.4, 889.7, 346.6, 286.6, 370.0, 510.0, 1389.3, 294.1,
};

// The leading digit is the region number; the railway folders carry these names.
const char* const kRegionNames[10] = {"0北海道", "1東北", "2関東", "3東海", "4甲信越",
                                      "5北陸",   "6近畿", "7中国", "8四国", "9九州"};

const TColor kDefPaintColor[8] = {0xC0E474, 0xFFFF00, 0x00FF00, 0xFF6F6F, 0x00FFFF, 0x8080FF, 0xFF00FF, 0x1828EF};

struct Guidance {
    int x, y;
    const char* text;
};
const Guidance kGuidance[] = {
    {20, 55, "←　国土地理院地図閲覧"},
    {20, 75, "　　サービスへ接続"},
    {20, 225, "←　都道府県名一覧から選択して描くときはこちらです"},
    {70, 270, "範囲指定ボタンをクリックし，地図上でマウスをドラッグして"},
    {70, 310, "指定した範囲の拡大地図を描くことができます"},
    {20, 370, "←　鉄道路線図を描くときは，鉄道路線図にチェックを入れます"},
    {20, 430, "←　市区町村名から検索して描くときはこちらです"},
    {200, 40, "　　　マウスによる地図画像の操作"},
    {200, 65, "　　　 （600×600ピクセル以下）"},
    {200, 100, "ダブルクリック：　　      　中心設定"},
    {200, 125, "マウスホイール：     　 　地図範囲の拡大・縮小"},
    {200, 150, "Shift+マウスホイール：　地図範囲の上下移動"},
    {200, 175, "Ctrl + マウスホイール： 地図範囲の左右移動"},
};

// The pictures are drawn so that the pressed pixel is their top-left corner.
void RegisterCursors() {
    auto reg = [](TCursor n, const std::string& name) {
        QPixmap picture(QString::fromStdString(":/" + name));
        Screen()->RegisterCursor(n, QCursor(picture, 0, 0));
    };
    for (int i = 0; i <= 20; i++) reg(1 + i, "C" + std::to_string(100 + i));
    for (int i = 1; i <= 7; i++) reg(100 + i, "E" + std::to_string(100 + i));
    reg(200, "T200");
    reg(201, "T201");
    reg(301, "KYORI");
}

// The name the program was started by: a link of another name in the program
// folder is the program file there, whatever it points at.
std::string ProgramFileName() {
    const QStringList args = QCoreApplication::arguments();
    QString path = args.isEmpty() ? QString() : args.first();
    if (path.isEmpty()) path = QCoreApplication::applicationFilePath();
    return QFileInfo(path).fileName().toStdString();
}

// Dates as the area choice window keeps them: (year - 1980) * 10000 + month * 100 + day.
int PackedDate(const gui::FileDateParts& d) { return (d.year - 1980) * 10000 + d.month * 100 + d.day; }

void KeepNewest(const std::string& path, int& newest) {
    gui::FileDateParts d;
    if (gui::FileDate(path, d)) newest = std::max(newest, PackedDate(d));
}


} // namespace

void TOpen::WireStartupHandlers() {
    ui.Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    ui.Exit1->OnClick = [this](TObject* s) { Exit1Click(s); };
    ui.Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    ui.Button5->OnClick = [this](TObject* s) { Button5Click(s); };
    ui.Open1->OnClick = [this](TObject* s) { Open1Click(s); };
    ui.About1->OnClick = [this](TObject* s) { About1Click(s); };
    ui.Tutorial1->OnClick = [this](TObject* s) { Tutorial1Click(s); };
}

void TOpen::FormCreate(TObject* Sender) {
    RegisterCursors();

    ui.ScrollBox1->SetWidth(SIZEX + 16);
    ui.ScrollBox1->SetHeight(SizeY + 16);

    doc.AppDir = gui::CurrentDirectory();

    // The program folder must be the folder of the program file.
    const std::string self = ProgramFileName();
    gui::FileDateParts built;
    if (self.empty() || !gui::FileDate(self, built)) {
        if (!DataFolderOnly) {
            Application->MessageBox(gui::Format("実行ファイル %s が見つかりません          ", self.c_str()),
                                    "ファイルエラー", MB_OK | MB_ICONEXCLAMATION);
            Application->Terminate();
            return;
        }
    } else {
        ProgramDate = gui::Format("%d/%02d/%02d", built.year, built.month, built.day);
    }

    // Temporary files of a save that a run ended in the middle of.
    gui::RemoveStaleTempFiles(doc.AppDir + "/mapdata");
    gui::RemoveStaleTempFiles(doc.AppDir);

    TimeOrder = 1;
    config_read(doc.AppDir + "/mapdata/config.ini");

    // The start screen.
    TCanvas* canvas = ui.Image1->Canvas();
    ui.Image1->SetImageSize(1800, 1800);
    canvas->Brush->Color = style.BackColor;
    canvas->Brush->Style = bsSolid;
    canvas->FillRect(Rect(0, 0, 1800, 1800));
    ui.Image1->SetImageSize(600, 600);
    canvas->Font->Color = 0x008000;
    canvas->Font->Size = 12;
    for (const Guidance& g : kGuidance) canvas->TextOut(g.x, g.y, g.text);

    for (int i = 0; i < 60; i++) doc.AreaName[i] = i < 53 ? kAreaNames[i] : "";
    std::copy(std::begin(kAreaSpanKm), std::end(kAreaSpanKm), doc.AreaSpanKm);

    ui.RadioGroup1->SetEnabled(false);
    ui.RadioGroup2->SetEnabled(false);
    ui.Button4->SetEnabled(false);
    ui.Button8->SetEnabled(false);
    ui.BtnPrint->SetEnabled(false);

    std::fill(std::begin(doc.PrefFlag), std::end(doc.PrefFlag), 0);
    for (int code : {47, 48, 49, 52}) doc.PrefFlag[code] = 1;
    DistanceMode = 0;
    gate.MapShown = false;
    LonLatShown = false;
    LegendShown = false;
    ClipboardUsed = false;
    doc.WLinesAsBorder = true;

    std::copy(std::begin(kDefPaintColor), std::end(kDefPaintColor), style.PaintColor);
    std::copy(std::begin(kDefPaintColor), std::end(kDefPaintColor), style.DefPaintColor);
    style.LabelColor = 0x800000;
    style.scl_x1 = 350;
    style.scly1 = 550;
    std::fill(std::begin(style.PaintPattern), std::end(style.PaintPattern), 0);
    std::fill(std::begin(style.PaintSlotFlag), std::end(style.PaintSlotFlag), 0);
    SetteiShown = false;
    LetterShown = false;
    ui.Label15->SetCaption("");
    gate.ProjectLoading = false;
    ui.CBTownPaint->SetColor(style.TownPaintColor);

    LoadYomiList(doc.AppDir + "/mapdata/yomi.lst");

    const std::string history = doc.AppDir + "/mapdata/townlist.lst";
    if (gui::FileExists(history)) ui.ComboBox1->Items()->LoadFromFile(history, HISTORY_NAME_MAX);

    paint.paint_rep = 0;
    ui.Label15->SetCaption(DistanceText(0));
    ui.Label31->SetCaption(gui::Format("%8.2f km", 0.0));
    ui.Label28->SetCaption(gui::Format("%.1f km", 0.0));
    gate.DataReady = false;
    RouteDone = false;
    ui.TkBtn2->SetEnabled(false);
    ui.TkBtn2->Font.Color = 0x808080;
    ui.TkBtn2->Invalidate();
    ui.Label35->Hide();

    doc.AltYear = false;
    for (const auto& start : hooks.StartHooks) start();
    ShowBoundaryDataDate();
    LoadCityList();
    LoadExtraList();

    for (int i = 0; i < 10; i++) doc.RegionName[i] = kRegionNames[i];
    MainStations = false;
    ShowRailDataDate(10, doc.RegionName);

    Log.Open(doc.AppDir + "/RovanaLog.txt");

    WgsDisplay = true;
}

void TOpen::config_read(const std::string& path) {
    gui::TextReader in;
    if (!in.Open(path)) return;   // the defaults stay
    std::string line;
    std::vector<std::string> fields;
    for (int n = 1; n <= 24; n++) {
        if (!in.ReadLine(line)) break;
        TMyStr::SplitFields(line, fields);
        const std::string v = fields.empty() ? "" : fields[0];
        // Line 1 decides whether the other settings are applied.
        const bool apply = ui.N24->Checked();
        try {
            switch (n) {
            case 1: ui.N24->SetChecked(LenientInt(v) != 0); break;
            case 2: style.SameColor = LenientInt(v) != 0; break;
            case 3:
                if (!apply) break;
                TimeOrder = LenientInt(v);
                ui.NJikan->SetChecked(TimeOrder == 1);
                ui.NKanji->SetChecked(TimeOrder != 1);
                break;
            case 4:
                if (!apply) break;
                style.TownPaintColor = StrToInt(v);
                ui.CBTownPaint->SetColor(style.TownPaintColor);
                break;
            case 5: if (apply) style.TownFontColor = StrToInt(v); break;
            case 6: if (apply) style.IslandsColor = StrToInt(v); break;
            case 7: if (apply) style.MountainColor = StrToInt(v); break;
            case 8: if (apply) style.KanaFontColor = StrToInt(v); break;
            case 9: if (apply) style.SelectColor = StrToInt(v); break;
            case 10: break;   // the line editor's colour is never taken back
            case 11: ExtraMarkFolder = v; break;
            case 12: if (apply) style.DefPrefColor = LenientInt(v); break;
            case 13: if (apply) style.DefPrefSeatColor = LenientInt(v); break;
            // The sizes the style window allows (6 to 50); any other keeps the default.
            case 14: if (apply) style.DefPrefSize = InRangeOr(LenientInt(v), 6, 50, 10); break;
            case 15: if (apply) style.DefPrefSeatSize = InRangeOr(LenientInt(v), 6, 50, 8); break;
            case 16: if (apply) style.CoastColor = LenientInt(v); break;
            case 17: if (apply) style.PrefColor = LenientInt(v); break;
            case 18: if (apply) style.TownColor = LenientInt(v); break;
            case 19: if (apply) style.NTownColor = LenientInt(v); break;
            case 20: if (apply) style.BackColor = LenientInt(v); break;
            case 21: if (apply) style.WakuColor = LenientInt(v); break;
            case 22: if (apply) style.KuColor = LenientInt(v); break;
            case 23: if (apply) style.DoColor = LenientInt(v); break;
            case 24: if (apply) style.FunColor = LenientInt(v); break;
            }
        } catch (const EConvertError& e) {
            // Shown as the exception box would; the other lines still count.
            Application->ShowException(e);
        }
    }
}

void TOpen::config_write(const std::string& path) {
    WriteLog("config_writeの実行\n");
    WriteLog(gui::Format("configファイル名：%s\n", path.c_str()));
    bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        w.Printf("%d,終了時の設定保存\n", ui.N24->Checked() ? -1 : 0);
        w.Printf("%d,同一色\n", style.SameColor ? 1 : 0);
        w.Printf("%d,TimeOrder\n", TimeOrder);
        w.Printf("%d,TownPaintColor\n", style.TownPaintColor);
        w.Printf("%d,TownFontColor\n", style.TownFontColor);
        w.Printf("%d,IslandsColor\n", style.IslandsColor);
        w.Printf("%d,MountainColor\n", style.MountainColor);
        w.Printf("%d,KanaFontColor\n", style.KanaFontColor);
        w.Printf("%d,SelectColor\n", style.SelectColor);
        w.Printf("%d,clLetter\n", hooks.EditLineColour ? hooks.EditLineColour() : TColor(0));
        w.Printf("%s,//Extra Mark Folder\n", ExtraMarkFolder.c_str());
        w.Printf("%d,//DefPrefColor\n", style.DefPrefColor);
        w.Printf("%d,//DefPrefSeatColor\n", style.DefPrefSeatColor);
        w.Printf("%d,//DefPrefSize\n", style.DefPrefSize);
        w.Printf("%d,//DefPrefSeatSize\n", style.DefPrefSeatSize);
        w.Printf("%d,CoastColor\n", style.CoastColor);
        w.Printf("%d,PrefColor\n", style.PrefColor);
        w.Printf("%d,TownColor\n", style.TownColor);
        w.Printf("%d,NTownColor\n", style.NTownColor);
        w.Printf("%d,BackColor\n", style.BackColor);
        w.Printf("%d,WakuColor\n", style.WakuColor);
        w.Printf("%d,KuColor\n", style.KuColor);
        w.Printf("%d,DoColor\n", style.DoColor);
        w.Printf("%d,FunColor\n", style.FunColor);
        return !w.Failed();
    });
    if (!ok) {
        Application->MessageBox("構成ファイルを書き込めません　　　", "ファイル書き込みエラー　", MB_OK | MB_ICONEXCLAMATION);
        Log.Close();
        Application->Terminate();
    }
}

void TOpen::LoadYomiList(const std::string& path) {
    doc.YomiRecords.clear();
    doc.YomiCount = 0;
    gui::TextReader in;
    if (!in.Open(path)) {
        Application->MessageBox("読みがなデータファイル 'Yomi.lst' が 'MapData'フォルダの中にありません",
                                "ファイルオープンエラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::string line;
    std::vector<std::string> f;
    int badLine = 0;
    for (int lineNo = 1; int(doc.YomiRecords.size()) < YOMI_MAX && in.ReadLine(line); ++lineNo) {
        const int n = TMyStr::SplitFields(line, f);
        if (n == 0) continue;
        f.resize(4);
        const int32_t x = LenientInt(f[0]), y = LenientInt(f[1]);
        // A reading at a position no map has is left out.
        if (!InMapRange(x, y)) {
            if (!badLine) badLine = lineNo;
            continue;
        }
        doc.YomiRecords.push_back({x, y, f[2], f[3]});
    }
    doc.YomiCount = int32_t(doc.YomiRecords.size());
    if (badLine)
        Application->MessageBox(gui::Format("読みがなデータファイル %s の %d 行目の座標値が正しくありません",
                                            gui::ExtractFileName(path).c_str(), badLine),
                                "データエラー", MB_OK | MB_ICONEXCLAMATION);
}

// A notice of the start screen, moved left as far as it needs to end inside the picture.
void TOpen::StartNotice(int x, int y, const std::string& text) {
    TCanvas* c = ui.Image1->Canvas();
    c->TextOut(std::max(0, std::min(x, c->Width() - 8 - c->TextWidth(text))), y, text);
}

void TOpen::ShowBoundaryDataDate() {
    int newest = 0;
    for (int code = 1; code <= 52; code++) KeepNewest(gui::Format("%s/mapdata/%02d.map", doc.AppDir.c_str(), code), newest);
    doc.BoundaryDate = newest;
    // Without any map file there is no date to tell.
    if (newest <= 0) return;
    const DataDate d = UnpackDataDate(newest);
    StartNotice(143, 480, gui::Format("使用している行政区界データの最終更新日は %d/%02d/%02d です", d.year, d.month, d.day));
}

void TOpen::ShowRailDataDate(int count, const std::string* names) {
    int newest = 0;
    auto scan = [&](const std::string& folder, const char* wildcard) {
        for (const std::string& name : gui::ListFiles(folder, wildcard)) KeepNewest(folder + "/" + name, newest);
    };
    for (int i = 0; i < count; i++) {
        const std::string folder = doc.AppDir + "/鉄道路線/" + names[i];
        scan(folder, "*.adl");
        scan(folder, "*.lbl");
    }
    scan(doc.AppDir + "/鉄道路線/主要駅名", "*.lbl");
    if (newest <= 0) return;
    const DataDate d = UnpackDataDate(newest);
    StartNotice(160, 520, gui::Format("　　　　 　　鉄道路線データの最終更新日は %d/%02d/%02d です", d.year, d.month, d.day));
}

void TOpen::Button2Click(TObject* Sender) {
    for (auto& allowed : hooks.ExitChecks)
        if (!allowed()) return;
    if (Application->MessageBox("終了してよろしいですか？　　　", "白地図 Rovana の終了", MB_OKCANCEL | MB_ICONQUESTION) !=
        IDOK)
        return;
    if (ClipboardUsed &&
        Application->MessageBox("クリップボードにコピーされたデータを削除して終了しますか？　　　",
                                "クリップボードのデータ削除", MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
        Clipboard()->Clear();

    for (const char* f : {"/tkbtn.bmp", "/paint/tkbtn.bmp", "/label/tkbtn.bmp", "/explain/tkbtn.bmp",
                          "/rvxfile/tkbtn.bmp", "/mapdata/paintlist.lst"}) {
        if (gui::FileExists(doc.AppDir + f)) gui::DeleteFile(doc.AppDir + f);
    }
    // A history that cannot be written is told about; the exit goes on.
    const std::string history = doc.AppDir + "/mapdata/townlist.lst";
    if (!ui.ComboBox1->Items()->SaveToFile(history))
        Application->MessageBox(gui::Format("検索履歴ファイル %s を書き込めません　　　", history.c_str()),
                                "ファイル書き込みエラー　", MB_OK | MB_ICONEXCLAMATION);
    config_write(doc.AppDir + "/mapdata/config.ini");
    ExitAgreed = true;
    Close();
    Log.Close();
    for (const auto& end : hooks.ExitHooks) end();
}

void TOpen::Exit1Click(TObject* Sender) { Button2Click(Sender); }

void TOpen::FormCloseQuery(TObject* Sender, bool& CanClose) {
    if (ExitAgreed) return;
    // The exit closes the window itself once its questions are answered.
    CanClose = false;
    Button2Click(Sender);
}

void TOpen::Open1Click(TObject* Sender) { Ken->Show(); }

void TOpen::About1Click(TObject* Sender) { About->Show(); }

void TOpen::Tutorial1Click(TObject* Sender) { HowTo->Show(); }
