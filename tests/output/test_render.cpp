// The map drawn from the command line: the built program run as a script runs
// it, with no display, against the window's own save of the same project.
#include "engine/Uopen.h"
#include "paint/MainFormPaint.h"
#include "gui/Testing.h"
#include "engine/Uken.h"
#include "labels/Upagesdlg.h"
#include "lines/Ukyori.h"
#include "output/Updfpage.h"
#include "paint/Upaint.h"
#include "paint/Ustatmap.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/ToolPress.h"
#include "tests/support/RealAreas.h"
#include <sys/resource.h>
#include <cstdlib>
#include <fstream>

using gui::testing::QueueFileName;
using testsupport::ReadBytes;

class Render : public JapanFormsTest {
protected:
    struct ChildRun {
        int status = -1;
        std::string out, err;
    };
    TOpen* o = nullptr;
    std::string File(const std::string& name) { return (programDir / name).string(); }

    void SetUp() override {
        JapanFormsTest::SetUp();
        o = Open;
        // The program file of the child's name must be in the program folder.
        testsupport::PlaceProgramFile(programDir, "rovana");
    }
    // The built program, with no display at all.
    ChildRun Rovana(const std::string& args) {
        const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + std::string(ROVANA_BINARY) +
                                "' " + args + " > '" + File("run.out") + "' 2> '" + File("run.err") + "'";
        const int rc = std::system(cmd.c_str());
        return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ReadBytes(File("run.out")), ReadBytes(File("run.err"))};
    }
    std::string Args(const std::string& project, const std::string& out, const std::string& more = "") {
        return "--render '" + File(project) + "' --out '" + File(out) + "' --program-folder '" + programDir.string() +
               "' " + more;
    }

    // The whole country with names, three painted towns and a circle, at 600.
    void BuildProject() {
        o->gate.MapShown = true;
        std::vector<int> all;
        for (int code = 1; code <= 47; ++code) all.push_back(code);
        testsupport::ChooseAreas(all);
        o->ui.CBTownName->SetChecked(true);
        BtnPaintClick(*o, o);
        int pressed = 0;
        for (int i = 0; i < o->doc.TownCount && pressed < 3; i += 7) {
            int sx, sy;
            o->MapToScreen(o->doc.TownX[i], o->doc.TownY[i], sx, sy);
            if (o->ui.Image1->Canvas()->Pixels(sx, sy) != o->ui.Image1->Canvas()->Pixels(5, 590)) continue;
            MapPaint->TkBtnClick(1 + pressed);
            PaintAt(*o, sx, sy);
            ++pressed;
        }
        ASSERT_EQ(pressed, 3);
        MapPaint->Button19Click(MapPaint);
        Kyori->CheckBox6->SetChecked(true);
        int32_t x, y;
        o->PressToData(300, 300, x, y);
        ASSERT_TRUE(Kyori->AddCircle(x, y));
        QueueFileName(File("a.rvx"));
        o->Button1Click(o);
    }
    // The window's own save of the project as restored, through its menu.
    std::string WindowSave(int sizeItem, const std::string& png) {
        QueueFileName(File("a.rvx"));
        o->Button10Click(o);
        o->ui.RadioGroup1->SetItemIndex(sizeItem);
        QueueFileName(File(png));
        o->PNG1Click(o);
        return ReadBytes(File(png));
    }
};

