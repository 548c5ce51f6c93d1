#pragma once

// Where the quick-help box's lower controls go once its texts are known:
// the rotation rows beside the wheel pictures, and the check box "Show this
// box at start" with the Close button, on one line when the check box's text
// fits beside the button, else the button below it.

namespace orvel {

// Gaps of the layout, in pixels.
inline constexpr int kQuickHelpWheelGap = 5;       // L_Ctrl to the wheel picture
inline constexpr int kQuickHelpRotateGap = 18;     // wheel picture to the rotation text
inline constexpr int kQuickHelpFrameInset = 10;    // rotation text end to the frame's right edge
inline constexpr int kQuickHelpCloseGap = 16;      // check box end to the Close button
inline constexpr int kQuickHelpCheckBoxMark = 18;  // the box and its gap before the text
inline constexpr int kQuickHelpBottomGap = 9;      // below the Close button or check box

struct TQuickHelpInput {
    int PanelWidth = 0;
    int CtrlRight = 0;   // right edge (exclusive) of L_Ctrl
    int WheelWidth = 0;  // I_Wheel / I_Wheel1
    int FrameRight = 0;  // right edge (exclusive) of the frame Shape1
    int ShowLeft = 0;    // CB_Show
    int ShowTop = 0;
    int ShowHeight = 0;
    int ShowTextWidth = 0;  // the width CB_Show's text needs in its font
    int CloseLeft = 0;      // B_Close
    int CloseTop = 0;
    int CloseHeight = 0;
};

struct TQuickHelpPlaces {
    int WheelLeft = 0;
    int RotateLeft = 0;
    int RotateWidth = 0;
    int ShowLeft = 0;
    int ShowWidth = 0;
    int CloseTop = 0;
    bool CloseBelow = false;
    int FormHeight = 0;  // the panel's (and the form's client) height
};

TQuickHelpPlaces LayOutQuickHelp(const TQuickHelpInput& in);

}  // namespace orvel
