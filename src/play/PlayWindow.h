#pragma once

// The self-drawn play windows of the field: the two sides, four pockets,
// the thumbnail window and the glass. They are records drawn by the game
// into the field's off-screen picture, not desktop windows.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "game/GameTypes.h"
#include "graphics/Bitmap.h"
#include "graphics/Rect.h"

namespace orvel {

class Platform;

// Window numbers MW_SIDE0 .. MW_THUMB come with the piece record.
constexpr int kPlayWindowCount = 7;

// The window number of the glass, after the seven windows a piece can lie in,
// and of no window at all.
constexpr int kGlassNumber = kPlayWindowCount;
constexpr int kNoWindow = -1;

enum class TWinKind : uint8_t { Side, Pocket, Thumb, Glass };

// What a point of a window does when pressed, shared with the piece handling.
// The numbers group the codes: 10..17 resize, 20..25 scroll.
enum class THitCode : uint8_t {
    None = 0,  // nothing, or the client
    Move = 1,  // the frame (or a DragByClient client) moves the window
    Left = 10,
    Top = 11,
    Right = 12,
    Bottom = 13,
    TopLeft = 14,
    TopRight = 15,
    BottomLeft = 16,
    BottomRight = 17,  // corner or grip
    HThumb = 20,
    LeftArrow = 21,
    RightArrow = 22,
    VThumb = 23,
    UpArrow = 24,
    DownArrow = 25,
    Close = 26,
    Zoom1 = 27,
    Zoom2 = 28,
    Pan = 29,  // dragging the content itself
};

// Whether the code resizes the window (an edge, a corner or the grip).
constexpr bool IsResizeCode(THitCode code) {
    return code >= THitCode::Left && code <= THitCode::BottomRight;
}

// The nine skin buttons of a window, by their index in TMyWin::Buttons.
enum class TWinButtonId : uint8_t {
    Close,
    Zoom1,  // the glass's first zoom button
    Zoom2,  // and its second; one of the two shows at a time
    ScrollLeft,
    ScrollRight,
    HThumb,
    ScrollUp,
    ScrollDown,
    VThumb,
};
constexpr int kWinButtonCount = 9;
static_assert(static_cast<int>(TWinButtonId::VThumb) + 1 == kWinButtonCount);
constexpr TWinButtonId kHScrollButtons[] = {TWinButtonId::ScrollLeft, TWinButtonId::ScrollRight,
                                            TWinButtonId::HThumb};
constexpr TWinButtonId kVScrollButtons[] = {TWinButtonId::ScrollUp, TWinButtonId::ScrollDown,
                                            TWinButtonId::VThumb};

// How a button's images lie in the skin and how it is drawn.
enum class TButtonStyle : uint8_t {
    Plain,      // normal, hover and pressed images side by side
    FourState,  // normal, hover, active, active hover and pressed images
    StretchH,   // plain images, drawn as three slices stretched across (a scroll thumb)
    StretchV,   // plain images, drawn as three slices stretched down
};

// Scroll bars are this thick; the arrows are this square.
constexpr int kScrollBarSize = 17;
// The default window background, also the fallback for a picture that cannot load.
constexpr TColor kDefaultBackground = 0x989898;
// Background values 10..17 name background pictures instead of colours.
inline bool IsBackgroundPictureCode(int32_t v) {
    return v >= 10 && v <= 17;
}

// Sizes of the skin pictures.
constexpr int kWinSkinW = 390;
constexpr int kWinSkinH = 170;
constexpr int kGlassSkinW = 290;
constexpr int kGlassSkinH = 189;

struct TMyWinButton {
    TWinButtonId Id = TWinButtonId::Close;
    int32_t Width = 0, Height = 0;
    TMyRect Bounds;
    TMyRect SrcNormal, SrcHover, SrcActive, SrcActiveHover, SrcPressed;
    int32_t FromLeft = kUnsetEdge, FromTop = kUnsetEdge, FromRight = kUnsetEdge,
            FromBottom = kUnsetEdge;
    bool Visible = false;
    bool ActiveLook = false;
    bool Hover = false, Pressed = false;
    bool StretchH = false, StretchV = false;
    THitCode HitCode = THitCode::None;
};

struct TMyWin {
    uint8_t Id = 0;  // the window number pieces carry; kGlassNumber for the glass
    TWinKind Kind = TWinKind::Side;
    TMyRect Outer;
    TMyRect Client;
    int32_t CaptionH = 0;
    int32_t BorderW = 0;
    int32_t MinClientW = 0, MinClientH = 0;
    int32_t MaxClientW = 0, MaxClientH = 0;  // 0 = unlimited
    int32_t MinOuterW = 0, MinOuterH = 0, MaxOuterW = 0, MaxOuterH = 0;
    int32_t FrameW = 0, FrameH = 0;
    bool HasScrollBars = false;
    int32_t ScrollX = 0, ScrollY = 0;
    int32_t ContentW = 0, ContentH = 0;  // 0 = no scrolling
    TMyRect HTrack, VTrack, Corner, Grip;
    TMyRect EdgeLeft, EdgeTop, EdgeRight, EdgeBottom, CornerTopLeft, CornerBottomLeft,
        CornerBottomRight;
    bool HScroll = false, VScroll = false;
    TMyRect CaptionArea;
    int32_t LensCorner = 0;
    int32_t KeepVisible = 0;
    TMyRect LensSrc[4], LensDst[4];
    TMyWinButton Buttons[kWinButtonCount];
    std::optional<TWinButtonId> HotButton;  // the button under the mouse
    bool Visible = false;
    bool Active = false;
    bool DragByClient = false;
    bool Resizable = false;
    TMyBitmap CaptionBitmap;
    TMyRect CaptionTextBox;
    bool HasBackground = false;
    int32_t Background = kDefaultBackground;
    int32_t MenuItem = -1;    // the command whose menu item shows this window's visibility
    int32_t ToolButton = -1;  // toolbar slot that toggles it
    int32_t Groups = 0;
    bool KeepAspect = false;

