// The quick-help box's lower part: rotation texts beside the wheel
// pictures, and the check box with the Close button on one line or two.
#include <gtest/gtest.h>

#include "help/QuickHelpLayout.h"

namespace orvel {
namespace {

TQuickHelpInput Box(int textWidth) {
    TQuickHelpInput in;
    in.PanelWidth = 420;
    in.CtrlRight = 60;
    in.WheelWidth = 28;
    in.FrameRight = 410;
    in.ShowLeft = 10;
    in.ShowTop = 300;
    in.ShowHeight = 24;
    in.ShowTextWidth = textWidth;
    in.CloseLeft = 320;
    in.CloseTop = 300;
    in.CloseHeight = 26;
    return in;
}

TEST(QuickHelpLayout, RotationTextsStartBesideTheWheelAndEndInsideTheFrame) {
    const TQuickHelpPlaces p = LayOutQuickHelp(Box(100));
    EXPECT_EQ(p.WheelLeft, 65);
    EXPECT_EQ(p.RotateLeft, 65 + 28 + 18);
    EXPECT_EQ(p.RotateLeft + p.RotateWidth, 410 - 10);
}

TEST(QuickHelpLayout, ALongShowTextTakesThePanelWidthAndPutsCloseBelowIt) {
    // Room beside Close: 320 - 16 - 10 = 294, of which 18 go to the box.
    const TQuickHelpPlaces fits = LayOutQuickHelp(Box(294 - 18));
    EXPECT_FALSE(fits.CloseBelow);
    EXPECT_EQ(fits.CloseTop, 300);
    EXPECT_EQ(fits.ShowWidth, 294);
    EXPECT_EQ(fits.FormHeight, 300 + 26 + 9);

    const TQuickHelpPlaces below = LayOutQuickHelp(Box(294 - 17));
    EXPECT_TRUE(below.CloseBelow);
    EXPECT_EQ(below.ShowWidth, 420 - 16);
    EXPECT_EQ(below.CloseTop, 300 + 24 + 9);
    EXPECT_EQ(below.FormHeight, below.CloseTop + 26 + 9);
    // Nothing overlaps: the button lies wholly under the check box.
    EXPECT_GE(below.CloseTop, 300 + 24);
}

}  // namespace
}  // namespace orvel
