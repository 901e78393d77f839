// The manual ships with the program: F1 in every window opens it at that
// window's own section, the help menu and the usage window open it too, a
// missing manual is told as such, and no link in it leads nowhere.
#include "engine/Uhowto.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "output/Updfpage.h"
#include "paint/Ustatmap.h"
#include "tests/support/FormsFixture.h"
#include <QApplication>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <cstdlib>

namespace {

namespace fs = std::filesystem;
using gui::testing::Messages;
using gui::testing::ShellOpens;

const fs::path kManual = fs::path(ROVANA_TEST_DATA).parent_path().parent_path() / "resources" / "help";

class Help : public FormsTest {
protected:
    void Install() { testsupport::CopyTree(kManual, programDir / "Help"); }
    std::string Page() const { return Open->doc.AppDir + "/Help/readme.htm"; }
};

TEST_F(Help, F1InEveryWindowOpensItsOwnSectionOfTheManual) {
    Install();
    const QString manual = QString::fromStdString(testsupport::ReadBytes(kManual / "readme.htm"));
    ASSERT_FALSE(manual.isEmpty());
    std::set<std::string> sections;
    StatMapWindow();   // windows made on first use
    PdfPageWindow();
    for (TForm* f : Application->Forms()) {
        SCOPED_TRACE(f->Caption());
        f->Show();
        QWidget* target = f->focusWidget() ? f->focusWidget() : f;
        const size_t before = ShellOpens().size();
        QTest::keyClick(target, Qt::Key_F1);
        ASSERT_EQ(ShellOpens().size(), before + 1);
        EXPECT_EQ(ShellOpens().back(), Page() + "#" + f->HelpKeyword);
        EXPECT_TRUE(manual.contains(QString::fromStdString("id=\"" + f->HelpKeyword + "\"")))
            << "no section " << f->HelpKeyword;
        EXPECT_TRUE(sections.insert(f->HelpKeyword).second) << "two windows share " << f->HelpKeyword;
        f->Hide();
    }
    EXPECT_TRUE(Messages().empty());

    Open->ui.readmehtm1->Click();
    EXPECT_EQ(ShellOpens().back(), Page());
    HowTo->Button1->click();
    EXPECT_EQ(ShellOpens().back(), Page() + "#contents");
}

TEST_F(Help, AMissingManualIsToldAsMissing) {
    Open->ui.readmehtm1->Click();
    EXPECT_TRUE(ShellOpens().empty());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].text.find("readme.htm がプログラムのフォルダにありません"), std::string::npos);
}

TEST(Manual, EveryLinkLeadsSomewhere) {
    for (const auto& entry : fs::recursive_directory_iterator(kManual)) {
        if (entry.path().extension() != ".htm") continue;
        SCOPED_TRACE(entry.path().string());
        const QString page = QString::fromStdString(testsupport::ReadBytes(entry.path()));
        QRegularExpression href("(?:href|src)=\"([^\"]*)\"");
        int links = 0;
        for (auto it = href.globalMatch(page); it.hasNext(); ++links) {
            const QString target = it.next().captured(1);
            if (target.startsWith('#')) {
                EXPECT_TRUE(page.contains("id=\"" + target.mid(1) + "\"")) << target.toStdString();
            } else if (target.startsWith("http")) {
                EXPECT_FALSE(target.contains("example.")) << target.toStdString();
            } else {
                EXPECT_TRUE(fs::exists(entry.path().parent_path() / target.section('#', 0, 0).toStdString()))
                    << target.toStdString();
            }
        }
        EXPECT_GT(links, 0);
    }
}

} // namespace

namespace {

// The manual shows each window as the program draws it, over a drawn map.
// With ROVANA_HELP_SHOTS set to a folder (scripts/help-shots), the pictures
// are made anew there from the running windows.
class HelpShots : public JapanFormsTest {};

TEST_F(HelpShots, TheManualShowsEveryWindow) {
    const char* out = std::getenv("ROVANA_HELP_SHOTS");
    Open->Show();
    Ken->AreaBox(13)->SetChecked(true);
    Ken->Button1Click(Ken);
    ASSERT_TRUE(Open->gate.MapShown);
    const QString manual = QString::fromStdString(testsupport::ReadBytes(kManual / "readme.htm"));
    for (TForm* f : Application->Forms()) {
        SCOPED_TRACE(f->Caption());
        const std::string picture = "img/" + f->HelpKeyword + ".png";
        if (out) {
            f->Show();
            QApplication::processEvents();
            EXPECT_TRUE(f->grab().save(QString::fromStdString((fs::path(out) / (f->HelpKeyword + ".png")).string())));
            if (f != Open) f->Hide();
            continue;
        }
        EXPECT_TRUE(manual.contains(QString::fromStdString("src=\"" + picture + "\""))) << picture;
        EXPECT_TRUE(fs::exists(kManual / picture)) << picture;
    }
}

} // namespace
