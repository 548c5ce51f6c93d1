#pragma once

// Piece handling with the mouse: what a press on the play field means, the
// drag of a group or a selection within and between windows, turning a
// group, sending it to the other side, the rubber band, and the join when a
// group is dropped. Driven by plain mouse events in field coordinates.

#include <cstdint>
#include <vector>

#include "game/GameState.h"
#include "graphics/Bitmap.h"
#include "play/DragLayers.h"
#include "play/Field.h"
#include "play/PieceDraw.h"
#include "play/PieceRuns.h"
#include "play/PlayWindow.h"
#include "play/Sides.h"
#include "settings/Settings.h"

namespace orvel {

class Platform;

// Mouse buttons as the events name them, and the modifier bits of a shift
// set (1 Shift, 2 Alt, 4 Ctrl); other bits of a shift state are dropped.
constexpr int kLeftButton = 0;
constexpr int kRightButton = 1;
constexpr uint8_t kModifierBits = 7;

// The join sound, played by file name.
inline constexpr const char* kJoinSound = "set.wav";

// What the piece handling asks of the program around it: the window-frame
// operations, the glass, the weight, the pockets' captions and sizes, the
// menus and the finish. Every default does nothing, so a part that is not
// there leaves its feature inert (a press on a window frame starts nothing).
class TPlayHooks {
public:
    virtual ~TPlayHooks() = default;

    // A press on a window's frame, border, scroll bar or button (or a right
    // press on an empty place of a window with scroll bars, THitCode::Pan) starts
    // the operation of that hit code; moves and the release are routed to it
    // until it ends.
    virtual void FrameStart(TMyWin& /*win*/, THitCode /*code*/, int /*button*/, int /*x*/, int /*y*/) {}
    virtual void FrameMove(int /*x*/, int /*y*/, bool /*buttonHeld*/) {}
    virtual void FrameEnd(int /*x*/, int /*y*/) {}

    // The glass: whether a field point lies inside its lens; when it does
    // and map is set, the point becomes the field point seen under the lens.
    virtual bool LensHit(int& /*x*/, int& /*y*/, bool /*map*/) { return false; }

    // The weight following the mouse until the next left release.
    virtual bool PlacingWeight() { return false; }
    virtual void MoveWeight(int /*x*/, int /*y*/) {}
    virtual void DropWeight() {}

    // The groups or pieces of a pocket changed: its count, caption and
    // content size follow.
    virtual void PocketChanged(int /*window*/) {}
    // A selection appeared or went: MI_GameArrange and toolbar button 14 follow.
    virtual void SelectionChanged(bool /*hasSelection*/) {}
    // The solved test passed: the finish sequence.
    virtual void Solved() {}
};

// The handler's own part of the drag state (the game holds PickedPiece,
// DragMode and HasSelection).
struct TDragState {
    // The picked piece's position relative to the mouse, in content pixels.
    int Dx = 0;
    int Dy = 0;
    // Click-to-drag: the press that picked the group up, until it is let go.
    bool ClickPending = false;
    int PressX = 0;
    int PressY = 0;
    // The rubber band in the active window's content coordinates; width and
    // height may be negative while it is drawn.
    int BandLeft = 0;
    int BandTop = 0;
    int BandW = 0;
    int BandH = 0;
    // The window-frame operation in progress (none: FrameWin null).
    TMyWin* FrameWin = nullptr;
    THitCode FrameCode = THitCode::None;
    int FrameButton = kLeftButton;
};

class TPieceHandler {
public:
    // Everything is held by reference and must outlive the handler; the
    // settings are read live, so option changes apply at once. layers are
    // the ones the field is composed with (their DrawPieces is expected to
    // call DrawPieces below).
    TPieceHandler(TGame& game, TPlayWindows& wins, TFieldView& view, const TFieldLayers& layers,
                  const TSettings& settings, const TPlayArea& area, Platform& platform,
                  TPlayHooks* hooks = nullptr);

    // The join star strip: frames of 23 x 23 at x = 24 * frame (none: no star).
    void SetStarImage(const TMyBitmap* star) { m_star = star; }
    // Forgets the drag, the band and any frame operation (a game was opened).
    void Reset();

