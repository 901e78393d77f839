// Paint data, paint by name and the area read-out on the real data set.
#include "engine/Uopen.h"
#include "paint/MainFormPaint.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "names/Uyomilist.h"
#include "paint/Upaint.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include <QImage>
#include <fstream>

namespace {

using testsupport::BuildFolder;
using testsupport::ChooseAreas;
using testsupport::ReadBytes;

QImage MapImage() { return Open->ui.Image1->Picture()->Bitmap()->Image().copy(); }

// Ten colour and pattern pairs, so the palette takes only the first eight.
constexpr TColor kColours[10] = {0x7FBFFF, 0x9FFF9F, 0xFFBF7F, 0xBF9FFF, 0x7FFFFF,
                                 0xFF7FBF, 0x3F7FFF, 0x7F3FFF, 0xC0C0C0, 0x3FBF3F};
constexpr int kPatterns[10] = {0, 0, 6, 0, 7, 0, 2, 0, 0, 5};

} // namespace

class RealPaintData : public JapanFormsTest {};

// The readings window's name list with two columns added is a paint-data file.
TEST_F(RealPaintData, NaganoNameListImportEqualsARedrawPlusTheSameFloods) {
    ChooseAreas({15});
    ASSERT_TRUE(YomiList->BuildDisplayedNameList());
    // Names drawn before a flood would split its region.
    Open->ui.CBTownName->SetChecked(false);
    const std::string list = (programDir / "nagano-list.csv").string();
    gui::testing::QueueFileName(list);
    YomiList->Button6Click(YomiList);
    std::ifstream in(list, std::ios::binary);
    std::string line, csv;
    int rows = 0;
    for (bool head = true; std::getline(in, line); head = false) {
        line.pop_back();   // CR
        csv += line + (head ? gui::Utf8ToCp932(",カラー,パターン")
                            : gui::Format(",0x%06x,%d", unsigned(kColours[rows % 10]), kPatterns[rows % 10]));
        csv += "\r\n";
        rows += !head;
    }
    ASSERT_GE(rows, 60);
    std::ofstream((programDir / "nagano.csv").string(), std::ios::binary) << csv;

    gui::testing::QueueFileName((programDir / "nagano.csv").string());
    MapPaint->Button24Click(MapPaint);
    ASSERT_TRUE(gui::testing::Messages().empty());
    ASSERT_EQ(Open->paint.paint_rep, rows);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(Open->style.PaintColor[k], kColours[k]) << k;
        EXPECT_EQ(Open->style.PaintPattern[k], kPatterns[k]) << k;
    }
    const QImage imported = MapImage();
    imported.save(QString::fromStdString((BuildFolder() / "nagano-paint-data.png").string()));

    Open->paint.PaintDisplay = false;
    ASSERT_TRUE(Open->DrawMap());
    for (int i = 0; i < rows; ++i) {
        const auto& r = Open->paint.PaintRecords[i];
        int sx, sy;
        Open->MapToScreen(r.x, r.y, sx, sy);
        FillAt(*Open, sx, sy, r.colour, r.pattern);
    }
    EXPECT_TRUE(MapImage() == imported);
}

TEST_F(RealPaintData, KanagawaPaintListPaintByNameAndTheAreaOfHadano) {
    ChooseAreas({13});
    BtnPaintClick(*Open, Open);
    MapPaint->CBAllPaint->SetChecked(true);
    const std::string bytes = ReadBytes(programDir / "MAPDATA" / "paintlist.lst");
    EXPECT_NE(bytes.find(gui::Utf8ToCp932("\r\n緑区(横浜市)\r\n")), std::string::npos);
    EXPECT_NE(bytes.find(gui::Utf8ToCp932("\r\n緑区(相模原市)\r\n")), std::string::npos);
    EXPECT_NE(bytes.find(gui::Utf8ToCp932("\r\n中央区(相模原市)\r\n")), std::string::npos);
    EXPECT_EQ(bytes.find(gui::Utf8ToCp932("さいたま市")), std::string::npos) << "not a selected area";
    TStrings* items = MapPaint->ComboBox1->Items();
    ASSERT_GT(items->Count(), 50);
    for (int i = 1; i < items->Count(); ++i) EXPECT_LE(gui::Cp932CompareText((*items)[i - 1], (*items)[i]), 0) << i;
    EXPECT_TRUE(MapPaint->BtnAllPaint->Enabled());
    EXPECT_EQ(MapPaint->ComboBox1->Text(), "ボタンを押す");

    // Sagamihara's Midori-ku: its own point first, then every point of the plain name.
    MapPaint->TkBtnClick(2);
    MapPaint->ComboBox1->SetText("緑区(相模原市)");
    MapPaint->BtnAllPaintClick(MapPaint);
    ASSERT_GE(Open->paint.paint_rep, 2);
    int sx, sy;
    Open->MapToScreen(171923, 173618, sx, sy);
    EXPECT_EQ(Open->ui.Image1->Canvas()->Pixels(sx, sy), Open->style.PaintColor[2]);
    EXPECT_EQ(Open->paint.PaintRecords[0].x, 171923);
    MapPaint->Button19Click(MapPaint);

    // Hadano is 103.76 km2.
    Open->ui.EdName->SetText("秦野市");
    Open->ui.CBTownPaint->SetChecked(true);
    Open->ui.CBMenseki->SetChecked(true);
    ASSERT_TRUE(Open->DrawMap());
    const double km2 = std::stod(Open->ui.Label31->Caption());
    EXPECT_NEAR(km2, 103.76, 103.76 * 0.2) << Open->ui.Label31->Caption();
}
