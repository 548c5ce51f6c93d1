#include "help/QuickHelpLayout.h"

#include <algorithm>

namespace orvel {

TQuickHelpPlaces LayOutQuickHelp(const TQuickHelpInput& in) {
    TQuickHelpPlaces out;
    out.WheelLeft = in.CtrlRight + kQuickHelpWheelGap;
    out.RotateLeft = out.WheelLeft + in.WheelWidth + kQuickHelpRotateGap;
    out.RotateWidth = std::max(0, in.FrameRight - kQuickHelpFrameInset - out.RotateLeft);

    const int roomBesideClose = in.CloseLeft - kQuickHelpCloseGap - in.ShowLeft;
    const int needed = in.ShowTextWidth + kQuickHelpCheckBoxMark;
    out.CloseBelow = needed > roomBesideClose;
    if (out.CloseBelow) {
        // The check box takes the panel's width less a margin on each side;
        // the button goes on its own line under it.
        out.ShowLeft = kQuickHelpCloseGap / 2;
        out.ShowWidth = in.PanelWidth - kQuickHelpCloseGap;
        out.CloseTop = in.ShowTop + in.ShowHeight + kQuickHelpBottomGap;
    } else {
        out.ShowLeft = in.ShowLeft;
        out.ShowWidth = roomBesideClose;
        out.CloseTop = in.CloseTop;
    }
    const int lowest = std::max(in.ShowTop + in.ShowHeight, out.CloseTop + in.CloseHeight);
    out.FormHeight = lowest + kQuickHelpBottomGap;
    return out;
}

}  // namespace orvel
