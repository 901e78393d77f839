#include "names/Uoffice.h"
#include "gui/FormParts.h"
#include "components/Mystr.h"
#include "gui/TextFile.h"
#include "engine/Convert.h"
#include "engine/MapDocument.h"
#include "gui/Dialogs.h"
#include "names/NameFiles.h"
#include "names/Uofficecor.h"
#include "names/Uyomilist.h"

TOffice* Office = nullptr;

TOffice::TOffice() : TForm("市役所・町村役場/都道府県庁") {
    SetFormStyle(fsStayOnTop);
    const char* heads[9] = {"団体コード", "団体名", "ふりがな", "郵便番号", "所在地", "電話番号", "ホームページ", "メール", "施行日"};
    TLabel** values[9] = {&Label3, &Label4, &Label5, &Label6, &Label7, &Label8, &Label9, &Label10, &Label19};
    Label1 = new TLabel(this, "");
    Label1->SetBounds(8, 8, 300, 18);
    Label13 = new TLabel(this, "");
    Label13->SetBounds(8, 28, 300, 18);
    for (int i = 0; i < 9; ++i) {
        auto* h = new TLabel(this, heads[i]);
        h->SetBounds(8, 52 + i * 22, 90, 18);
        *values[i] = new TLabel(this, "");
        (*values[i])->SetBounds(104, 52 + i * 22, 360, 18);
    }
    Label9->SetFontColor(clBlue);
    Label10->SetFontColor(clBlue);
    auto btn = [this](const std::string& s, int x, int y) { return gui::Btn(this, s, x, y, 80); };
    Button2 = btn("修正", 8, 256);
    Button3 = btn("追加", 94, 256);
    Button4 = btn("削除", 180, 256);
    Button1 = btn("閉じる", 380, 256);
    // Maintenance of a whole file; not offered to the user.
    Button5 = btn("選択抽出", 8, 290);
    Button6 = btn("結　合", 94, 290);
    Button7 = btn("合併施行日", 180, 290);
    for (TButton* b : {Button5, Button6, Button7}) b->SetVisible(false);
    Button2->SetEnabled(false);
    Button4->SetEnabled(false);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    Button5->OnClick = [this](TObject* s) { Button5Click(s); };
    Button6->OnClick = [this](TObject* s) { Button6Click(s); };
    Button7->OnClick = [this](TObject* s) { Button7Click(s); };
    Label9->OnClick = [this](TObject* s) { Label9Click(s); };
    Label10->OnClick = [this](TObject* s) { Label10Click(s); };
    SetClientSize(472, 292);
}

std::string TOffice::OfficeFilePath(int code) {
    return gui::Format("%s/Mapdata/Office/%02d%s役所.csv", MainDoc().AppDir.c_str(), code,
                       code >= 0 && code < 60 ? MainDoc().AreaName[code].c_str() : "");
}

void TOffice::ShowRow(const std::vector<std::string>& f, const std::string& path, int index, const std::string& bytes) {
    auto field = [&](size_t i) { return i < f.size() ? f[i] : std::string(); };
    Label3->SetCaption(gui::Format("%06d", LenientInt(field(0))));
    TLabel* labels[8] = {Label4, Label5, Label6, Label7, Label8, Label9, Label10, Label19};
    for (int i = 0; i < 8; ++i) labels[i]->SetCaption(field(i + 1));
    Label13->SetCaption(field(1));
    RowFile = path;
    RowLine = index;
    RowBytes = bytes;
    Show();
    Button2->SetEnabled(true);
    Button4->SetEnabled(true);
}

void TOffice::ShowNotFound(const std::string& name) {
    for (TLabel* l : {Label3, Label5, Label6, Label7, Label8, Label9, Label10, Label19}) l->SetCaption("");
    Label4->SetCaption(name);
    Label13->SetCaption(name + "見つかりませんでした");
    RowLine = -1;
    RowBytes.clear();
    // No row to correct or delete; one can be added.
    Button2->SetEnabled(false);
    Button4->SetEnabled(false);
    Show();
}

