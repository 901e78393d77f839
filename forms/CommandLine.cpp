#include "forms/CommandLine.h"
#include "forms/AllForms.h"
#include "engine/Uopen.h"
#include "labels/Upagesdlg.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "gui/Forms.h"
#include "output/Updfpage.h"
#include "output/VectorWriters.h"
#include "paint/StatLayer.h"
#include "paint/Ustatmap.h"
#include <QDir>
#include <QtGlobal>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace output {

namespace {

// SaveFormat of an output name, 0 for one we do not write.
uint8_t FormatOfName(const std::string& name) {
    std::string ext = gui::ExtractFileExt(name);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == ".png") return 3;
    if (ext == ".jpg" || ext == ".jpeg") return 1;
    if (ext == ".bmp") return 2;
    if (ext == ".pdf") return 4;
    if (ext == ".svg") return 5;
    return 0;
}

// Relative names mean the folder the command was given in, not the program folder.
std::string Absolute(const std::string& path) {
    std::error_code ec;
    const auto p = std::filesystem::absolute(path, ec);
    return ec ? path : p.string();
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    while (!text.empty() && (text.back() == ' ')) text.pop_back();
    // The window texts pad with wide blanks for the message box.
    const std::string wide = "\xE3\x80\x80";
    while (text.size() >= wide.size() && text.compare(text.size() - wide.size(), wide.size(), wide) == 0)
        text.resize(text.size() - wide.size());
    return text;
}

namespace fs = std::filesystem;

// Symbolic links and case variants followed as far as the path exists.
fs::path Real(const std::string& path) {
    std::error_code ec;
    const fs::path p = fs::weakly_canonical(fs::path(gui::ResolvePath(Absolute(path))), ec);
    return ec ? fs::path(Absolute(path)).lexically_normal() : p;
}

bool Within(const fs::path& file, const fs::path& folder) {
    const fs::path rel = file.lexically_relative(folder);
    return !rel.empty() && *rel.begin() != ".." && rel != ".";
}

// The folders of a program folder that a drawing reads.
const char* const kDataFolders[] = {"MAPDATA", "mark", "鉄道路線"};

// Why the image may not be written where asked: it would replace what the
// drawing reads. Empty when it may.
std::string OverwriteRefusal(const RenderRequest& r) {
    const fs::path out = Real(r.out), project = Real(r.project);
    std::error_code ec;
    if (out == project || fs::equivalent(out, project, ec))
        return "画像ファイル " + r.out + " はプロジェクトファイルそのものです。別のファイルを指定してください";
    const std::string folder = r.programFolder.empty() ? "." : r.programFolder;
    const fs::path rel = out.lexically_relative(Real(folder));
    for (const char* name : kDataFolders) {
        // A folder linked from elsewhere, or named in another case, is the same folder here.
        const bool named = !rel.empty() && *rel.begin() != ".." &&
                           QString::fromStdString(rel.begin()->string()).compare(QString::fromUtf8(name), Qt::CaseInsensitive) == 0;
        if (named || Within(out, Real(folder + "/" + name)))
            return "画像ファイル " + r.out + " はデータのフォルダ " + name + " の中です。ほかのフォルダを指定してください";
    }
    return "";
}

// A folder to draw from holds the map data; the program file may be elsewhere.
std::string FolderRefusal(const std::string& folder) {
    if (!gui::DirectoryExists(folder)) return "プログラムフォルダ " + folder + " がありません";
    if (!gui::DirectoryExists(gui::ResolvePath(folder + "/MAPDATA")))
        return "プログラムフォルダ " + folder + " に地図データのフォルダ MAPDATA がありません";
    return "";
}

// The symbols and railways a restored project shows come from folders of their own.
std::string UsedDataRefusal(const std::string& folder) {
    auto missing = [&](const char* name) { return !gui::DirectoryExists(gui::ResolvePath(folder + "/" + name)); };
    for (const auto& [used, name] : {std::pair{PagesDlg->PlacedSymbolCount > 0, "mark"},
                                     std::pair{MainUi().CBRailLine->Checked(), "鉄道路線"}})
        if (used && missing(name))
            return "プログラムフォルダ " + folder + " にプロジェクトが使うフォルダ " + name + " がありません";
    return "";
}

void PrintLine(const std::string& line) {
    std::fputs((line + "\n").c_str(), stderr);
    std::fflush(stderr);
}

int ItemOfSize(const TRadioGroup* group, int size) {
    for (int k = 0; k < group->Count(); ++k)
        if (QString::fromStdString(group->Item(k)).trimmed().toInt() == size) return k;
    return -1;
}

// The column of the statistics table whose heading is name, or -1.
int ColumnOfHeading(const TStatMap& s, const std::string& name) {
    const auto row = size_t(std::max(0, s.Spec.headingRow));
    const QString wanted = QString::fromStdString(name).trimmed();
    for (size_t col = 0; row < s.Table.rows.size() && col < s.Table.Width(); ++col)
        if (QString::fromStdString(s.Table.Cell(row, col)).trimmed() == wanted) return int(col);
    return -1;
}

} // namespace

