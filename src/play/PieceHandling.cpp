#include "play/PieceHandling.h"

#include <algorithm>
#include <cstdlib>

#include "game/GameModel.h"
#include "platform/Platform.h"
#include "play/Join.h"
#include "play/PieceGeometry.h"

namespace orvel {

namespace {

// The join star: five pictures of 23 x 23 side by side 24 pixels apart, then
// an empty sixth frame; each shown for 18 milliseconds.
constexpr int kStarSize = 23;
constexpr int kStarStep = 24;
constexpr int kStarPictures = 5;
constexpr int kStarFrames = 6;
constexpr int kStarFrameMs = 18;

// Click-to-drag: a release this close to the press keeps the group in hand.
constexpr int kClickWobbleX = 1;
constexpr int kClickWobbleY = 2;

TMyRect FieldArea(const TFieldView& view) {
    TMyRect r;
    SetPosSize(r, 0, 0, view.FieldW > 0 ? view.FieldW : view.Field.Width,
               view.FieldH > 0 ? view.FieldH : view.Field.Height);
    return r;
}

bool IsPocket(const TMyWin& win) {
    return win.Kind == TWinKind::Pocket;
}

}  // namespace

TPieceHandler::TPieceHandler(TGame& game, TPlayWindows& wins, TFieldView& view,
                             const TFieldLayers& layers, const TSettings& settings,
                             const TPlayArea& area, Platform& platform, TPlayHooks* hooks)
    : m_game(game),
      m_wins(wins),
      m_view(view),
      m_fieldLayers(layers),
      m_settings(settings),
      m_area(area),
      m_platform(platform),
      m_hooks(hooks != nullptr ? *hooks : m_noHooks) {}

void TPieceHandler::Reset() {
    m_layers.Release();
    m_drag = TDragState{};
    m_dragged.clear();
    m_isDragged.clear();
}

TPieceLook TPieceHandler::Look() const {
    return TPieceLook{m_settings.EmbossStyle, m_settings.WoodStyle, m_settings.WoodColor};
}

// ------------------------------------------------------------------ mouse down

void TPieceHandler::MouseDown(int button, uint8_t shift, int x, int y, bool synthetic) {
    if (!m_game.GameLoaded) return;
    TBusyScope busy(m_game);
    RequestUpdate(m_view, FieldUpdate::Whole);
    shift &= kModifierBits;
    m_drag.FrameWin = nullptr;

    TMyWin* active = PressedWindow(x, y);
    SetActive(active);
    if (active == nullptr) return;
    // The wheel's presses only turn: they never grab a window.
    const bool handHeld = m_settings.bClickToDrag && m_game.DragMode == TDragMode::Dragging;
    if (!handHeld && !synthetic && PressOnFrame(*active, button, x, y)) return;
    if (!ContainsPoint(active->Client, x, y)) {
        SetActive(nullptr);
        return;
    }
    // Only sides and pockets hold pieces; a press on the glass has been
    // looked through its lens by now, or belongs to the glass.
    if (!IsSideOrPocket(*active)) return;
    if (IsPocket(*active)) BringToFront(m_wins, *active);
    if (m_hooks.PlacingWeight()) return;
    if (!synthetic && button == kRightButton && PieceAt(x, y) < 0) {
        if (active->HScroll || active->VScroll) StartFrameOperation(*active, THitCode::Pan, button, x, y);
        return;
    }
    if (RotationPress(button, shift, x, y)) return;
    if (synthetic || button != kLeftButton || shift != 0) return;
    if (m_settings.bClickToDrag) {
        if (m_game.DragMode == TDragMode::Dragging) return;  // the drop comes with the release
        m_drag.ClickPending = true;
        m_drag.PressX = x;
        m_drag.PressY = y;
    }
    PickAt(x, y);
}

// The window a press goes to: through the glass's lens (the point becomes
// the one under it), the glass itself, or the topmost window under the point.
TMyWin* TPieceHandler::PressedWindow(int& x, int& y) {
    if (m_wins.Glass.Visible && !m_hooks.LensHit(x, y, true) &&
        ContainsPoint(m_wins.Glass.Outer, x, y))
        return &m_wins.Glass;
    return TopWindowAt(x, y);
}

TMyWin* TPieceHandler::TopWindowAt(int x, int y) {
    for (int pos = kPlayWindowCount - 1; pos >= 0; --pos) {
        TMyWin& win = m_wins.Wins[m_wins.ZOrder[pos]];
        if (win.Visible && ContainsPoint(win.Outer, x, y)) return &win;
    }
    return nullptr;
}

bool TPieceHandler::PressOnFrame(TMyWin& win, int button, int x, int y) {
    THitCode code = HitTest(win, x, y, true, m_platform);
    if (!IsResizeCode(code)) m_platform.SetCursor(CursorShape::Arrow);
    if (code == THitCode::None && (IsOnFrame(win, x, y, &m_wins.GlassSkin) ||
                             (win.DragByClient && ContainsPoint(win.Client, x, y))))
        code = THitCode::Move;
    if (code == THitCode::None) return false;
    StartFrameOperation(win, code, button, x, y);
    return true;
}

void TPieceHandler::StartFrameOperation(TMyWin& win, THitCode code, int button, int x, int y) {
    m_drag.FrameWin = &win;
    m_drag.FrameCode = code;
    m_drag.FrameButton = button;
    m_hooks.FrameStart(win, code, button, x, y);
}

// Counter-clockwise is tested first, so a binding shared by both turns that way.
bool TPieceHandler::RotationPress(int button, uint8_t shift, int x, int y) {
    if (!m_game.Header.Rotate) return false;
    if (button == m_settings.RotCCW_Button && shift == m_settings.RotCCW_Shift) {
        TurnGroup(x, y, false);
        return true;
    }
    if (button == m_settings.RotCW_Button && shift == m_settings.RotCW_Shift) {
        TurnGroup(x, y, true);
        return true;
    }
    return false;
}

void TPieceHandler::PickAt(int x, int y) {
    m_game.PickedPiece = PieceAt(x, y);
    if (m_game.PickedPiece < 0) {
        if (m_game.HasSelection) Deselect();
        StartBand(x, y);
        return;
    }
    if (m_game.HasSelection && m_game.Pieces[m_game.PickedPiece].selected) {
        StartDrag(x, y, true);
        return;
    }
    if (m_game.HasSelection) Deselect();
    StartDrag(x, y, false);
}

void TPieceHandler::SetActive(TMyWin* win) {
    if (m_wins.ActiveWin != win || (win != nullptr && !win->Active)) Activate(m_wins, win);
}

// ------------------------------------------------------------------ mouse move

void TPieceHandler::MouseMove(uint8_t shift, int x, int y, bool buttonsHeld) {
    static_cast<void>(shift);  // no move depends on the modifier keys
    if (!m_game.GameLoaded) return;
    TBusyScope busy(m_game);
    // While the glass itself is being moved the point is not looked through it.
    if (m_wins.Glass.Visible && !(m_wins.ActiveWin == &m_wins.Glass && buttonsHeld))
        m_hooks.LensHit(x, y, true);
    if (m_hooks.PlacingWeight()) {
        m_hooks.MoveWeight(x, y);
        return;
    }
    if (m_drag.FrameWin != nullptr) {
        m_hooks.FrameMove(x, y, buttonsHeld);
        return;
    }
    if (m_game.DragMode == TDragMode::Dragging) {
        MoveDrag(x, y, WindowUnderPoint(x, y), m_game.HasSelection);
        return;
    }
    if (m_game.DragMode == TDragMode::RubberBand) {
        if (const TMyWin* win = m_wins.ActiveWin) {
            m_drag.BandW = ContentX(*win, x) - m_drag.BandLeft;
            m_drag.BandH = ContentY(*win, y) - m_drag.BandTop;
        }
        m_layers.Step(m_view, BandRect(),
                      [](TMyBitmap& field, const TMyRect& clip) { TintBand(field, clip); });
        return;
    }
    if (!buttonsHeld) HoverField(m_view, m_wins, x, y, m_platform);
}

TMyWin* TPieceHandler::WindowUnderPoint(int x, int y) {
    TMyWin* active = m_wins.ActiveWin;
    for (int pos = kPlayWindowCount - 1; pos >= 0; --pos) {
        TMyWin& win = m_wins.Wins[m_wins.ZOrder[pos]];
        if (!win.Visible || !IsSideOrPocket(win)) continue;
        if (!ContainsPoint(&win == active ? win.Outer : win.Client, x, y)) continue;
        if (&win == active || active == nullptr) return nullptr;
        if (win.Kind == TWinKind::Side && active->Kind == TWinKind::Side) return nullptr;
        return &win;
    }
    return nullptr;
}

// ------------------------------------------------------------------ mouse up

void TPieceHandler::MouseUp(int button, uint8_t shift, int x, int y) {
    if (!m_game.GameLoaded) return;
    TBusyScope busy(m_game);
    RequestUpdate(m_view, FieldUpdate::Whole);
    shift &= kModifierBits;
    if (m_wins.Glass.Visible) m_hooks.LensHit(x, y, true);
    if (m_drag.FrameWin != nullptr) {
        m_drag.FrameWin = nullptr;
        m_hooks.FrameEnd(x, y);
        return;
    }
    const int picked = m_game.PickedPiece;
    if (m_settings.bClickToDrag && m_game.DragMode == TDragMode::Dragging && m_wins.ActiveWin == nullptr &&
        picked >= 0 && picked < PiecesInPlay(m_game))
        SetActive(&m_wins.Wins[m_game.Pieces[picked].window % kPlayWindowCount]);
    if (button == kLeftButton && LeftRelease(x, y)) return;
    if (button == m_settings.MoveOW_Button && shift == m_settings.MoveOW_Shift &&
        !m_settings.bSingleWin && m_wins.ActiveWin != nullptr &&
        m_wins.ActiveWin->Kind == TWinKind::Side)
        ReleaseToOtherSide(x, y);
}

bool TPieceHandler::LeftRelease(int x, int y) {
    if (m_settings.bClickToDrag && m_game.DragMode == TDragMode::Dragging && m_drag.ClickPending &&
        std::abs(x - m_drag.PressX) <= kClickWobbleX &&
        std::abs(y - m_drag.PressY) <= kClickWobbleY) {
        m_drag.ClickPending = false;  // picked up: it follows the mouse until the next click
        return true;
    }
    if (m_game.DragMode == TDragMode::Dragging) {
        Drop(x, y);
        return true;
    }
    if (m_game.DragMode == TDragMode::RubberBand) {
        if (m_drag.BandW < 0) {
            m_drag.BandLeft += m_drag.BandW;
            m_drag.BandW = -m_drag.BandW;
        }
        if (m_drag.BandH < 0) {
            m_drag.BandTop += m_drag.BandH;
            m_drag.BandH = -m_drag.BandH;
        }
        EndDrag();
        SelectInBand();
        return true;
    }
    if (m_hooks.PlacingWeight()) {
        m_hooks.DropWeight();
        return true;
    }
    return false;
}

// A moved selection never joins; a group joins its neighbours and is then
// kept reachable in its window.
void TPieceHandler::Drop(int x, int y) {
    const bool whole = m_game.HasSelection;
    m_layers.Release();  // the release recomposes the whole field anyway
    MoveDrag(x, y, nullptr, whole);
    TMyWin* win = m_wins.ActiveWin;
    if (whole) {
        m_game.PickedPiece = -1;
        EndDrag();
        return;
    }
    Join();
    EndDrag();
    if (win == nullptr) return;
    KeepInside(win->Id, false);
    if (IsPocket(*win)) m_hooks.PocketChanged(win->Id);
}

void TPieceHandler::ReleaseToOtherSide(int x, int y) {
    m_game.PickedPiece = PieceAt(x, y);
    if (m_game.PickedPiece >= 0) {
        if (m_game.HasSelection && m_game.Pieces[m_game.PickedPiece].selected) {
            MoveToOtherSide(true);
            Deselect();
        } else {
            if (m_game.HasSelection) Deselect();
            MoveToOtherSide(false);
        }
    }
    EndDrag();
}

// ------------------------------------------------------------------ pieces

int TPieceHandler::PieceAt(int x, int y) {
    const TMyWin* win = m_wins.ActiveWin;
    const int n = PiecesInPlay(m_game);
    if (win == nullptr || n == 0) return -1;
    const int px = ContentX(*win, x), py = ContentY(*win, y);
    SortOrder(m_game, true);
    int found = -1;
    for (const TOrderPair& pair : m_game.DrawOrder) {
        const int i = pair.piece;
        if (i < 0 || i >= n) continue;
        const TPiece& p = m_game.Pieces[i];
        if (p.window != win->Id || px < p.posX || py < p.posY || px >= p.posX + p.rotW ||
            py >= p.posY + p.rotH)
            continue;
        const TMyBitmap& mask = m_game.Mask(p.rotation & 3);
        const int mx = px - p.posX + p.srcX, my = py - p.posY + p.srcY;
        if (mx < 0 || my < 0 || mx >= mask.Width || my >= mask.Height || mask.BytesPerPixel < 3)
            continue;
        if (PixelPtr(mask, mx, my)[0] == p.MaskCode) {
            found = i;
            break;
        }
    }
    SortOrder(m_game, false);
    return found;
}

void TPieceHandler::StartDrag(int x, int y, bool wholeSelection) {
    const int picked = m_game.PickedPiece;
    const TMyWin* win = m_wins.ActiveWin;
    if (picked < 0 || picked >= PiecesInPlay(m_game) || win == nullptr) return;
    BringGroupToTop(m_game, picked);
    const TPiece& p = m_game.Pieces[picked];
    m_drag.Dx = p.posX + win->Client.Left - x - win->ScrollX;
    m_drag.Dy = p.posY + win->Client.Top - y - win->ScrollY;
    m_game.DragMode = TDragMode::Dragging;
    m_game.HasSelection = wholeSelection;
    CollectDragged(wholeSelection);
    BuildLayers();
}

void TPieceHandler::MoveDrag(int x, int y, TMyWin* target, bool wholeSelection) {
    const int picked = m_game.PickedPiece;
    TMyWin* to = target != nullptr ? target : m_wins.ActiveWin;
    if (picked < 0 || picked >= PiecesInPlay(m_game) || to == nullptr) return;
    if (m_dragged.empty()) CollectDragged(wholeSelection);
    const TPiece& p = m_game.Pieces[picked];
    const int from = p.window;
    const int dx = (x + m_drag.Dx + to->ScrollX - to->Client.Left) - p.posX;
    const int dy = (y + m_drag.Dy + to->ScrollY - to->Client.Top) - p.posY;
    for (int i : m_dragged) {
        TPiece& q = m_game.Pieces[i];
        q.posX += dx;
        q.posY += dy;
        if (target != nullptr) q.window = target->Id;
    }
    MarkChanged(m_game);
    if (target == nullptr) {
        StepDrag();
        return;
    }
    if (from >= MW_POCKET0 && from <= MW_POCKET3) m_hooks.PocketChanged(from);
    if (IsPocket(*target)) {
        m_hooks.PocketChanged(target->Id);
        BringToFront(m_wins, *target);
    } else {
        SetActive(target);
    }
    RequestUpdate(m_view, FieldUpdate::Whole);
    if (m_game.DragMode == TDragMode::Dragging) BuildLayers();
}

bool TPieceHandler::Join() {
    const int picked = m_game.PickedPiece;
    const TMyWin* win = m_wins.ActiveWin;
    bool joined = false;
    if (picked >= 0 && picked < PiecesInPlay(m_game) && win != nullptr) {
        const TJoinResult r =
            JoinGroups(m_game, picked, win->Id, SnapDistance(m_game.Header, m_settings.iStuckKoef),
                       m_settings.WoodStyle != 0);
        joined = r.Joins > 0;
        if (joined) AfterJoin(*win, r.LastPiece, r.LastOther);
    }
    m_game.PickedPiece = -1;
    m_game.DragMode = TDragMode::Idle;
    CheckSolved(m_game, [this] { m_hooks.Solved(); });
    MarkChanged(m_game);
    return joined;
}

void TPieceHandler::AfterJoin(const TMyWin& win, int r, int p) {
    if (m_settings.CB_SoundPlay) m_platform.PlaySoundFile(kJoinSound);
    SinkWeightedGroup(m_game);
    SortOrder(m_game, false);
    RequestUpdate(m_view, FieldUpdate::Whole);
    if (!m_settings.CB_VisualShowJoin) return;
    int x = 0, y = 0;
    JoinStarPoint(m_game, r, p, x, y);
    ShowJoinStar(win, x, y);
}

// The star plays over the joined field: the pending redraw is done first,
// then each frame is drawn over the saved field and shown at once.
void TPieceHandler::ShowJoinStar(const TMyWin& win, int x, int y) {
    const TMyBitmap* star = m_star;
    if (star == nullptr || star->Width < kStarStep * (kStarPictures - 1) + kStarSize ||
        star->Height < kStarSize)
        return;
    FlushField(m_view, m_wins, m_fieldLayers);
    TMyRect at, part;
    SetPosSize(at, FieldX(win, x) - kStarSize / 2, FieldY(win, y) - kStarSize / 2, kStarSize,
               kStarSize);
    if (!IntersectRect(at, FieldArea(m_view), &part)) return;
    if (m_starPatch.Width != kStarSize && !Create24(m_starPatch, kStarSize, kStarSize)) return;
    const int px = part.Left - at.Left, py = part.Top - at.Top;
    CopyRect(m_starPatch, px, py, part.Width, part.Height, m_view.Field, part.Left, part.Top);
    for (int frame = 0; frame < kStarFrames; ++frame) {
        CopyRect(m_view.Field, part.Left, part.Top, part.Width, part.Height, m_starPatch, px, py);
        if (frame < kStarPictures) {
            if (star->HasAlpha)
                BlitAlpha(m_view.Field, at.Left, at.Top, kStarSize, kStarSize, *star,
                          kStarStep * frame, 0, kStarSize, kStarSize, part);
            else
                BlitKeyed(m_view.Field, at.Left, at.Top, kStarSize, kStarSize, *star,
                          kStarStep * frame, 0, kStarSize, kStarSize, part, 0xFFFFFF);
        }
        if (m_view.Invalidate) m_view.Invalidate(part);
        m_platform.SleepMs(kStarFrameMs);
    }
}

void TPieceHandler::TurnGroup(int x, int y, bool clockwise) {
    TMyWin* win = m_wins.ActiveWin;
    if (win == nullptr) return;
    const bool dragging = m_game.DragMode == TDragMode::Dragging;
    if (m_game.HasSelection) {
        Deselect();
        // The drag goes on with the picked group alone.
        if (dragging) RebuildDragLayers();
    }
    if (!dragging) m_game.PickedPiece = PieceAt(x, y);
    const int picked = m_game.PickedPiece;
    const int n = PiecesInPlay(m_game);
    if (picked < 0 || picked >= n) return;
    const int frame = FramePieceIndex(m_game);
    if (frame >= 0 && m_game.Pieces[frame].group == m_game.Pieces[picked].group) {
        if (!dragging) m_game.PickedPiece = -1;
        return;
    }
    if (!dragging) BringGroupToTop(m_game, picked);
    const int32_t group = m_game.Pieces[picked].group;
    const int turned = (m_game.Pieces[picked].rotation + (clockwise ? 1 : 3)) % 4;
    const int f = ContentX(*win, x), h = ContentY(*win, y);
    for (int i = 0; i < n; ++i) {
        TPiece& p = m_game.Pieces[i];
        if (p.group != group) continue;
        const int oldX = p.posX, oldY = p.posY;
        if (clockwise) {
            p.posX = f + h - oldY - p.rotH + 1;
            p.posY = h + oldX - f;
        } else {
            p.posX = f + oldY - h;
            p.posY = h + f - oldX - p.rotW + 1;
        }
        p.rotation = static_cast<uint8_t>(turned);
        UpdateRotatedBox(m_game, i);
    }
    if (dragging) {
        m_drag.Dx = m_game.Pieces[picked].posX - f;
        m_drag.Dy = m_game.Pieces[picked].posY - h;
        StepDrag();
    } else {
        m_game.PickedPiece = -1;  // nothing is held after a turn in place
        // A band being drawn keeps its background in step with the turn.
        if (m_game.DragMode == TDragMode::RubberBand) BuildLayers();
    }
    CheckSolved(m_game, [this] { m_hooks.Solved(); });
    MarkChanged(m_game);
}

void TPieceHandler::MoveToOtherSide(bool wholeSelection) {
    const TMyWin* win = m_wins.ActiveWin;
    const int n = PiecesInPlay(m_game);
    if (win == nullptr || win->Kind != TWinKind::Side) return;
    const uint8_t other = static_cast<uint8_t>(1 - win->Id);
    if (wholeSelection) {
        for (int i = 0; i < n; ++i)
            if (m_game.Pieces[i].selected) m_game.Pieces[i].window = other;
    } else {
        const int picked = m_game.PickedPiece;
        if (picked < 0 || picked >= n) return;
        BringGroupToTop(m_game, picked);
        const int32_t group = m_game.Pieces[picked].group;
        for (int i = 0; i < n; ++i)
            if (m_game.Pieces[i].group == group) m_game.Pieces[i].window = other;
    }
    m_game.PickedPiece = -1;
    MarkChanged(m_game);
}

// ------------------------------------------------------------------ selection

bool TPieceHandler::CarriesWeight(const TPiece& piece) const {
    const int w = m_game.WeightPiece;
    return w >= 0 && w < PiecesInPlay(m_game) && m_game.Pieces[w].group == piece.group;
}

void TPieceHandler::SelectAll() {
    if (!m_game.GameLoaded) return;
    TBusyScope busy(m_game);
    if (m_game.HasSelection) Deselect();
    TMyWin* win = m_wins.ActiveWin;
    if (win == nullptr || !IsSideOrPocket(*win)) {
        win = &CurrentWindow(m_wins);
        SetActive(win);
    }
    bool any = false;
    const int n = PiecesInPlay(m_game);
    for (int i = 0; i < n; ++i) {
        TPiece& p = m_game.Pieces[i];
        if (p.window != win->Id || CarriesWeight(p)) continue;
        p.selected = 1;
        any = true;
    }
    FinishSelection(any);
}

void TPieceHandler::SelectInBand() {
    const TMyWin* win = m_wins.ActiveWin;
    const int n = PiecesInPlay(m_game);
    if (win == nullptr || n == 0) return;
    const int frame = FramePieceIndex(m_game);
    const int x0 = m_drag.BandLeft, y0 = m_drag.BandTop;
    const int x1 = x0 + m_drag.BandW, y1 = y0 + m_drag.BandH;
    const auto inside = [&](int i) {
        const TPiece& p = m_game.Pieces[i];
        const int mx = i == frame ? kFrameWidth : p.rotW / 3,
                  my = i == frame ? kFrameWidth : p.rotH / 3;
        return p.posX + mx >= x0 && p.posY + my >= y0 && x1 >= p.posX + p.rotW - mx &&
               y1 >= p.posY + p.rotH - my;
    };
    SortOrder(m_game, false);
    bool any = false;
    for (int first = 0, last = 0; first < n; first = last) {
        const int32_t group = m_game.DrawOrder[first].group;
        for (last = first + 1; last < n && m_game.DrawOrder[last].group == group;) ++last;
        const TPiece& lead = m_game.Pieces[m_game.DrawOrder[first].piece];
        if (lead.window != win->Id || CarriesWeight(lead)) continue;
        bool all = true;
        for (int k = first; k < last && all; ++k) all = inside(m_game.DrawOrder[k].piece);
        if (!all) continue;
        for (int k = first; k < last; ++k) m_game.Pieces[m_game.DrawOrder[k].piece].selected = 1;
        any = true;
    }
    FinishSelection(any);
}

void TPieceHandler::FinishSelection(bool any) {
    RequestUpdate(m_view, FieldUpdate::Whole);
    if (!any) {
        SortOrder(m_game, false);
        return;
    }
    BringSelectionToTop(m_game);
    m_game.HasSelection = true;
    m_hooks.SelectionChanged(true);
}

void TPieceHandler::Deselect() {
    if (!m_game.GameLoaded) return;
    TBusyScope busy(m_game);
    const int n = PiecesInPlay(m_game);
    for (int i = 0; i < n; ++i) m_game.Pieces[i].selected = 0;
    if (const TMyWin* win = m_wins.ActiveWin; win != nullptr && IsSideOrPocket(*win))
        KeepInside(win->Id, false);
    m_game.HasSelection = false;
    m_hooks.SelectionChanged(false);
    RequestUpdate(m_view, FieldUpdate::Whole);
}

void TPieceHandler::KeepInside(int window, bool strict) {
    if (window < MW_SIDE0 || window > MW_POCKET3) return;
    int width = 0, height = 0;
    KeepInsideBounds(m_wins, m_area, window, width, height);
    if (KeepGroupsInside(m_game, window, width, height, strict)) {
        if (window >= MW_POCKET0) m_hooks.PocketChanged(window);
        RequestUpdate(m_view, FieldUpdate::Whole);
    }
    MarkChanged(m_game);
}

// ------------------------------------------------------------------ drawing and drag layers

void TPieceHandler::DrawPieces(TMyBitmap& field, const TMyWin& win, const TMyRect& update) {
    if (!m_game.GameLoaded) return;
    DrawWindowPieces(field, win, update, m_game, Look(), m_noSkip, &m_runs);
}

void TPieceHandler::CollectDragged(bool wholeSelection) {
    const int n = PiecesInPlay(m_game);
    m_dragged.clear();
    m_isDragged.assign(static_cast<size_t>(n), 0);
    const int picked = m_game.PickedPiece;
    if (!wholeSelection && (picked < 0 || picked >= n)) return;
    const int32_t group = wholeSelection ? 0 : m_game.Pieces[picked].group;
    SortOrder(m_game, false);
    for (const TOrderPair& pair : m_game.DrawOrder) {
        const TPiece& p = m_game.Pieces[pair.piece];
        if (wholeSelection ? p.selected == 0 : p.group != group) continue;
        m_dragged.push_back(pair.piece);
        m_isDragged[pair.piece] = 1;
    }
}

TMyRect TPieceHandler::DraggedRect() const {
    TMyRect all;
    const TPieceLook look = Look();
    for (int i : m_dragged) {
        const TPiece& p = m_game.Pieces[i];
        TMyRect r = PieceFieldRect(m_game, m_wins.Wins[p.window % kPlayWindowCount], p, look);
        TMyRect inClient;
        if (IntersectRect(r, m_wins.Wins[p.window % kPlayWindowCount].Client, &inClient))
            IncludeBox(all, inClient.Left, inClient.Top, inClient.Right, inClient.Bottom);
    }
    return all;
}

void TPieceHandler::DrawDragged(TMyBitmap& field, const TMyRect& clip) {
    const TPieceLook look = Look();
    for (int i : m_dragged)
        DrawPiece(field, clip, m_wins.Wins[m_game.Pieces[i].window % kPlayWindowCount], m_game, i,
                  look, &m_runs);
}

TFieldLayers TPieceHandler::StillLayers() {
    TFieldLayers still = m_fieldLayers;
    still.DrawOverlays = nullptr;
    still.DrawPieces = [this](TMyBitmap& field, const TMyWin& win, const TMyRect& update) {
        if (m_game.GameLoaded)
            DrawWindowPieces(field, win, update, m_game, Look(), m_isDragged, &m_runs);
    };
    return still;
}

void TPieceHandler::BuildLayers() {
    if (m_game.DragMode == TDragMode::Dragging) {
        m_layers.Build(m_view, FieldArea(m_view), m_wins, StillLayers(), DraggedRect(),
                       [this](TMyBitmap& field, const TMyRect& clip) { DrawDragged(field, clip); });
    } else if (m_game.DragMode == TDragMode::RubberBand) {
        m_isDragged.clear();
        m_layers.Build(m_view, FieldArea(m_view), m_wins, StillLayers(), BandRect(),
                       [](TMyBitmap& field, const TMyRect& clip) { TintBand(field, clip); });
    }
}

void TPieceHandler::RebuildDragLayers() {
    if (m_game.DragMode == TDragMode::Dragging) CollectDragged(m_game.HasSelection);
    BuildLayers();
}

void TPieceHandler::FollowShownSide(int side) {
    if (m_game.DragMode == TDragMode::Dragging) {
        CollectDragged(m_game.HasSelection);
        for (int piece : m_dragged) {
            TPiece& p = m_game.Pieces[piece];
            if (p.window == MW_SIDE0 || p.window == MW_SIDE1) p.window = static_cast<uint8_t>(side);
        }
    }
    if (m_game.DragMode != TDragMode::Idle) RebuildDragLayers();
}

void TPieceHandler::StepDrag() {
    if (!m_layers.Active()) {
        RequestUpdate(m_view, FieldUpdate::Whole);
        return;
    }
    m_layers.Step(m_view, DraggedRect(),
                  [this](TMyBitmap& field, const TMyRect& clip) { DrawDragged(field, clip); });
}

void TPieceHandler::EndDrag() {
    m_layers.Release();
    m_dragged.clear();
    m_isDragged.clear();
    m_drag.ClickPending = false;
    m_game.DragMode = TDragMode::Idle;
}

void TPieceHandler::StartBand(int x, int y) {
    const TMyWin* win = m_wins.ActiveWin;
    if (win == nullptr) return;
    m_drag.BandLeft = ContentX(*win, x);
    m_drag.BandTop = ContentY(*win, y);
    m_drag.BandW = 1;
    m_drag.BandH = 1;
    m_game.DragMode = TDragMode::RubberBand;
    BuildLayers();
}

TMyRect TPieceHandler::BandRect() const {
    TMyRect band, clipped;
    const TMyWin* win = m_wins.ActiveWin;
    if (win == nullptr) return band;
    const int left = Min(m_drag.BandLeft, m_drag.BandLeft + m_drag.BandW);
    const int top = Min(m_drag.BandTop, m_drag.BandTop + m_drag.BandH);
    SetPosSize(band, FieldX(*win, left), FieldY(*win, top), std::abs(m_drag.BandW),
               std::abs(m_drag.BandH));
    if (IsEmpty(band)) return TMyRect{};
    IntersectRect(band, win->Client, &clipped);
    return clipped;
}

}  // namespace orvel
