#include "navigation/Usettei.h"

TSettei* Settei = nullptr;

namespace {

struct Grid {
    QWidget* parent;
    TCheckBox* check(const std::string& caption, int x, int y, int w, bool on = false, const std::string& hint = "") {
        auto* c = new TCheckBox(parent, caption);
        c->SetBounds(x, y, w, 20);
        if (on) c->SetChecked(true);
        if (!hint.empty()) c->SetHint(hint);
        return c;
    }
    TButton* button(const std::string& caption, int x, int y, int w, const std::string& hint = "") {
        auto* b = new TButton(parent, caption);
        b->SetBounds(x, y, w, 24);
        if (!hint.empty()) b->SetHint(hint);
        return b;
    }
    TImage* swatch(int x, int y) {
        auto* i = new TImage(parent);
        i->SetBounds(x, y, 20, 20);
        i->SetImageSize(20, 20);
        return i;
    }
    TUpDown* updown(TEdit*& edit, int x, int y, int min, int max, int pos) {
        edit = new TEdit(parent, std::to_string(pos));
        edit->SetBounds(x, y, 30, 22);
        edit->SetReadOnly(true);
        auto* u = new TUpDown(parent);
        u->SetBounds(x + 32, y, 34, 22);
        u->Min = min;
        u->Max = max;
        u->SetPosition(pos);
        u->SetAssociate(edit);
        return u;
    }
    TLabel* label(const std::string& caption, int x, int y, int w) {
        auto* l = new TLabel(parent, caption);
        l->SetBounds(x, y, w, 18);
        return l;
    }
};

} // namespace