bool TOffice::ShowRows(const std::vector<std::string>& files, const std::string& name) {
    bool shown = false;
    std::vector<std::string> lines, f;
    for (const std::string& path : files) {
        if (!names::ReadRawLines(path, lines)) continue;
        for (int i = 0; i < int(lines.size()); ++i) {
            if (TMyStr::SplitCsv(gui::Cp932ToUtf8(lines[i]), f) < 2 || f[1] != name) continue;
            if (shown && Application->MessageBox("該当するものがほかにもあります\n\n次を表示しますか？", "重複検出",
                                                 MB_YESNO | MB_ICONQUESTION) != IDYES)
                return true;
            ShowRow(f, path, i, lines[i]);
            shown = true;
        }
    }
    if (!shown) {
        // A row added now goes to the first file looked in.
        RowFile = files.empty() ? std::string() : files.front();
        ShowNotFound(name);
    }
    return shown;
}

bool TOffice::ShowFileRow(const std::string& path, int index) {
    std::vector<std::string> lines, f;
    if (!names::ReadRawLines(path, lines) || index < 0 || index >= int(lines.size())) return false;
    TMyStr::SplitCsv(gui::Cp932ToUtf8(lines[index]), f);
    ShowRow(f, path, index, lines[index]);
    return true;
}

int TOffice::FindShownRow(const std::vector<std::string>& lines) const {
    if (RowLine < 0) return -1;
    if (RowLine < int(lines.size()) && lines[RowLine] == RowBytes) return RowLine;
    // Lines before it came or went since it was shown.
    auto it = std::find(lines.begin(), lines.end(), RowBytes);
    return it == lines.end() ? -1 : int(it - lines.begin());
}

void TOffice::Button1Click(TObject*) { Close(); }