TEST_F(Render, TheCommandLineWritesTheWindowsOwnSaveInUnderAGigabyte) {
    BuildProject();
    const std::string window600 = WindowSave(0, "w600.png"), window3600 = WindowSave(5, "w3600.png");
    ASSERT_GT(window3600.size(), 1000u);

    // The project's own size, then the largest one chosen on the command line.
    ChildRun r = Rovana(Args("a.rvx", "c600.png"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(ReadBytes(File("c600.png")) == window600);
    r = Rovana(Args("a.rvx", "c3600.png", "--size 3600"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(ReadBytes(File("c3600.png")) == window3600);
    // A project kept with its layout, b.rvx: A3 across, titled.
    TPdfPage* page = PdfPageWindow();
    page->CBPaper->SetItemIndex(output::PaperIndex("A3"));
    page->CBPaper->OnChange(page->CBPaper);
    page->RGOrient->SetItemIndex(1);
    page->RGScale->SetItemIndex(1);
    testsupport::TypeInto(page->EdScale, "5000000", false);
    page->EdTitle->SetText("日本全図");
    QueueFileName(File("b.rvx"));
    o->Button1Click(o);
    // The map as shapes: on a page of its own size, on A4 upright without a layout, on the layout's
    // page unless the command line names another paper.
    const struct {
        const char *project, *out, *more, *holds;
    } shapes[] = {
        {"a.rvx", "c.pdf", "--paper map --dpi 200", "/MediaBox [0 0 216.000000 216.000000]"},
        {"a.rvx", "c.svg", "", "<svg width=\"210mm\" height=\"297mm\""},
        {"b.rvx", "b.pdf", "", "/MediaBox [0 0 1191.000000 842.000000]"},
        {"b.rvx", "b4.pdf", "--paper A4 --portrait", "/MediaBox [0 0 595.000000 842.000000]"},
    };
    for (const auto& c : shapes) {
        r = Rovana(Args(c.project, c.out, c.more));
        EXPECT_EQ(r.status, 0) << c.out << "\n" << r.err;
        EXPECT_NE(ReadBytes(File(c.out)).find(c.holds), std::string::npos) << c.out << ": " << c.holds;
    }
    EXPECT_EQ(ReadBytes(File("c.pdf")).rfind("%PDF", 0), 0u);
    EXPECT_NE(testsupport::RunOutput("pdftotext '" + File("b.pdf") + "' -").find("日本全図"), std::string::npos);
    rusage children{};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &children), 0);
    EXPECT_LT(children.ru_maxrss, 1024L * 1024) << "kilobytes at the peak";
}

TEST_F(Render, BadInputGetsOneLineNamingTheFileAndNoImage) {
    BuildProject();
    // A size multiplier no window offers, on line 6.
    std::string text = ReadBytes(File("a.rvx"));
    const size_t at = text.find("\r\n1,0,COPYSCALE\r\n");
    ASSERT_NE(at, std::string::npos);
    std::ofstream(File("bad.rvx"), std::ios::binary) << text.replace(at, 17, "\r\n9,0,COPYSCALE\r\n");
    std::filesystem::create_directory(File("folder.rvx"));

    const struct {
        std::string args, mentions;
        int status;
    } cases[] = {
        {Args("none.rvx", "x.png"), "none.rvx", 1},
        {Args("folder.rvx", "x.png"), "folder.rvx", 1},
        {Args("bad.rvx", "x.png"), "bad.rvx の 6 行目", 1},
        {Args("a.rvx", "no/such/x.png"), "no/such/x.png", 1},
        {Args("a.rvx", "x.png", "--size 700"), "700", 1},
        {Args("a.rvx", "x.gif"), "x.gif", 2},
        {Args("a.rvx", "x.png", "--paper Z9"), "Z9", 2},
        {Args("a.rvx", "x.pdf", "--landscape --portrait"), "--portrait", 2},
        {"--out x.png", "--render", 2},
    };
    for (const auto& c : cases) {
        const ChildRun r = Rovana(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.mentions), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_FALSE(std::filesystem::exists(File("x.png"))) << c.args;
        if (c.status == 1) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        }
    }
    const ChildRun help = Rovana("--help"), version = Rovana("--version");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--render"), std::string::npos);
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("9.3"), std::string::npos);
}

