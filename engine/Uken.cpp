#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "engine/Uprocess.h"
#include "gui/TextFile.h"
#include <algorithm>
#include <optional>

TKen* Ken = nullptr;

namespace {

struct AreaEntry {
    int code;
    TCheckBox* TKen::*box;
    const char* caption;
};

// In area-code order, so that reading the boxes gives an ascending selection.
const AreaEntry kAreas[52] = {
    {1, &TKen::CheckBox12, "青森"},      {2, &TKen::CheckBox13, "岩手"},      {3, &TKen::CheckBox14, "宮城"},
    {4, &TKen::CheckBox15, "秋田"},      {5, &TKen::CheckBox16, "山形"},      {6, &TKen::CheckBox17, "福島"},
    {7, &TKen::CheckBox24, "茨城"},      {8, &TKen::CheckBox19, "栃木"},      {9, &TKen::CheckBox18, "群馬"},
    {10, &TKen::CheckBox20, "埼玉"},     {11, &TKen::CheckBox21, "千葉"},     {12, &TKen::CheckBox22, "東京"},
    {13, &TKen::CheckBox23, "神奈川"},   {14, &TKen::CheckBox25, "山梨"},     {15, &TKen::CheckBox26, "長野"},
    {16, &TKen::CheckBox27, "新潟"},     {17, &TKen::CheckBox28, "岐阜"},     {18, &TKen::CheckBox29, "静岡"},
    {19, &TKen::CheckBox30, "愛知"},     {20, &TKen::CheckBox53, "富山"},     {21, &TKen::CheckBox54, "石川"},
    {22, &TKen::CheckBox55, "福井"},     {23, &TKen::CheckBox31, "三重"},     {24, &TKen::CheckBox32, "滋賀"},
    {25, &TKen::CheckBox33, "京都"},     {26, &TKen::CheckBox34, "大阪"},     {27, &TKen::CheckBox35, "奈良"},
    {28, &TKen::CheckBox56, "和歌山"},   {29, &TKen::CheckBox36, "兵庫"},     {30, &TKen::CheckBox37, "岡山"},
    {31, &TKen::CheckBox38, "広島"},     {32, &TKen::CheckBox39, "鳥取"},     {33, &TKen::CheckBox40, "島根"},
    {34, &TKen::CheckBox41, "山口"},     {35, &TKen::CheckBox42, "香川"},     {36, &TKen::CheckBox43, "愛媛"},
    {37, &TKen::CheckBox44, "徳島"},     {38, &TKen::CheckBox45, "高知"},     {39, &TKen::CheckBox46, "福岡"},
    {40, &TKen::CheckBox47, "佐賀"},     {41, &TKen::CheckBox48, "長崎"},     {42, &TKen::CheckBox49, "熊本"},
    {43, &TKen::CheckBox50, "大分"},     {44, &TKen::CheckBox51, "宮崎"},     {45, &TKen::CheckBox52, "鹿児島"},
    {46, &TKen::CheckBox4, "沖縄"},      {47, &TKen::CheckBox57, "南部"},     {48, &TKen::CheckBox58, "東部"},
    {49, &TKen::CheckBox59, "北部"},     {50, &TKen::CheckBox60, "伊豆諸島"}, {51, &TKen::CheckBox61, "小笠原諸島"},
    {52, &TKen::CheckBox62, "北方四島"},
};

struct RegionEntry {
    TCheckBox* TKen::*box;
    const char* caption;
    std::vector<int> codes;
};

const RegionEntry kRegions[10] = {
    {&TKen::CheckBox1, "北海道", {47, 48, 49, 52}},
    {&TKen::CheckBox2, "東北", {1, 2, 3, 4, 5, 6}},
    {&TKen::CheckBox3, "関東", {7, 8, 9, 10, 11, 12, 13}},
    {&TKen::CheckBox5, "甲信越", {14, 15, 16}},
    {&TKen::CheckBox6, "東海", {17, 18, 19, 23}},
    {&TKen::CheckBox7, "北陸", {20, 21, 22}},
    {&TKen::CheckBox8, "近畿", {24, 25, 26, 27, 28, 29}},
    {&TKen::CheckBox9, "中国", {30, 31, 32, 33, 34}},
    {&TKen::CheckBox10, "四国", {35, 36, 37, 38}},
    {&TKen::CheckBox11, "九州", {39, 40, 41, 42, 43, 44, 45, 46}},
};

// Where the window shows each group: the column, the region (or none for the
// island groups of Tokyo) and its boxes from the top.
struct Column {
    int x;
    std::vector<int> items;   // region index + 100, or an area code
};
const Column kLayout[] = {
    {8, {100, 47, 48, 49, 52, 0, 101, 1, 2, 3, 4, 5, 6}},
    {124, {102, 7, 8, 9, 10, 11, 12, 13, 50, 51, 0, 103, 14, 15, 16}},
    {240, {104, 17, 18, 19, 23, 0, 105, 20, 21, 22}},
    {356, {106, 24, 25, 26, 27, 28, 29}},
    {472, {107, 30, 31, 32, 33, 34, 0, 108, 35, 36, 37, 38}},
    {588, {109, 39, 40, 41, 42, 43, 44, 45, 46}},
};

} // namespace