std::string ColumnOutName(const std::string& out, const std::string& column) {
    std::string safe;
    const size_t first = column.find_first_not_of(' '), last = column.find_last_not_of(' ');
    for (unsigned char c : first == std::string::npos ? std::string() : column.substr(first, last - first + 1))
        safe += c < 0x20 || c == 0x7F || std::string_view("/\\:*?\"<>|").find(char(c)) != std::string_view::npos ? '_' : char(c);
    // A heading as long as a paragraph still makes a name the file system takes.
    if (safe.size() > 120) {
        size_t cut = 120;
        while (cut > 0 && (static_cast<unsigned char>(safe[cut]) & 0xC0) == 0x80) --cut;
        safe.resize(cut);
    }
    if (safe.empty()) safe = "_";
    const std::string ext = gui::ExtractFileExt(out);
    return out.substr(0, out.size() - ext.size()) + "_" + safe + ext;
}

std::string UsageText() {
    return "使い方: rovana [--render PROJECT.rvx --out FILE.(png|jpg|bmp|pdf|svg) [--size N] [--program-folder DIR]\n"
           "               [--paper A4|A3|A5|B4|B5|Letter|map] [--landscape|--portrait] [--dpi N]\n"
           "               [--column NAME ...]]\n"
           "  引数なし            地図ウィンドウを開きます\n"
           "  --render PROJECT    プロジェクトファイルの地図を、ウィンドウを出さずに描きます\n"
           "  --out FILE          画像ファイル（拡張子 .png .jpg .bmp .pdf .svg で形式を選びます）\n"
           "  --size N            画像サイズ（600, 1200, 1800, 2400, 3000, 3600）。省略するとプロジェクトのサイズ\n"
           "  --paper NAME        PDF・SVGの用紙（省略するとプロジェクトのレイアウトの用紙、なければ A4）。\n"
           "                      地図は用紙に合わせるか、レイアウトの縮尺で置き、表題・凡例・縮尺記号・出典もレイアウトのとおり。\n"
           "                      map は地図だけを地図の大きさの用紙に置きます\n"
           "  --landscape         用紙を横にします（--portrait で縦。省略するとレイアウトのとおり）\n"
           "  --dpi N             用紙 map での地図の解像度（省略すると 600 ピクセルあたり 100 dpi）\n"
           "  --column NAME       統計地図の値の列を見出し NAME の列にして描きます（何度でも指定でき、列ごとに一つの画像）。\n"
           "                      画像ファイルの名前は拡張子の前に _NAME を入れたもの（両端の空白は除き、\\ / : * ? \" < > | と制御文字は _）。\n"
           "                      分類を固定したプロジェクトは区切りと配色をそのままに、ほかは列ごとに分類し直します\n"
           "  --program-folder DIR  地図データ（MAPDATA）のあるフォルダ（省略すると現在のフォルダ）\n"
           "  --help              この説明を表示します\n"
           "  --version           版を表示します\n"
           "終了コード: 0 成功, 1 プロジェクトまたは画像の失敗, 2 引数の誤り\n";
}

void QuietToolkitMessages() {
    // Stderr is for the one line a script reads; the toolkit's own notes would mix in.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg) std::fputs((text.toStdString() + "\n").c_str(), stderr);
    });
}

std::string VersionText() { return "Rovana9.3\n"; }

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine c;
    if (args.empty()) return c;
    auto fail = [&](const std::string& why) {
        c.kind = CommandLine::Error;
        c.error = why;
        return c;
    };
    bool render = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            c.kind = CommandLine::Help;
            return c;
        }
        if (a == "--version") {
            c.kind = CommandLine::Version;
            return c;
        }
        if (a == "--landscape" || a == "--portrait") {
            (a == "--landscape" ? c.render.landscape : c.render.portrait) = true;
            if (c.render.landscape && c.render.portrait) return fail("--landscape と --portrait は一緒に使えません");
            continue;
        }
        const bool takesValue = a == "--render" || a == "--out" || a == "--size" || a == "--program-folder" ||
                                a == "--paper" || a == "--dpi" || a == "--column";
        if (!takesValue) return fail("引数 " + a + " は使えません");
        if (i + 1 >= args.size() || args[i + 1].empty()) return fail("引数 " + a + " の値がありません");
        const std::string& v = args[++i];
        if (a == "--render") {
            render = true;
            c.render.project = v;
        } else if (a == "--out") {
            c.render.out = v;
        } else if (a == "--column") {
            c.render.columns.push_back(v);
        } else if (a == "--program-folder") {
            c.render.programFolder = v;
        } else if (a == "--paper") {
            if (PaperIndex(v) < 0) return fail("用紙 " + v + " は選べません");
            c.render.paper = v;
        } else if (a == "--dpi") {
            bool ok = false;
            const int n = QString::fromStdString(v).toInt(&ok);
            if (!ok || n < 50 || n > 1200) return fail("解像度 " + v + " は 50 から 1200 の数にしてください");
            c.render.dpi = n;
        } else {
            bool ok = false;
            const int n = QString::fromStdString(v).toInt(&ok);
            if (!ok || n <= 0) return fail("画像サイズ " + v + " は数ではありません");
            c.render.size = n;
        }
    }
    if (!render) return fail("--render でプロジェクトファイルを指定してください");
    if (c.render.out.empty()) return fail("--out で画像ファイルを指定してください");
    if (!FormatOfName(c.render.out))
        return fail("画像ファイル " + c.render.out + " の拡張子は .png .jpg .bmp .pdf .svg のどれかにしてください");
    if (const std::string why = OverwriteRefusal(c.render); !why.empty()) return fail(why);
    for (size_t k = 0; k < c.render.columns.size(); ++k) {
        RenderRequest one = c.render;
        one.out = ColumnOutName(c.render.out, c.render.columns[k]);
        if (const std::string why = OverwriteRefusal(one); !why.empty()) return fail(why);
        // Two columns into one file: the second would silently replace the first.
        for (size_t j = 0; j < k; ++j)
            if (ColumnOutName(c.render.out, c.render.columns[j]) == one.out)
                return fail("列 " + c.render.columns[j] + " と " + c.render.columns[k] + " は同じ画像ファイル " + one.out + " になります");
    }
    c.kind = CommandLine::Render;
    return c;
}