namespace {

bool OneArea(const char* message) {
    if (MainDoc().SELECT == 1) return true;
    Application->MessageBox(message, "重複ファイル", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

// Reads the office file, builds the new lines and puts them in its place.
template <class Build>
bool RewriteOffice(const std::string& path, Build build) {
    std::vector<std::string> lines, out;
    bool ok = names::ReadRawLines(path, lines);
    if (ok) {
        if (!build(lines, out)) return false;
        ok = names::WriteRawLines(path, out);
    }
    if (!ok) names::ReportWriteFailure(path, "市町村情報");
    return ok;
}

std::string JoinFields(const std::vector<std::string>& f, size_t from, size_t count) {
    std::string s;
    for (size_t i = from; i < from + count; ++i) {
        if (i > from) s += ",";
        if (i < f.size()) s += f[i];
    }
    return s;
}

} // namespace

void TOffice::Button2Click(TObject* Sender) {
    if (!OneArea("複数の都道府県にまたがっており、データを修正できません")) return;
    if (RowLine < 0) return;
    TLabel* shown[9] = {Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label10, Label19};
    for (int i = 0; i < 9; ++i) OfficeCor->EditOf(i + 1)->SetText(shown[i]->Caption());
    // The file the row came from: the prefectural file for a prefectural office.
    OfficeCor->Label4->SetCaption(RowFile);
    OfficeCor->Edit2->SetEnabled(false);
    OfficeCor->ShowModal();
}

void TOffice::Button3Click(TObject* Sender) {
    if (!OneArea("複数の都道府県にまたがっており、データを追加できません")) return;
    const char* init[9] = {"000000", "", "", "000-0000", "", "000-000-0000", "http://www.", "", ""};
    for (int i = 0; i < 9; ++i) OfficeCor->EditOf(i + 1)->SetText(init[i]);
    OfficeCor->Edit2->SetText(Label4->Caption());
    OfficeCor->Label4->SetCaption(RowFile.empty() ? OfficeFilePath(MainDoc().SelectCode[0]) : RowFile);
    OfficeCor->Edit2->SetEnabled(true);
    OfficeCor->ShowModal();
}

void TOffice::Button4Click(TObject* Sender) {
    if (!OneArea("複数の都道府県にまたがっており、データを削除できません")) return;
    if (RowLine < 0) return;
    if (Application->MessageBox("このデータを削除しますか？　　　　　", "市町村情報削除", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    // Only the row on show goes, even where another row has its code and telephone.
    bool read = false, found = false;
    const bool ok = RewriteOffice(RowFile, [&](const std::vector<std::string>& in, std::vector<std::string>& out) {
        read = true;
        const int at = FindShownRow(in);
        if (at < 0) return false;
        found = true;
        out = in;
        out.erase(out.begin() + at);
        return true;
    });
    if (read && !found) names::ReportRowGone(RowFile, "市町村情報削除");
    if (!ok) return;
    ShowNotFound(Label4->Caption());
    Label13->SetCaption(Label4->Caption() + " を削除しました");
    Application->MessageBox(gui::Format("%s の %s のデータを削除しました　　　　", RowFile.c_str(), Label4->Caption().c_str()),
                            "市町村情報削除", MB_OK);
}

void TOffice::Label9Click(TObject* Sender) {
    const std::string url = Label9->Caption();
    const bool web = url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
    if (!web || ShellOpen(url) <= 32)
        Application->MessageBox("インターネットエクスプローラの起動に失敗しました　　　　", "ホームページ呼び出しエラー",
                                MB_OK | MB_ICONEXCLAMATION);
}

void TOffice::Label10Click(TObject* Sender) { ShellOpen("mailto:" + Label10->Caption()); }

void TOffice::Button5Click(TObject* Sender) {
    if (!OneArea("複数の都道府県にまたがっており、データを抽出できません")) return;
    if (Application->MessageBox("必要な市町村情報のみを抽出しますか？　　　　　", "市町村情報抽出",
                                MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    TStringGrid* g = YomiList->StringGrid1;
    RewriteOffice(OfficeFilePath(MainDoc().SelectCode[0]), [&](const std::vector<std::string>& in, std::vector<std::string>& out) {
        std::vector<std::vector<std::string>> held;
        std::vector<std::string> f;
        for (size_t i = 4; i < in.size(); ++i) {
            TMyStr::SplitFields(in[i], f);
            held.push_back(f);
        }
        for (int r = 0; r < g->RowCount(); ++r) {
            const std::string name = gui::Utf8ToCp932(g->Cells(3, r));
            for (const auto& h : held)
                if (h.size() > 1 && h[1].find(name) != std::string::npos) out.push_back(JoinFields(h, 0, 8));
        }
        return true;
    });
}

void TOffice::Button6Click(TObject* Sender) {
    if (!OneArea("複数の都道府県にまたがっており、処理できません")) return;
    const int code = MainDoc().SelectCode[0];
    const std::string join = gui::Format("%s/Tovel/%02d.txt", MainDoc().AppDir.c_str(), code);
    std::vector<std::string> source;
    if (!names::ReadRawLines(join, source)) {
        Application->MessageBox(gui::Format("%s が見つかりません　　　", join.c_str()), "市町村情報",
                                MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    RewriteOffice(OfficeFilePath(code), [&](const std::vector<std::string>& in, std::vector<std::string>& out) {
        std::vector<std::vector<std::string>> held;
        std::vector<std::string> f;
        for (const std::string& l : in) {
            if (l.size() < 20 || l.size() > 200 || TMyStr::SplitFields(l, f) < 6) continue;
            held.push_back(f);
        }
        for (size_t i = 1; i < source.size(); ++i) {
            TMyStr::SplitFields(source[i], f);
            if (f.size() < 3) continue;
            f.resize(std::max<size_t>(f.size(), 7));
            for (const auto& h : held)
                if (h[1] == f[2]) out.push_back(JoinFields(h, 0, 6) + "," + f[5] + "," + f[6]);
        }
        return true;
    });
}

void TOffice::Button7Click(TObject* Sender) {
    if (!OneArea("複数の都道府県にまたがっており、処理できません")) return;
    if (Application->MessageBox("合併施行日を情報ファイルに記入しますか？　　　　　", "合併施行日記入",
                                MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    const std::string dates = MainDoc().AppDir + "/合併日付.txt";
    std::vector<std::string> lines;
    if (!names::ReadRawLines(dates, lines)) {
        Application->MessageBox(gui::Format("%s が見つかりません　　　", dates.c_str()), "合併施行日記入",
                                MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    std::vector<std::string> f;
    for (size_t i = 1; i < lines.size(); ++i) {
        TMyStr::SplitCsv(lines[i], f);
        f.resize(std::max<size_t>(f.size(), 5));
        pairs.emplace_back(f[0], f[4]);
    }
    RewriteOffice(OfficeFilePath(MainDoc().SelectCode[0]), [&](const std::vector<std::string>& in, std::vector<std::string>& out) {
        std::vector<std::string> g;
        for (const std::string& l : in) {
            TMyStr::SplitCsv(l, g);
            // The office code carries a check digit the date list leaves off.
            const std::string code = g.empty() || g[0].empty() ? std::string() : g[0].substr(0, g[0].size() - 1);
            std::string date;
            for (const auto& p : pairs)
                if (p.first == code) {
                    date = p.second;
                    break;
                }
            out.push_back(JoinFields(g, 0, 8) + "," + date);
        }
        return true;
    });
}