TKen::TKen() : TForm("都道府県指定") {
    for (const AreaEntry& a : kAreas) {
        TCheckBox* c = new TCheckBox(this, a.caption);
        this->*a.box = c;
        areaBoxes[a.code] = c;
    }
    for (const RegionEntry& r : kRegions) {
        TCheckBox* c = new TCheckBox(this, r.caption);
        c->SetFontBold(true);
        c->OnClick = [this](TObject* s) { RegionClick(s); };
        this->*r.box = c;
        regions.push_back({c, r.codes});
    }
    for (const Column& col : kLayout) {
        int y = 8;
        for (int item : col.items) {
            if (item == 0) {
                y += 10;
                continue;
            }
            if (item >= 100) regions[item - 100].box->SetBounds(col.x, y, 110, 20);
            else areaBoxes[item]->SetBounds(col.x + 14, y, 100, 20);
            y += 22;
        }
    }

    const int yb = 352;
    Button1 = new TButton(this, "決　定");
    Button1->SetBounds(8, yb, 100, 28);
    Button1->SetDefault(true);
    Button3 = new TButton(this, "クリア");
    Button3->SetBounds(116, yb, 80, 28);
    Button4 = new TButton(this, "すべて");
    Button4->SetBounds(204, yb, 80, 28);
    Button2 = new TButton(this, "閉じる");
    Button2->SetBounds(292, yb, 80, 28);
    Button5 = new TButton(this, "山島検索");
    Button5->SetBounds(380, yb, 90, 28);
    CBNameList = new TCheckBox(this, "市町村名リスト");
    CBNameList->SetBounds(8, yb + 36, 130, 20);
    CBOldBorder = new TCheckBox(this, "旧市町村界");
    CBOldBorder->SetBounds(146, yb + 36, 110, 20);
    CBRailShow = new TCheckBox(this, "鉄道路線図");
    CBRailShow->SetBounds(264, yb + 36, 110, 20);
    Label4 = new TLabel(this, "");
    Label4->SetBounds(384, yb + 38, 200, 18);
    Label5 = new TLabel(this, "行政区界：2010年版");
    Label5->SetBounds(384, yb + 56, 200, 18);
    Label6 = new TLabel(this, "世界測地系");
    Label6->SetBounds(592, yb + 38, 96, 18);

    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    CBNameList->OnClick = [this](TObject* s) { CBNameListClick(s); };
    CBRailShow->OnClick = [this](TObject* s) { CBRailShowClick(s); };

    SetClientSize(708, yb + 80);
}

void TKen::FormCreate(TObject* Sender) {
    const int v = Open ? MainDoc().BoundaryDate : 0;
    // No map file gave a date: nothing to show.
    if (v <= 0) return;
    const DataDate d = UnpackDataDate(v);
    Label4->SetCaption(gui::Format("データ最終更新日 %d/%02d/%02d", d.year, d.month, d.day));
}

TCheckBox* TKen::AreaBox(int code) const { return code >= 1 && code <= 52 ? areaBoxes[code] : nullptr; }

void TKen::RegionClick(TObject* Sender) {
    for (const Region& r : regions) {
        if (r.box != Sender) continue;
        for (int code : r.codes) areaBoxes[code]->SetChecked(r.box->Checked());
    }
}

std::vector<int> TKen::TickedAreas() const {
    std::vector<int> codes;
    for (int code = 1; code <= 52; code++)
        if (areaBoxes[code]->Checked()) codes.push_back(code);
    return codes;
}

