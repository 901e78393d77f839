// What the main window offers at a glance: tools that need a map rest until
// the first one is drawn, and the name box rests while its borders are off.
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>

namespace {

class Look : public FormsTest {
protected:
    void ChooseArea(int code) {
        Ken->Button3Click(Ken);
        Ken->AreaBox(code)->SetChecked(true);
        Ken->Button1->click();
    }
};

TEST_F(Look, MapToolsWakeWithTheFirstMapAndTownNamesFollowTheirBorders) {
    const std::vector<QWidget*> needMap = {Open->ui.BtnCenter, Open->ui.Button11, Open->ui.BtnLetter,
                                           Open->ui.CBLabel,   Open->ui.CBYomi,   Open->ui.CBInfo};
    for (QWidget* w : needMap) EXPECT_FALSE(w->isEnabled()) << w->property("text").toString().toStdString();
    ChooseArea(1);
    ASSERT_TRUE(Open->gate.MapShown);
    for (QWidget* w : needMap) EXPECT_TRUE(w->isEnabled()) << w->property("text").toString().toStdString();

    // Borders off: the names go and their box rests, through a new area choice and a tool's end too.
    Open->ui.CBTownBorder->click();
    ASSERT_FALSE(Open->ui.CBTownBorder->Checked());
    EXPECT_FALSE(Open->ui.CBTownName->Checked());
    EXPECT_FALSE(Open->ui.CBTownName->isEnabled());
    ChooseArea(1);
    if (!Open->ui.CBTownBorder->Checked()) {
        EXPECT_FALSE(Open->ui.CBTownName->isEnabled());
        EXPECT_FALSE(Open->ui.CBTownName->Checked());
    }
    Open->ui.CBTownBorder->SetChecked(false);
    Open->ui.Button14->click();
    Open->ui.Button14->click();
    EXPECT_FALSE(Open->ui.CBTownName->isEnabled()) << "the end of a measurement";
    Open->ui.CBTownBorder->click();
    EXPECT_TRUE(Open->ui.CBTownName->isEnabled());
}

} // namespace