int RunRender(const RenderRequest& request) {
    const std::string project = Absolute(request.project), out = Absolute(request.out);
    const std::string folder = request.programFolder.empty() ? gui::CurrentDirectory() : request.programFolder;
    if (const std::string why = FolderRefusal(folder); !why.empty()) {
        PrintLine(why);
        return 1;
    }
    if (!request.programFolder.empty() && !QDir::setCurrent(QString::fromStdString(request.programFolder))) {
        PrintLine("プログラムフォルダ " + request.programFolder + " に移れません");
        return 1;
    }
    TOpen::DataFolderOnly = true;

    // Messages name the file they are about, so a script's log says which one failed.
    std::string about = project;
    // Held while the project is restored: a folder without the data it uses
    // is told in one line, not by each file found missing.
    std::vector<std::string> held;
    bool holding = true;
    Application->MessageSink = [&](const std::string& text, const std::string&, int flags) {
        std::string line = OneLine(text);
        const std::string base = gui::ExtractFileName(about);
        if (line.find(base) == std::string::npos) line = about + ": " + line;
        if (holding) held.push_back(line);
        else PrintLine(line);
        // No one is there to agree: a question gets its cautious answer.
        switch (flags & 0x0F) {
        case MB_OKCANCEL: return int(IDCANCEL);
        case MB_YESNO: return int(IDNO);
        case MB_YESNOCANCEL: return int(IDCANCEL);
        default: return int(IDOK);
        }
    };

    CreateAllForms(Application);
    const bool restored = !Application->Terminated() && Open && Open->RestoreProjectFile(project);
    if (restored)
        if (const std::string why = UsedDataRefusal(folder); !why.empty()) {
            PrintLine(why);
            return 1;
        }
    for (const std::string& line : held) PrintLine(line);
    holding = false;
    if (!restored) return 1;

    if (request.size) {
        const int item = ItemOfSize(MainUi().RadioGroup1, request.size);
        if (item < 0) {
            PrintLine(gui::Format("画像サイズ %d は選べません", request.size));
            return 1;
        }
        // The size is the output's: the render job draws it, the screen is not redrawn.
        RedrawOff off;
        MainUi().RadioGroup1->SetItemIndex(item);
    }
    about = out;
    Open->SaveFormat = FormatOfName(out);
    // The project's layout, but for what the command line names.
    output::PdfPage page = PdfPageWindow()->Page();
    if (!request.paper.empty()) page.paper = std::max(0, PaperIndex(request.paper));
    if (request.landscape || request.portrait) page.landscape = request.landscape;
    page.dpi = request.dpi ? request.dpi : Open->COPYSCALE * 100;
    PdfPageWindow()->SetPage(page);
    if (request.columns.empty()) return Open->WriteMapImage(out) ? 0 : 1;

    if (!StatLayerOnMap || !StatLayerOnMap->Shown().on) {
        PrintLine(project + ": 統計地図がないため --column は使えません");
        return 1;
    }
    // Every name is checked before the first image, so a wrong one leaves no images behind.
    TStatMap& stat = *StatMapWindow();
    std::vector<int> cols;
    for (const std::string& name : request.columns) {
        const int col = ColumnOfHeading(stat, name);
        if (col < 0) {
            // A name typed with a line break in it is still told in one line.
            PrintLine(OneLine(stat.Table.rows.empty() ? "列 " + name + " を選べません: 表 " + stat.TablePath + " を読めません"
                                                      : "列 " + name + " は表 " + stat.TablePath + " にありません"));
            return 1;
        }
        cols.push_back(col);
    }
    for (size_t k = 0; k < cols.size(); ++k) {
        about = ColumnOutName(out, request.columns[k]);
        // The window's own way from one column to another: the join, the classes and the legend follow.
        bool chosen;
        {
            RedrawOff off;   // the render job draws the image; the screen is not redrawn
            chosen = stat.ChooseColumn(cols[k]);
        }
        if (!chosen || !Open->WriteMapImage(about)) return 1;
    }
    return 0;
}

} // namespace output