bool TKen::AgreeToAreas(const std::vector<int>& codes) {
    const bool same = MainDoc().SELECT == int(codes.size()) && std::equal(codes.begin(), codes.end(), MainDoc().SelectCode);
    // The same areas again are a reload: every position is in map units, so all work stays.
    if (same) return true;
    if (HooksOf(*Open).AreaChange.AnyWork() &&
        Application->MessageBox("ペイント・ラベル・地図線などの作業内容は消去されます。よろしいですか", "都道府県指定",
                                MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return false;
    HooksOf(*Open).AreaChange.Run(AreaStep::Discard);
    agreed = codes;
    return true;
}

void TKen::Button1Click(TObject* Sender) { Choose(Sender, false); }

bool TKen::Choose(TObject* Sender, bool callerDraws) {
    const std::vector<int> codes = TickedAreas();
    if (codes.empty()) {
        Application->MessageBox("描くべき都道府県が指定されておりません", "都道府県設定エラー", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    // Asked once: a caller that asked before it changed anything is not asked again.
    if (codes != agreed && !AgreeToAreas(codes)) return false;
    agreed.clear();

    std::optional<RedrawOnce> once(std::in_place);   // the new areas drawn once
    Open->ResetViewState();
    std::copy(codes.begin(), codes.end(), MainDoc().SelectCode);
    MainDoc().SELECT = int(codes.size());
    MainGate().DataReady = false;
    MainUi().CBTownName->SetChecked(false);
    Close();
    Open->repaint();

    if (MainDoc().SELECT > 20) {
        Process->Label1->SetCaption("地図を描く準備をしています");
        Process->Show();
        Process->repaint();
    }

    MainGate().ProjectLoading = false;
    Process->Hide();
    MainUi().Image1->repaint();
    MainGate().DataReady = false;
    Open->Button3Click(Open);

    // A caller that draws once itself keeps the redraw locked.
    MainGate().DataReady = !callerDraws;
    HooksOf(*Open).AreaChange.Run(AreaStep::Chosen);
    MainUi().CBTownPaint->SetChecked(false);
    MainUi().CBNTownBorder->SetChecked(CBOldBorder->Checked());

    HooksOf(*Open).AreaChange.Run(AreaStep::Rails);
    HooksOf(*Open).AreaChange.Run(AreaStep::RailsLoaded);
    if (!MainUi().CBRailLine->Checked()) RedrawMap();

    // Once more, so that its handler runs for the new areas.
    if (MainUi().CBEki->Checked()) {
        MainUi().CBEki->SetChecked(false);
        MainUi().CBEki->SetChecked(true);
    }

    MainGate().MapShown = true;
    MainUi().Button1->SetEnabled(true);
    MainUi().Label35->Hide();
    MainUi().CBTownPaint->SetChecked(false);
    HooksOf(*Open).AreaChange.Run(AreaStep::Changing);
    HooksOf(*Open).AreaChange.Run(AreaStep::Done);
    MainUi().Label19->SetCaption("");

    NameListArea = MainDoc().SelectCode[0];
    NameListMode = 1;
    if (CBRailShow->Checked()) MainUi().CBRailLine->SetChecked(true);
    once.reset();
    Open->RunMapChangeHooks();

    Open->RailSetCount = 0;
    HooksOf(*Open).AreaChange.Run(AreaStep::Drawn);
    return true;
}

void TKen::Button2Click(TObject* Sender) { Close(); }

void TKen::Button3Click(TObject* Sender) {
    for (const Region& r : regions) {
        if (r.box->Checked()) {
            r.box->SetChecked(false);
        } else {
            for (int code : r.codes) areaBoxes[code]->SetChecked(false);
        }
    }
    areaBoxes[50]->SetChecked(false);
    areaBoxes[51]->SetChecked(false);
}

void TKen::Button4Click(TObject* Sender) {
    for (const Region& r : regions) {
        // A region already ticked runs no handler; its members are ticked here.
        if (r.box->Checked()) {
            for (int code : r.codes) areaBoxes[code]->SetChecked(true);
        } else {
            r.box->SetChecked(true);
        }
    }
    areaBoxes[50]->SetChecked(true);
    areaBoxes[51]->SetChecked(true);
    MainUi().CBTownBorder->SetChecked(false);
}



void TKen::CBNameListClick(TObject* Sender) {
    int count = 0, code = 0;
    for (int c = 1; c <= 52; c++) {
        if (areaBoxes[c]->Checked()) {
            count++;
            code = c;
        }
    }
    if (count != 1) {
        Application->MessageBox("市区町村名リストを表示するには，都道府県を1個（1個に限る）選択しなければなりません　　　",
                                "県選択数エラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    NameListArea = code;
    // Kept the old map: no list of the new one.
    if (!Choose(this, false)) return;
    NameListMode = 1;
    MainUi().CBYomi->SetChecked(true);
    if (NameListShown) NameListShown();
}

void TKen::CBRailShowClick(TObject* Sender) { MainUi().CBRailLine->SetChecked(CBRailShow->Checked()); }