TSettei::TSettei() : TForm("　地図表示設定") {
    Grid g{Client()};
    // Column headings.
    g.label("色", 150, 4, 30);
    g.label("点線", 184, 4, 40);
    g.label("太さ", 230, 4, 40);

    int y = 24;
    CBCoast = g.check("海岸線", 8, y, 72, true);
    CBColor = g.check("同色", 76, y, 48, false, "海岸線の色に揃える");
    Button2 = g.button("...", 124, y, 24);
    Image1 = g.swatch(150, y + 2);
    UpDown1 = g.updown(Edit1, 230, y, 1, 3, 1);
    y += 26;
    CheckBox3 = g.check("都府県界", 8, y, 110, true);
    Button3 = g.button("...", 124, y, 24);
    Image2 = g.swatch(150, y + 2);
    CBPrefDot = g.check("", 190, y, 24);
    UpDown2 = g.updown(Edit2, 230, y, 1, 3, 1);
    y += 26;
    CBHokkaido = g.check("北海道支庁界", 24, y, 120, true);
    y += 26;
    CheckBox4 = g.check("市町村界", 8, y, 110, true);
    Button4 = g.button("...", 124, y, 24);
    Image3 = g.swatch(150, y + 2);
    CBTownDot = g.check("", 190, y, 24);
    UpDown3 = g.updown(Edit3, 230, y, 1, 3, 1);
    y += 26;
    g.label("A", 24, y + 2, 12);
    CheckBox15 = g.check("", 36, y, 24, false, "旧市町村界も同色");
    g.label("B", 64, y + 2, 12);
    CheckBox1 = g.check("", 76, y, 24, false, "背景色と同色");
    y += 26;
    CheckBox11 = g.check("旧市町村界", 8, y, 110);
    Button16 = g.button("...", 124, y, 24);
    Image10 = g.swatch(150, y + 2);
    CBNTownDot = g.check("", 190, y, 24, true);
    y += 26;
    CheckBox14 = g.check("湖水境界", 8, y, 110);
    CBLakeDot = g.check("", 190, y, 24, true);
    y += 26;
    CBKu = g.check("政令都市区界", 8, y, 116, true);
    Button12 = g.button("...", 124, y, 24);
    Image9 = g.swatch(150, y + 2);
    CBKuDot = g.check("", 190, y, 24, true);
    y += 26;
    CBWaku = g.check("地図枠", 8, y, 110);
    Button11 = g.button("...", 124, y, 24);
    Image8 = g.swatch(150, y + 2);
    UpDown5 = g.updown(Edit5, 230, y, 1, 3, 2);
    y += 30;

    // Names.
    CheckBox5 = g.check("市町村名", 8, y, 90);
    CBDoubleName = g.check("重複可", 100, y, 80, false, "市町村名の重複を許す");
    CBDoubleName->SetEnabled(false);
    CheckBox16 = g.check("読み", 184, y, 60);
    y += 26;
    CBCityName = g.check("市名", 8, y, 70);
    CBKuName = g.check("区名", 80, y, 70, true);
    CheckBox12 = g.check("旧市町村名", 150, y, 110);
    CheckBox12->SetEnabled(false);
    y += 26;
    g.label("ﾌｫﾝﾄｻｲｽﾞ", 8, y + 2, 70);
    UpDown4 = g.updown(Edit4, 80, y, 4, 50, 8);
    Button5 = g.button("...", 150, y, 24);
    Image4 = g.swatch(176, y + 2);
    y += 26;
    CBFixedSize = g.check("ﾌｫﾝﾄｻｲｽﾞ固定", 8, y, 130, true, "画面サイズによらず");
    CBWhite = g.check("白抜き", 150, y, 80, false, "文字背景を白抜きに");
    y += 26;
    g.label("背景", 8, y + 2, 40);
    Button7 = g.button("...", 50, y, 24);
    Image5 = g.swatch(76, y + 2);
    g.label("白", 104, y + 2, 16);
    CheckBox13 = g.check("", 120, y, 24, false, "背景色白");
    y += 30;

    // Second column.
    int x2 = 320, y2 = 24;
    CBIslands = g.check("島名", x2, y2, 70);
    Button17 = g.button("...", x2 + 72, y2, 24);
    Image11 = g.swatch(x2 + 98, y2 + 2);
    y2 += 26;
    CBMountain = g.check("山名", x2, y2, 70);
    Button18 = g.button("...", x2 + 72, y2, 24);
    Image12 = g.swatch(x2 + 98, y2 + 2);
    CBMtHeight = g.check("高さ", x2 + 124, y2, 56);
    CBMtYomi = g.check("読み", x2 + 182, y2, 56);
    CBMtHeight->SetEnabled(false);
    CBMtYomi->SetEnabled(false);
    y2 += 26;
    CBMesh = g.check("メッシュ", x2, y2, 90);
    CBMeshName = g.check("地図名", x2 + 92, y2, 80);
    CBMeshName2 = g.check("細分名", x2 + 174, y2, 80);
    y2 += 26;
    CheckBox6 = g.check("経緯線(１度)", x2, y2, 120);
    Button9 = g.button("...", x2 + 124, y2, 24);
    Image6 = g.swatch(x2 + 150, y2 + 2);
    y2 += 26;
    CheckBox7 = g.check("経緯線(10分)", x2, y2, 120);
    Button10 = g.button("...", x2 + 124, y2, 24);
    Image7 = g.swatch(x2 + 150, y2 + 2);
    CBFunDot = g.check("点線", x2 + 176, y2, 60, false, "10分を点線で");
    y2 += 26;
    CheckBox8 = g.check("経緯度", x2, y2, 90);
    CheckBox9 = g.check("1度おき", x2 + 92, y2, 90);
    CheckBox10 = g.check("尺度", x2 + 184, y2, 60);
    y2 += 26;
    CheckBox2 = g.check("都府県名", x2, y2, 100, true, "左下隅の都府県名");
    CBKenName = g.check("都道府県名", x2 + 102, y2, 100);
    CBKenOffice = g.check("県庁所在地", x2 + 204, y2, 100);
    y2 += 26;
    CBOffice = g.check("市町村役場", x2, y2, 110);
    CBOfficeName = g.check("名称表示", x2 + 112, y2, 90, true);
    y2 += 26;
    CBRail = g.check("鉄道路線", x2, y2, 90);
    CBStation = g.check("駅名", x2 + 92, y2, 60);
    CBMainEki = g.check("主要駅", x2 + 154, y2, 70);
    y2 += 26;
    CBRailExp = g.check("地図線設定", x2, y2, 110, false, "路線の色・サイズ変更");
    CBWatch = g.check("ウオッちず", x2 + 112, y2, 100, false, "国土地理院地図閲覧サービスへ接続");
    y2 += 26;
    g.label("ソフトカラー", x2, y2 + 2, 90);
    CBSoft = g.check("", x2 + 92, y2, 24, false, "ソフトな色調");
    Button6 = g.button("標準", x2 + 124, y2, 60, "色・サイズを標準に戻す");
    y2 += 30;

    RadioGroup1 = new TRadioGroup(Client(), "縮小率");
    RadioGroup1->SetItems({"× 1", "×1/2", "×1/3", "×1/4", "×1/5"});
    RadioGroup1->SetItemIndex(0);
    RadioGroup1->SetBounds(x2, y2, 80, 130);
    RadioGroup2 = new TRadioGroup(Client(), "画像ｻｲｽﾞ");
    RadioGroup2->SetItems({" 600", "1200", "1800"});
    RadioGroup2->SetItemIndex(0);
    RadioGroup2->SetBounds(x2 + 84, y2, 80, 90);
    RadioGroup3 = new TRadioGroup(Client(), "拡大係数");
    RadioGroup3->SetItems({"×1", "×0.5", "×0.2", "×0.1"});
    RadioGroup3->SetItemIndex(0);
    RadioGroup3->SetBounds(x2 + 168, y2, 80, 110);
    RadioGroup4 = new TRadioGroup(Client(), "移動係数");
    RadioGroup4->SetItems({"× 2", "× 1", "×0.5"});
    RadioGroup4->SetItemIndex(1);
    RadioGroup4->SetBounds(x2 + 252, y2, 80, 90);
    g.label("画像ｻｲｽﾞ変更以外", x2 + 84, y2 + 96, 160);
    g.label("は決定ﾎﾞﾀﾝで反映", x2 + 84, y2 + 114, 160);
    y2 += 140;

    Label24 = g.label("GSI ウオッちず", x2, y2, 120);
    Label24->SetHint("国土地理院地図閲覧サービスのページへ");
    y2 += 24;

    int yb = std::max(y, y2) + 4;
    Button14 = g.button("距離円", 8, yb, 80, "距離円（同心円）を描く");
    Button13 = g.button("市町名位置編集", 92, yb, 120, "市区町村名/島名の表示位置編集");
    Button13->SetEnabled(false);
    Button15 = g.button("文字特性", 216, yb, 80, "都道府県名文字特性一括設定");
    Button19 = g.button("山島検索", 300, yb, 80);
    Button20 = g.button("市町村名", 384, yb, 80);
    Button8 = g.button("決　定", 480, yb, 80);
    Button1 = g.button("閉じる", 564, yb, 80);
    yb += 32;
    g.label("このｳｲﾝﾄﾞｳは地図右ｸﾘｯｸでも開くことができます", 8, yb, 400);
    SetClientSize(660, yb + 24);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetFixedSize(true);
}
