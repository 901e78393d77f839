// The map drawn from the command line: the built program run as a script runs
// it, with no display, against the window's own save of the same project.
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "lines/Ukyori.h"
#include "paint/Upaint.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include <QImage>
#include <sys/resource.h>
#include <cstdlib>
#include <fstream>
#include <sstream>

using gui::testing::QueueFileName;
using testsupport::ReadBytes;

namespace {

struct ChildRun {
    int status = -1;
    std::string out, err;
};

} // namespace

class Render : public JapanFormsTest {
protected:
    TOpen* o = nullptr;
    std::string File(const std::string& name) { return (programDir / name).string(); }

    void SetUp() override {
        JapanFormsTest::SetUp();
        o = Open;
        // The program file of the child's name must be in the program folder.
        testsupport::PlaceProgramFile(programDir, "rovana");
    }

    // The built program, with no display at all, its output kept apart.
    ChildRun Rovana(const std::string& args) {
        const std::string out = File("run.out"), err = File("run.err");
        const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + std::string(ROVANA_BINARY) +
                                "' " + args + " > '" + out + "' 2> '" + err + "'";
        const int rc = std::system(cmd.c_str());
        ChildRun r;
        r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
        r.out = ReadBytes(out);
        r.err = ReadBytes(err);
        return r;
    }
    std::string Render1(const std::string& project, const std::string& out, const std::string& more = "") {
        return "--render '" + project + "' --out '" + out + "' --program-folder '" + programDir.string() + "' " + more;
    }

    // Two areas with names, three painted towns, a circle, at size 1200.
    void BuildProject(const std::string& name) {
        o->MapShown = true;
        testsupport::ChooseAreas({13, 14});
        o->CBTownName->SetChecked(true);
        o->RadioGroup1->SetItemIndex(1);
        o->BtnPaintClick(o);
        int pressed = 0;
        for (int i = 0; i < o->TownCount && pressed < 3; ++i) {
            int sx, sy;
            o->MapToScreen(o->TownX[i], o->TownY[i], sx, sy);
            if (sx < 50 || sy < 50 || sx > 1150 || sy > 1150 || o->Image1->Canvas()->Pixels(sx, sy) != 0xFFFFFF) continue;
            MapPaint->TkBtnClick(1 + pressed);
            o->PressPaint(27, sx, sy);
            ++pressed;
        }
        ASSERT_EQ(pressed, 3);
        MapPaint->Button19Click(MapPaint);
        Kyori->CheckBox6->SetChecked(true);
        int32_t x, y;
        o->PressToData(600, 600, x, y);
        ASSERT_TRUE(Kyori->AddCircle(x, y));
        QueueFileName(File(name));
        o->Button1Click(o);
        ASSERT_TRUE(std::filesystem::exists(File(name)));
    }
    // The window's own save of the project as restored, through its menu.
    std::string WindowSave(const std::string& project, int sizeItem, const std::string& png) {
        QueueFileName(File(project));
        o->Button10Click(o);
        o->RadioGroup1->SetItemIndex(sizeItem);
        QueueFileName(File(png));
        o->PNG1Click(o);
        return ReadBytes(File(png));
    }
};

TEST_F(Render, TheCommandLineWritesTheSameFileAsTheWindowsSave) {
    BuildProject("a.rvx");
    const std::string window1200 = WindowSave("a.rvx", 1, "w1200.png");
    const std::string window600 = WindowSave("a.rvx", 0, "w600.png");
    ASSERT_GT(window1200.size(), 1000u);

    // The project's own size, then another one chosen on the command line.
    ChildRun r = Rovana(Render1(File("a.rvx"), File("c1200.png")));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(ReadBytes(File("c1200.png")) == window1200);
    r = Rovana(Render1(File("a.rvx"), File("c600.png"), "--size 600"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(ReadBytes(File("c600.png")) == window600);
    // The window's session was not touched by the child.
    EXPECT_TRUE(gui::testing::Messages().empty());
}

TEST_F(Render, BadInputGetsOneLineNamingTheFileAndNoImage) {
    BuildProject("a.rvx");
    // A size multiplier no window offers, on line 6.
    std::string text = ReadBytes(File("a.rvx"));
    const size_t at = text.find("\r\n2,1,COPYSCALE\r\n");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 17, "\r\n9,1,COPYSCALE\r\n");
    std::ofstream(File("bad.rvx"), std::ios::binary) << text;
    std::filesystem::create_directory(File("folder.rvx"));

    struct Case {
        std::string args, mentions;
        int status;
    };
    const Case cases[] = {
        {Render1(File("none.rvx"), File("x.png")), "none.rvx", 1},
        {Render1(File("folder.rvx"), File("x.png")), "folder.rvx", 1},
        {Render1(File("bad.rvx"), File("x.png")), "bad.rvx の 6 行目", 1},
        {Render1(File("a.rvx"), File("no/such/x.png")), "no/such/x.png", 1},
        {Render1(File("a.rvx"), File("x.png"), "--size 700"), "700", 1},
        {Render1(File("a.rvx"), File("x.gif")), "x.gif", 2},
        {"--out x.png", "--render", 2},
    };
    for (const Case& c : cases) {
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

TEST_F(Render, TheWholeCountryAt3600PixelsStaysUnderOneGigabyte) {
    o->MapShown = true;
    std::vector<int> all;
    for (int code = 1; code <= 47; ++code) all.push_back(code);
    testsupport::ChooseAreas(all);
    o->CBTownName->SetChecked(true);
    QueueFileName(File("japan.rvx"));
    o->Button1Click(o);

    const ChildRun r = Rovana(Render1(File("japan.rvx"), File("japan.jpg"), "--size 3600"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(QImage(QString::fromStdString(File("japan.jpg"))).width(), 3600);
    rusage children{};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &children), 0);
    EXPECT_LT(children.ru_maxrss, 1024L * 1024) << "kilobytes at the peak";
}
