// Components made with an owner go with it, as on the desktop.
#include "gui/Dialogs.h"
#include <gtest/gtest.h>
#include <QWidget>
#include <memory>

namespace {

int alive = 0;

struct CountedDialog : TSaveDialog {
    explicit CountedDialog(QWidget* owner) : TSaveDialog(owner) { ++alive; }
    ~CountedDialog() override { --alive; }
};

struct CountedColour : TColorDialog {
    explicit CountedColour(QWidget* owner) : TColorDialog(owner) { ++alive; }
    ~CountedColour() override { --alive; }
};

TEST(Ownership, DialogsGoWithTheirOwnerOrEarlierWhenDeleted) {
    alive = 0;
    auto owner = std::make_unique<QWidget>();
    new CountedDialog(owner.get());
    new CountedColour(owner.get());
    auto* early = new CountedDialog(owner.get());
    {
        CountedDialog onStack(owner.get());
        EXPECT_EQ(alive, 4);
    }
    delete early;
    EXPECT_EQ(alive, 2);
    owner.reset();
    EXPECT_EQ(alive, 0);
    // Without an owner the maker keeps it.
    auto loose = std::make_unique<CountedDialog>(nullptr);
    EXPECT_EQ(alive, 1);
}

} // namespace