    // Field mouse events: button 0 left, 1 right; shift a set of modifier
    // bits. synthetic marks the press the wheel makes (a press alone, for
    // turning). Each marks the game Busy while it runs and leaves the field
    // update it needs pending in the view.
    void MouseDown(int button, uint8_t shift, int x, int y, bool synthetic);
    void MouseMove(uint8_t shift, int x, int y, bool buttonsHeld);
    void MouseUp(int button, uint8_t shift, int x, int y);

    // The topmost piece of the active window under a field point whose mask
    // holds it there; -1 none.
    int PieceAt(int x, int y);
    void StartDrag(int x, int y, bool wholeSelection);
    // Moves the dragged pieces so the picked one keeps its grab offset under
    // (x, y); with a target they also move into that window.
    void MoveDrag(int x, int y, TMyWin* target, bool wholeSelection);
    // Joins the picked group where it lies; true when anything joined.
    bool Join();
    void TurnGroup(int x, int y, bool clockwise);
    // Sends the picked group (or the selection) to the other side.
    void MoveToOtherSide(bool wholeSelection);
    void SelectAll();
    void SelectInBand();
    void Deselect();
    // Keeps the groups of a window reachable (strict or loose), with the
    // redraw, the pocket's content and the change step.
    void KeepInside(int window, bool strict);
    // The window a drag at (x, y) would move into; null when it stays.
    TMyWin* WindowUnderPoint(int x, int y);
    // Rebuilds the drag layers of a running drag or band (after the shown
    // side changed, say).
    void RebuildDragLayers();
    // The shown side changed to side: pieces dragged from a side come along
    // to it, and a running drag or band goes on over the new side.
    void FollowShownSide(int side);

    // The composition's TFieldLayers::DrawPieces: the pieces of one window.
    void DrawPieces(TMyBitmap& field, const TMyWin& win, const TMyRect& update);

    TPieceLook Look() const;
    const TDragState& Drag() const { return m_drag; }
    bool DragLayersActive() const { return m_layers.Active(); }
    // The runs the pieces are drawn from, gathered as they are first drawn.
    const TPieceRunsCache& DrawRuns() const { return m_runs; }

private:
    TMyWin* PressedWindow(int& x, int& y);
    TMyWin* TopWindowAt(int x, int y);
    bool PressOnFrame(TMyWin& win, int button, int x, int y);
    void StartFrameOperation(TMyWin& win, THitCode code, int button, int x, int y);
    bool RotationPress(int button, uint8_t shift, int x, int y);
    void PickAt(int x, int y);
    bool LeftRelease(int x, int y);
    void Drop(int x, int y);
    void ReleaseToOtherSide(int x, int y);
    void FinishSelection(bool any);
    bool CarriesWeight(const TPiece& piece) const;
    void SetActive(TMyWin* win);

    void CollectDragged(bool wholeSelection);
    TMyRect DraggedRect() const;
    void DrawDragged(TMyBitmap& field, const TMyRect& clip);
    void BuildLayers();
    void StepDrag();
    void EndDrag();
    void StartBand(int x, int y);
    TMyRect BandRect() const;
    TFieldLayers StillLayers();

    void AfterJoin(const TMyWin& win, int r, int p);
    void ShowJoinStar(const TMyWin& win, int x, int y);

    TGame& m_game;
    TPlayWindows& m_wins;
    TFieldView& m_view;
    const TFieldLayers& m_fieldLayers;
    const TSettings& m_settings;
    const TPlayArea& m_area;
    Platform& m_platform;
    TPlayHooks m_noHooks;
    TPlayHooks& m_hooks;
    const TMyBitmap* m_star = nullptr;

    TDragState m_drag;
    TDragLayers m_layers;
    std::vector<int> m_dragged;        // the moving pieces in ascending draw order
    std::vector<uint8_t> m_isDragged;  // by piece index, for the still layer
    const std::vector<uint8_t> m_noSkip;
    TMyBitmap m_starPatch;  // the field under the join star
    TPieceRunsCache m_runs;
};

}  // namespace orvel
