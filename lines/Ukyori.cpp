// Distance circles: true great-circle rings around a centre, drawn on the map.
#include "lines/Ukyori.h"
#include "gui/FormParts.h"
#include "engine/Convert.h"
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "lines/MainFormLines.h"
#include "lines/LineTools.h"
#include "gui/TextFile.h"
#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

TKyori* Kyori = nullptr;

using namespace gui;

namespace {

constexpr int kRadii[5] = {10, 20, 50, 100, 200};

} // namespace


TKyori::TKyori() : TForm("　距離円（同心円）") {
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    QWidget* c = Client();
    Label6 = Lbl(c, "距離円の中心を指定してください", 8, 8, 300);
    Button1 = Btn(c, "中心指定", 8, 30, 80, "距離円の中心を指定する");
    CBCenter = Check(c, "指定", 96, 33, 56, false, "中心を経緯度で指定");
    EdLon = new TEdit(c, "ddd.mmss");
    EdLon->SetBounds(156, 30, 70, 24);
    EdLon->SetHint("ddd.mmssを設定");
    EdLon->setAccessibleName("中心経度");
    EdLat = new TEdit(c, " dd.mmss");
    EdLat->SetBounds(230, 30, 70, 24);
    EdLat->SetHint("ddd.mmssを設定");
    EdLat->setAccessibleName("中心緯度");
    CBGSICorCircle = Check(c, "", 156, 58, 20, false, "ウォッちず読み取り補正");
    Lbl(c, "GSI", 178, 58, 30);
    Lbl(c, "補正", 210, 58, 40);
    Label1 = Lbl(c, "", 8, 62, 70);
    Label2 = Lbl(c, "", 80, 62, 70);
    Label7 = Lbl(c, "", 8, 82, 140);
    Label8 = Lbl(c, "", 156, 82, 140);

    RadioGroup1 = new TRadioGroup(c, "半径/間隔");
    RadioGroup1->SetItems({" 10km", " 20km", " 50km", "100km", "200km", "指定"});
    RadioGroup1->SetItemIndex(1);
    RadioGroup1->SetColumns(2);
    RadioGroup1->SetBounds(8, 104, 160, 100);
    Lbl(c, "指定半径", 176, 110, 60);
    Edit3 = new TEdit(c, "25");
    Edit3->SetBounds(176, 130, 50, 24);
    Lbl(c, "km", 230, 134, 20);
    CheckBox1 = Check(c, "同心円", 8, 212, 80, false, "同心円を描く");
    CheckBox2 = Check(c, "中心表示", 92, 212, 90, true);
    CheckBox3 = Check(c, "距離表示", 186, 212, 90, true);
    CheckBox5 = Check(c, "固定", 186, 236, 60, true, "画像サイズに対して");
    Lbl(c, "線太さ", 8, 240, 50);
    UpDown1 = Spin(c, Edit1, 60, 236, 1, 5, 1);
    Lbl(c, "文字ｻｲｽﾞ", 8, 268, 60);
    UpDown2 = Spin(c, Edit2, 70, 264, 6, 50, 8);
    Image1 = Swatch(c, 186, 264, 24);
    Button3 = Btn(c, "...", 214, 264, 28);
    CheckBox6 = Check(c, "追加円", 8, 296, 80, false, "距離円を追加する");
    CheckBox4 = Check(c, "距離円表示", 92, 296, 100, true, "距離円表示/非表示選択");
    Lbl(c, "円の数", 196, 298, 50);
    Label12 = Lbl(c, "0", 250, 298, 40);
    Button4 = Btn(c, "円削除", 8, 322, 80, "距離円を削除する");
    Button2 = Btn(c, " 閉じる", 220, 322, 80);
    ColorDialog1 = new TColorDialog(this);
    SetClientSize(310, 356);
    for (QWidget* w : std::initializer_list<QWidget*>{RadioGroup1, Edit3, CheckBox1, CheckBox2, CheckBox3, UpDown1,
                                                      Edit1, UpDown2, Edit2, Button3, CheckBox6})
        w->setEnabled(false);

    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
    UpDown1->OnClick = [this](TObject* s, TUDBtnType b) { UpDown1Click(s, b); };
    UpDown2->OnClick = [this](TObject* s, TUDBtnType b) { UpDown2Click(s, b); };
    CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
    CheckBox2->OnClick = [this](TObject* s) { CheckBox2Click(s); };
    CheckBox3->OnClick = [this](TObject* s) { CheckBox3Click(s); };
    CheckBox4->OnClick = [this](TObject* s) { CheckBox4Click(s); };
    CheckBox5->OnClick = [this](TObject* s) { CheckBox5Click(s); };
    CheckBox6->OnClick = [this](TObject* s) { CheckBox6Click(s); };
    CBCenter->OnClick = [this](TObject* s) { CBCenterClick(s); };
}