TEST_F(Render, TheDataFolderAloneServesAndNothingItReadsIsWrittenOver) {
    BuildProject();
    // The data folder as the README names it: no program file in it.
    for (const auto& e : std::filesystem::directory_iterator(programDir))
        if (e.is_regular_file() && e.path().extension().empty()) std::filesystem::remove(e.path());
    ChildRun r = Rovana(Args("a.rvx", "d.png"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(std::filesystem::exists(File("d.png")));

    // A folder without the map data is named, in one line.
    std::filesystem::create_directory(File("empty"));
    r = Rovana("--render '" + File("a.rvx") + "' --out '" + File("e.png") + "' --program-folder '" + File("empty") + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find(File("empty")), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(File("e.png")));

    // The project itself, under its own name or a link's, and the data folders in any case.
    std::filesystem::copy_file(File("a.rvx"), File("p.png"));
    std::filesystem::create_symlink(File("a.rvx"), File("link.png"));
    const struct {
        std::string project, out;
    } cases[] = {
        {"p.png", "p.png"},
        {"a.rvx", "link.png"},
        {"a.rvx", "mark/101.bmp"},
        {"a.rvx", "mapdata/01.png"},
        {"a.rvx", "MAPDATA/../mark/x.png"},
        {"a.rvx", "鉄道路線/x.svg"},
    };
    for (const auto& c : cases) {
        const std::string before = ReadBytes(File(c.out)), project = ReadBytes(File(c.project));
        r = Rovana(Args(c.project, c.out));
        EXPECT_EQ(r.status, 2) << c.out << "\n" << r.err;
        EXPECT_NE(r.err.find(c.out), std::string::npos) << r.err;
        EXPECT_TRUE(ReadBytes(File(c.out)) == before) << c.out;
        EXPECT_TRUE(ReadBytes(File(c.project)) == project) << c.project;
    }
}

TEST_F(Render, AFolderWithoutTheSymbolsOrRailwaysTheProjectShowsIsNamedInOneLine) {
    o->gate.MapShown = true;
    Ken->CBRailShow->SetChecked(true);
    testsupport::ChooseAreas({13, 14});
    QueueFileName(File("rail.rvx"));
    o->Button1Click(o);
    PagesDlg->SelectSymbol(100);
    ToolPress(300, 300);
    Ken->CBRailShow->SetChecked(false);
    QueueFileName(File("mark.rvx"));
    o->Button1Click(o);
    // The map data alone.
    std::filesystem::create_directory(File("data"));
    std::filesystem::create_directory_symlink(programDir / "MAPDATA", File("data/MAPDATA"));
    for (const auto& [project, folder] : {std::pair{"rail.rvx", "鉄道路線"}, std::pair{"mark.rvx", "mark"}}) {
        const ChildRun r = Rovana("--render '" + File(project) + "' --out '" + File("x.png") + "' --program-folder '" +
                                  File("data") + "'");
        EXPECT_EQ(r.status, 1) << project;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find(File("data")), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(folder), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(File("x.png")));
    }
}

TEST_F(Render, EachColumnGetsAnImageOfItsOwnAndAWrongColumnNoneAtAll) {
    o->gate.MapShown = true;
    testsupport::ChooseAreas({13, 14});
    QueueFileName(File("plain.rvx"));
    o->Button1Click(o);
    StatMapWindow()->Show();
    QueueFileName((programDir / "サンプル" / "住民基本台帳人口_2021.csv").string());
    StatMap->BtnOpen->Click();
    StatMap->CBValue->SetItemIndex(4);   // 人口（男）
    StatMap->CBValue->OnChange(StatMap->CBValue);
    StatMap->BtnApply->Click();
    StatMap->CBFixClasses->SetChecked(true);
    QueueFileName(File("s.rvx"));
    o->Button1Click(o);

    ChildRun r = Rovana(Args("s.rvx", "own.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    r = Rovana(Args("s.rvx", "s.png", "--column '人口（男）' --column ' 人口（女）'"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string men = ReadBytes(File("s_人口（男）.png")), women = ReadBytes(File("s_人口（女）.png"));
    EXPECT_TRUE(men == ReadBytes(File("own.png"))) << "the project's own column, its classes kept";
    EXPECT_GT(women.size(), 1000u);
    EXPECT_FALSE(women == men);
    EXPECT_FALSE(std::filesystem::exists(File("s.png")));

    const struct {
        std::string args, mentions, unwritten;
        int status;
    } cases[] = {
        {Args("s.rvx", "x.png", "--column 人口（女） --column 人口/犬"), "人口/犬", "x_人口（女）.png", 1},
        {Args("s.rvx", "x.png", "--column '人口\n犬'"), "住民基本台帳人口_2021.csv", "x_人口_犬.png", 1},
        {Args("plain.rvx", "x.png", "--column 人口（女）"), "統計地図", "x_人口（女）.png", 1},
        {Args("s.rvx", "x.png", "--column 'a/b' --column 'a:b'"), "x_a_b.png", "x_a_b.png", 2},
    };
    for (const auto& c : cases) {
        r = Rovana(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
        if (c.status == 1) {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        }
        EXPECT_NE(r.err.find(c.mentions), std::string::npos) << c.args << "\n" << r.err;
        EXPECT_FALSE(std::filesystem::exists(File(c.unwritten))) << c.args;
    }
}
