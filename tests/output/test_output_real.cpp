// Saving the real map at 1800 pixels: the file is the one the nine square
// tiles, each from its own redraw, always made.
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "names/Uyomi.h"
#include "names/Uyomilist.h"
#include "gui/ImageWriters.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include <fstream>
#include <iterator>

namespace {

std::string Bytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

class RealOutput : public JapanFormsTest {};

TEST_F(RealOutput, TheSavedFileHasTheBytesOfTheTiledImage) {
    testsupport::ChooseAreas({13, 14});
    Open->ui.CBYomi->SetChecked(true);
    Open->ui.RadioGroup1->SetItemIndex(2);
    ASSERT_EQ(Open->ImageSize, 1800);

    TBitmap tiled(1800, 1800);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            ASSERT_TRUE(Open->DrawMap());
            ASSERT_TRUE(YomiList->BuildDisplayedNameList());
            Yomi->WriteReadings();
            const TRect r(600 * i, 600 * j, 600 * (i + 1), 600 * (j + 1));
            tiled.Canvas()->CopyRect(r, Open->ui.Image1->Canvas(), r);
        }
    const auto ref = programDir / "tiled";
    // The save records the map's real size; the reference is written with the same.
    output::PngOptions png0;
    png0.PixelsPerMetre = Open->OutputPixelsPerMetre();
    output::WriteOptions bmp0;
    bmp0.PixelsPerMetre = png0.PixelsPerMetre;
    ASSERT_TRUE(output::WritePng(tiled, (ref.string() + ".png"), nullptr, png0));
    ASSERT_TRUE(output::WriteBmp(tiled, (ref.string() + ".bmp"), nullptr, bmp0));

    const int redraws = Open->RedrawCount;
    gui::testing::QueueFileName((programDir / "map.png").string());
    Open->PNG1Click(Open);
    gui::testing::QueueFileName((programDir / "map.bmp").string());
    Open->BITMAP1Click(Open);
    EXPECT_EQ(Open->RedrawCount, redraws) << "drawn by the render job, not the screen's redraw";
    const std::string png = Bytes(programDir / "map.png");
    EXPECT_GT(png.size(), 10000u);
    EXPECT_TRUE(png == Bytes(ref.string() + ".png"));
    EXPECT_TRUE(Bytes(programDir / "map.bmp") == Bytes(ref.string() + ".bmp"));
}