void TKyori::FormCreate(TObject*) {
    CircleCentreSet = false;
    CircleColor = 255;
    CircleCount = 0;
    FillSwatch(Image1, CircleColor);
}

// A typed radius must be a whole number of km: a ring of 0 km has no size,
// and rings 0 km apart would never leave the image.
int32_t TKyori::ChosenRadius(const char* pointMessage) {
    const int item = RadioGroup1->ItemIndex();
    if (item >= 0 && item < 5) return kRadii[item];
    const std::string text = Edit3->Text();
    if (HasDot(text)) {
        MessageBox(pointMessage, "半径エラー", MB_OK);
        return 0;
    }
    const int32_t r = TryStrToInt(text).value_or(0);
    if (r < 1 || r > kMaxRadiusKm) {
        MessageBox(gui::Format("半径は1～%dkmの整数で指定してください", kMaxRadiusKm), "半径エラー", MB_OK);
        return 0;
    }
    return r;
}

bool TKyori::AddCircle(int32_t cx, int32_t cy) {
    const bool adding = CheckBox6->Checked();
    if (adding && CircleCount >= CIRCLE_MAX) {
        MessageBox(gui::Format("距離円は %d 個まで設定できます", CIRCLE_MAX), "距離円", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const int32_t radius = ChosenRadius("半径は整数でのみ指定できます");
    if (radius == 0) return false;
    // Not adding, the new circle is the only one, whatever the count was.
    const int index = adding ? CircleCount : 0;
    kyorien& k = Circles[index];
    k.cx = cx;
    k.cy = cy;
    k.radius = radius;
    k.textSize = UpDown2->Position();
    k.width = UpDown1->Position();
    k.color = int32_t(CircleColor);
    k.concentric = CheckBox1->Checked();
    k.showCentre = CheckBox2->Checked();
    k.showDistance = CheckBox3->Checked();
    k.fixedSize = CheckBox5->Checked();
    CircleCount = index + 1;
    Label12->SetCaption(std::to_string(CircleCount));
    return true;
}

void TKyori::EnableAttributeControls() {
    for (QWidget* w : std::initializer_list<QWidget*>{RadioGroup1, Edit3, CheckBox1, CheckBox2, CheckBox3, CheckBox4,
                                                      UpDown1, UpDown2, Button3, Edit1, Edit2, CheckBox6})
        w->setEnabled(true);
}

// The circles stay until the new one is made: that one replaces them while not adding.
void TKyori::Button1Click(TObject*) {
    if (!CBCenter->Checked()) {
        Label6->SetCaption("距離円の中心を指定してください");
        MainTools().SetTool(std::make_unique<CircleCentreTool>(*Open));
        CircleCentreSet = false;
        return;
    }
    std::string lonText = EdLon->Text(), latText = EdLat->Text();
    const std::optional<float> lon = ParseDdmmss(lonText), lat = lon ? ParseDdmmss(latText) : std::nullopt;
    if (!lat) {
        TellDdmmssError();
        return;
    }
    int32_t x = int32_t(std::lround((*lon - 122) * 10000.0)), y = int32_t(std::lround((*lat - 24) * 15000.0));
    // Typed as the pointer read-out shows it: in the datum the map is drawn in.
    // A reading of the survey's web map (WGS) is corrected by the box alone.
    if (CBGSICorCircle->Checked()) {
        x += 30;
        y -= 45;
    } else {
        DrawnMapView().TypedToData(x, y);
    }
    Label1->SetCaption(std::to_string(x));
    Label2->SetCaption(std::to_string(y));
    if (!AddCircle(x, y)) return;
    RedrawMap();
    EnableAttributeControls();
}

void TKyori::SetLast(void (*apply)(kyorien&, TKyori*)) {
    if (CheckBox6->Checked() || CircleCount <= 0) return;
    apply(Circles[CircleCount - 1], this);
    RedrawMap();
}

void TKyori::RadioGroup1Click(TObject*) {
    if (CheckBox6->Checked() || CircleCount <= 0) return;
    const int32_t r = ChosenRadius("半径は整数でしか与えられません");
    if (r == 0) return;
    Circles[CircleCount - 1].radius = r;
    RedrawMap();
}

void TKyori::Button3Click(TObject*) {
    ColorDialog1->Color = CircleColor;
    if (!ColorDialog1->Execute()) return;
    CircleColor = ColorDialog1->Color;
    FillSwatch(Image1, CircleColor);
    SetLast([](kyorien& k, TKyori* f) { k.color = int32_t(f->CircleColor); });
}

void TKyori::UpDown1Click(TObject*, TUDBtnType) {
    SetLast([](kyorien& k, TKyori* f) { k.width = f->UpDown1->Position(); });
}

void TKyori::UpDown2Click(TObject*, TUDBtnType) {
    SetLast([](kyorien& k, TKyori* f) { k.textSize = f->UpDown2->Position(); });
}

void TKyori::CheckBox1Click(TObject*) {
    SetLast([](kyorien& k, TKyori* f) { k.concentric = f->CheckBox1->Checked(); });
}

void TKyori::CheckBox2Click(TObject*) {
    SetLast([](kyorien& k, TKyori* f) { k.showCentre = f->CheckBox2->Checked(); });
}

void TKyori::CheckBox3Click(TObject*) {
    SetLast([](kyorien& k, TKyori* f) { k.showDistance = f->CheckBox3->Checked(); });
}

void TKyori::CheckBox5Click(TObject*) {
    SetLast([](kyorien& k, TKyori* f) { k.fixedSize = f->CheckBox5->Checked(); });
}

void TKyori::CheckBox4Click(TObject*) { RedrawMap(); }

void TKyori::RestoreCircles(const std::vector<kyorien>& circles) {
    CircleCount = int(std::min<size_t>(circles.size(), CIRCLE_MAX));
    std::copy(circles.begin(), circles.begin() + CircleCount, Circles);
    Label12->SetCaption(std::to_string(CircleCount));
    if (CircleCount > 0) CheckBox6->SetChecked(true);
}

void TKyori::CheckBox6Click(TObject*) {
    if (CheckBox6->Checked()) Label6->SetCaption("中心指定ボタンをクリックしてください");
}

void TKyori::CBCenterClick(TObject*) {
    Label6->SetCaption(CBCenter->Checked() ? "中心経緯度設定モード" : "中心マウス設定モード");
}

void TKyori::Button4Click(TObject*) {
    if (CircleCount <= 0) {
        MessageBox("距離円は設定されておりません", "距離円", MB_OK);
        return;
    }
    if (MessageBox("設定された距離円データを削除してもよろしいですか?     ", "距離円", MB_OKCANCEL | MB_ICONQUESTION) !=
        IDOK)
        return;
    CircleCount = 0;
    Label12->SetCaption("0");
    Label6->SetCaption("距離円を削除しました");
    RedrawMap();
}

void TKyori::EndCentreMode() {
    // The tool's end comes back here once it is no longer armed.
    if (MainTools().ToolAs<CircleCentreTool>()) return MainTools().EndActiveTool();
    Label6->SetCaption("");
}

void TKyori::Button2Click(TObject*) {
    MainTools().FinishTool<CircleCentreTool>();
    CircleCentreSet = false;
    for (QWidget* w : std::initializer_list<QWidget*>{RadioGroup1, CheckBox1, CheckBox2, CheckBox3, UpDown1, UpDown2,
                                                      Button3, Edit1, Edit2})
        w->setEnabled(false);
    CheckBox4->SetChecked(true);
    CheckBox4->SetEnabled(false);
    RedrawMap();
    Close();
}

// ---- On the main form ----

namespace {

// The 101 directions of a ring, worked out once.
struct RingAngles {
    double c[101], s[101];
    RingAngles() {
        for (int i = 0; i <= 100; i++) {
            const double ang = i * 2 * 3.14159265358979323846 / 100;
            c[i] = std::cos(ang);
            s[i] = std::sin(ang);
        }
    }
};
const RingAngles& Angles() {
    static const RingAngles a;
    return a;
}

// The centre's side of every distance taken once per circle, not per vertex.
struct RingCentre {
    int32_t cx, cy;
    SpherePoint at;
    RingCentre(int32_t cx, int32_t cy)
        : cx(cx), cy(cy), at(OnSphere(float(cy / 15000.0 + 24), float(cx / 10000.0 + 122))) {}
    void Vertex(int32_t d, int i, int32_t& x, int32_t& y) const {
        const double R = std::round(d * 100.0);
        const double c = Angles().c[i], s = Angles().s[i];
        const int32_t px = int32_t(std::lround(cx + R * c)), py = int32_t(std::lround(cy + R * s));
        const float km = GreatCircleKm(at, OnSphere(float(py / 15000.0 + 24), float(px / 10000.0 + 122)));
        const double R2 = km > 0 ? std::round(R * d / km) : R;
        x = int32_t(std::lround(cx + R2 * c));
        y = int32_t(std::lround(cy + R2 * s));
    }
};

// 8 M words (32 MB): every ring of 250 circles at 20 km spacing on the
// whole-country map; beyond that rings are worked out at each use.
constexpr size_t kRingWordsMax = size_t(8) << 20;
constexpr size_t kRingWords = 2 * 101;

} // namespace

const int32_t* RingCache::Ring(int n, const kyorien& k, int ring) {
    if (size_t(n) >= circles_.size()) circles_.resize(size_t(n) + 1);
    Circle& c = circles_[size_t(n)];
    if (c.cx != k.cx || c.cy != k.cy || c.radius != k.radius) {
        words_ -= c.xy.size();
        c.xy.clear();
        c.cx = k.cx, c.cy = k.cy, c.radius = k.radius;
    }
    const size_t at = size_t(ring) * kRingWords;
    if (at + kRingWords <= c.xy.size()) return &c.xy[at];
    int32_t* out;
    if (at == c.xy.size() && words_ + kRingWords <= kRingWordsMax) {
        c.xy.resize(at + kRingWords);
        words_ += kRingWords;
        out = &c.xy[at];
    } else {
        scratch_.resize(kRingWords);
        out = scratch_.data();
    }
    const RingCentre centre(k.cx, k.cy);
    const int32_t d = k.radius * (ring + 1);
    for (int i = 0; i <= 100; i++) centre.Vertex(d, i, out[2 * i], out[2 * i + 1]);
    return out;
}

void RingVertex(int32_t cx, int32_t cy, int32_t d, int i, int32_t& x, int32_t& y) {
    RingCentre(cx, cy).Vertex(d, i, x, y);
}

void DrawDistanceCircles(TOpen& o) {
    DrawDistanceCircles(o, *UiOf(o).Image1->Canvas(), o.DrawnView);
    Kyori->Label6->SetCaption(Kyori->CheckBox6->Checked() ? "距離円を追加しました" : "距離円を描きました");
}

void DrawDistanceCircles(TOpen& o, TCanvas& canvas, const MapView& view) {
    TCanvas* cv = &canvas;
    const int size = view.size;
    const double s = size / 600.0;
    std::vector<TPoint> ring(101);
    std::vector<TPointF> exact(cv->Vector ? 101 : 0);   // a vector device keeps the ring round
    for (int n = 0; n < Kyori->CircleCount && n < CIRCLE_MAX; n++) {
        const kyorien& k = Kyori->Circles[n];
        if (k.radius < 1) continue;   // a record from elsewhere with no size
        cv->Pen->Mode = pmCopy;
        cv->Pen->Style = psSolid;
        cv->Pen->Color = TColor(k.color);
        cv->Pen->Width = k.width;
        cv->Font->Color = TColor(k.color);
        cv->Font->Size = k.fixedSize ? k.textSize : int(std::lround(k.textSize * s));
        if (k.showCentre) {
            int X, Y;
            view.ToScreen(k.cx, k.cy, X, Y);
            const int a = int(std::lround(3 * s)), b = int(std::lround(4 * s));
            cv->MoveTo(X, Y - a);
            cv->LineTo(X, Y + b);
            cv->MoveTo(X - a, Y);
            cv->LineTo(X + b, Y);
        }
        int ringNo = 0;
        for (int32_t d = k.radius; d <= kMaxRadiusKm; d += k.radius, ringNo++) {
            bool visible = false;
            const int32_t* xy = Kyori->Rings.Ring(n, k, ringNo);
            int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
            for (int i = 0; i <= 100; i++) {
                int X, Y;
                view.ToScreen(xy[2 * i], xy[2 * i + 1], X, Y);
                if (X > 0 && X < size && Y >= 1 && Y < size) visible = true;
                ring[i] = TPoint(X, Y);
                if (!exact.empty()) view.ToScreenF(xy[2 * i], xy[2 * i + 1], exact[i].x, exact[i].y);
                left = std::min(left, X), right = std::max(right, X), top = std::min(top, Y), bottom = std::max(bottom, Y);
            }
            // A ring whose stroke cannot reach the image is not drawn: the
            // outer rings of a concentric circle mostly lie far beyond it.
            const int reach = std::max(1, k.width);
            const bool reaches = int64_t(right) + reach >= 0 && int64_t(bottom) + reach >= 0 &&
                                 int64_t(left) - reach < size && int64_t(top) - reach < size;
            if (k.showDistance) {
                cv->Brush->Style = bsSolid;
                cv->Brush->Color = o.PickTextBackground(canvas, ring[0].x + 2, ring[0].y);
                cv->TextOut(ring[0].x + 2, ring[0].y, gui::Format(" %.0fkm", double(d)));
            }
            // The ring in one stroke: the same segments as line by line, one image update.
            if (reaches) cv->Polyline(ring.data(), exact.empty() ? nullptr : exact.data(), int(ring.size()));
            if (!k.concentric || !visible) break;
        }
    }
}

void NCircleClick(TOpen& o, TObject*) {
    Kyori->Label6->SetCaption("距離円の中心を指定してください");
    ToolsOf(o).SetTool(std::make_unique<CircleCentreTool>(o));
    Kyori->CircleCentreSet = false;
    Kyori->Show();
}

void Button13Click(TOpen& o, TObject*) {
    const bool some = Kyori->CircleCount > 0;
    Kyori->CheckBox4->SetEnabled(some);
    Kyori->CheckBox6->SetEnabled(some);
    Kyori->Label12->SetCaption(std::to_string(some ? Kyori->CircleCount : 0));
    Kyori->Show();
    Kyori->Button1Click(Kyori->Button1);
}

// The read-out shows the displayed position of the pixel's centre; the circle
// keeps the Tokyo datum.
TForm* CircleCentreTool::Owner() const { return Kyori; }

bool CircleCentreTool::Press(const MapEvent& e) {
    int32_t x, y;
    e.view.CentreToMap(e.X, e.Y, x, y);
    Kyori->Label1->SetCaption(std::to_string(x));
    Kyori->Label2->SetCaption(std::to_string(y));
    o.PointerLon = LonOf(x);
    o.PointerLat = LatOf(y);
    Kyori->Label8->SetCaption(TOpen::FormatDms("緯度 ", LatOf(y)));
    Kyori->Label7->SetCaption(TOpen::FormatDms("経度 ", LonOf(x)));
    ToolsOf(o).FinishTool<CircleCentreTool>();
    Kyori->CircleCentreSet = true;
    Kyori->EnableAttributeControls();
    e.view.ToData(e.X, e.Y, x, y);
    if (!Kyori->AddCircle(x, y)) return false;
    if (Kyori->CheckBox6->Checked()) DrawDistanceCircles(o);
    else RedrawMap(o);
    return false;
}

// The pixel's centre: typed back, it lands on this pixel.
bool CircleCentreTool::Move(const MapEvent& e) {
    int32_t x, y;
    e.view.CentreToMap(e.X, e.Y, x, y);
    Kyori->Label1->SetCaption(std::to_string(x));
    Kyori->Label2->SetCaption(std::to_string(y));
    if (!Kyori->CBCenter->Checked()) {
        Kyori->EdLat->SetText(TOpen::FormatDms("", LatOf(y)));
        Kyori->EdLon->SetText(TOpen::FormatDms("", LonOf(x)));
    }
    const TOpen::MapPoint p = o.PointAt(e.X, e.Y);
    o.PointerLon = p.lon;
    o.PointerLat = p.lat;
    o.ShowPointerReadout(p.x, p.y);
    return true;
}

void CircleCentreTool::End() {
    if (!Finished) Kyori->EndCentreMode();
}

bool TKyori::CentreArmed() const { return MainTools().ToolAs<CircleCentreTool>() != nullptr; }