    // Run after the glass is laid out so its lens mask follows the new shape.
    std::function<void(TMyWin&)> OnLensChanged;

    TMyWinButton& Button(TWinButtonId id) { return Buttons[static_cast<int>(id)]; }
    const TMyWinButton& Button(TWinButtonId id) const { return Buttons[static_cast<int>(id)]; }
};

// The seven windows by Id, the glass, the stacking order and the skins.
struct TPlayWindows {
    std::array<TMyWin, kPlayWindowCount> Wins;
    TMyWin Glass;
    std::array<int, kPlayWindowCount> ZOrder{0, 1, 2, 3, 4, 5, 6};  // position 0 bottom .. 6 top
    TMyWin* ActiveWin = nullptr;
    TMyBitmap WinSkin;    // 390 x 170 RGBA
    TMyBitmap GlassSkin;  // 290 x 189 RGBA
    // The loaded background picture (content-sized) and its code, when one is loaded.
    const TMyBitmap* BkgPicture = nullptr;
    int32_t BkgPictureCode = 0;
    // Menus and toolbar follow the active window.
    std::function<void(TMyWin*)> OnActivate;
};

void InitWindow(TMyWin& win, int x, int y, int width, int height, TWinKind kind);
void InitButton(TMyWinButton& btn, int skinX, int skinY, int width, int height, TButtonStyle style);
void PlaceButton(TMyWinButton& btn, const TMyRect& outer);
void UpdateLimits(TMyWin& win);
void SetClientSize(TMyWin& win, bool useGiven, int width, int height);
void Relayout(TMyWin& win);
void ComputeParts(TMyWin& win);
void ConstrainSize(const TMyWin& win, int& width, int& height, bool widthDrives, bool isClient);
// Sets the field's cursor through the platform for the resize codes.
THitCode HitTest(TMyWin& win, int x, int y, bool pressing, Platform& platform);
// glassSkin is only needed for the glass (the opaque parts of its corners).
bool IsOnFrame(const TMyWin& win, int x, int y, const TMyBitmap* glassSkin = nullptr);
bool IsOnScrollBar(const TMyWin& win, int x, int y);
// Applies a scroll code (the thumbs, the arrows or Pan); other codes do nothing.
void ScrollBy(TMyWin& win, THitCode code, int x, int y);
void SetCaption(TMyWin& win, const std::string& text, Platform& platform);
void ClearHover(TMyWin& win);
void SetButtonsActive(TMyWin& win, bool flag);
void CopyGeometry(TMyWin& dst, const TMyWin& src);
// Whether the point lies in the lens ellipse inscribed in the glass's Outer.
bool IsInLens(const TMyWin& glass, int x, int y);

// Stacking and activation over the whole set.
void InitPlayWindows(TPlayWindows& pw);  // z-order and active window reset
void InitZOrder(TPlayWindows& pw);
void BringToFront(TPlayWindows& pw, TMyWin& win);
void Activate(TPlayWindows& pw, TMyWin* win);
void SetVisible(TPlayWindows& pw, TMyWin& win, bool visible);

// Creates the seven windows and the glass as the main window starts: the sides
// visible with the default background, the pockets hidden with their
// captions (pockets 1..4), the thumbnail hidden with its caption; then the
// stacking order is reset.
void CreatePlayWindows(TPlayWindows& pw, Platform& platform,
                       const std::array<std::string, 4>& pocketCaptions,
                       const std::string& thumbCaption);

// Paints frame, scroll bars, background, lens corners and buttons, clipped to update.
void DrawWindow(TMyBitmap& target, const TMyRect& update, const TMyWin& win,
                const TPlayWindows& pw);

}  // namespace orvel
