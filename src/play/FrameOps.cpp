#include "play/FrameOps.h"

#include "base/IntMath.h"
#include "platform/Platform.h"

namespace orvel {

namespace {

bool IsSide(const TMyWin& win) {
    return win.Kind == TWinKind::Side;
}

void MoveOuter(TMyWin& win, int left, int top) {
    SetPosSize(win.Outer, left, top, win.Outer.Width, win.Outer.Height);
    Relayout(win);
}

// The glass keeps `keep` pixels on the area, measured on its inclusive edges.
bool PullBackGlass(TMyWin& g, const TPlayArea& area) {
    const int k = g.KeepVisible;
    int left = g.Outer.Left, top = g.Outer.Top;
    if (g.Outer.Right <= k) left = k - g.Outer.Width;
    if (g.Outer.Left >= area.PlayW - k) left = area.PlayW - k;
    if (g.Outer.Bottom <= k) top = k - g.Outer.Height;
    if (g.Outer.Top >= area.PlayH - k) top = area.PlayH - k;
    if (left == g.Outer.Left && top == g.Outer.Top) return false;
    MoveOuter(g, left, top);
    return true;
}

// A captioned window keeps twice its caption bar's height across and its
// caption on the area.
bool PullBackCaptioned(TMyWin& w, const TPlayArea& area) {
    const int a = w.CaptionH + w.BorderW;
    int left = w.Outer.Left, top = w.Outer.Top;
    if (w.Outer.Right <= 2 * a) left = 2 * a - w.Outer.Width;
    if (w.Outer.Left >= area.PlayW - 2 * a) left = area.PlayW - 2 * a;
    if (w.Outer.Top < 0) top = 0;
    if (w.Outer.Top >= area.PlayH - a) top = area.PlayH - a;
    if (left == w.Outer.Left && top == w.Outer.Top) return false;
    MoveOuter(w, left, top);
    return true;
}

// Scrolls to (sx, sy), held within the content, and moves the thumbs.
void ScrollTo(TMyWin& win, int sx, int sy) {
    if (win.HScroll) win.ScrollX = Clamp(sx, 0, Max(0, win.ContentW - win.Client.Width));
    if (win.VScroll) win.ScrollY = Clamp(sy, 0, Max(0, win.ContentH - win.Client.Height));
    ComputeParts(win);
}

}  // namespace

void PullBackWindows(TPlayWindows& pw, const TPlayArea& area) {
    if (pw.Glass.Visible) PullBackGlass(pw.Glass, area);
    for (TMyWin& w : pw.Wins)
        if (w.Visible && w.CaptionH > 0) PullBackCaptioned(w, area);
}

TFrameOperation::TFrameOperation(TPlayWindows& pw, const TPlayArea& area, Platform& platform)
    : m_pw(pw), m_area(area), m_platform(platform) {}

void TFrameOperation::Start(TMyWin& win, THitCode code, int button, int x, int y, int mainW,
                            int mainH) {
    static_cast<void>(button);  // every button moves, resizes and pans alike
    m_win = &win;
    m_code = code;
    m_mainGrip = false;
    if (win.Kind == TWinKind::Pocket || win.Kind == TWinKind::Thumb) BringToFront(m_pw, win);
    const TMyRect& o = win.Outer;
    switch (code) {
        case THitCode::Move:
        case THitCode::Left:
        case THitCode::Top:
        case THitCode::TopLeft:
            m_grabX = x - o.Left;
            m_grabY = y - o.Top;
            break;
        case THitCode::Right:
        case THitCode::Bottom:
        case THitCode::BottomRight:
            m_mainGrip = IsSide(win) && code == THitCode::BottomRight;
            m_grabX = m_mainGrip ? mainW - x : o.Right - x;
            m_grabY = m_mainGrip ? mainH - y : o.Bottom - y;
            break;
        case THitCode::BottomLeft:
            m_grabX = x - o.Left;
            m_grabY = o.Bottom - y;
            break;
        case THitCode::HThumb:
            m_grabX = x - win.Button(TWinButtonId::HThumb).Bounds.Left;
            break;
        case THitCode::VThumb:
            m_grabY = y - win.Button(TWinButtonId::VThumb).Bounds.Top;
            break;
        case THitCode::LeftArrow:
        case THitCode::RightArrow:
        case THitCode::UpArrow:
        case THitCode::DownArrow:
            ScrollBy(win, code, x, y);
            Scrolled();
            break;
        case THitCode::Pan:
            m_pressX = x;
            m_pressY = y;
            m_startScrollX = win.ScrollX;
            m_startScrollY = win.ScrollY;
            m_platform.SetCursor(CursorShape::Hand);
            break;
        default:
            break;
    }
}

void TFrameOperation::Move(int x, int y, bool buttonHeld) {
    if (m_win == nullptr) return;
    TMyWin& win = *m_win;
    switch (m_code) {
        case THitCode::Move:
            // The sides fill the field; they never move.
            if (!IsSide(win)) MoveOuter(win, x - m_grabX, y - m_grabY);
            break;
        case THitCode::HThumb:
            ScrollBy(win, m_code, x - m_grabX, y);
            Scrolled();
            break;
        case THitCode::VThumb:
            ScrollBy(win, m_code, x, y - m_grabY);
            Scrolled();
            break;
        case THitCode::Pan:
            Pan(x, y, buttonHeld);
            break;
        default:
            if (IsResizeCode(m_code)) Resize(x, y);
            break;
    }
}

void TFrameOperation::End(int x, int y) {
    static_cast<void>(x);
    static_cast<void>(y);
    if (m_win == nullptr) return;
    TMyWin& win = *m_win;
    const THitCode code = m_code;
    m_win = nullptr;
    m_code = THitCode::None;
    ClearHover(win);
    switch (code) {
        case THitCode::Move:
            PullBackWindows(m_pw, m_area);
            break;
        case THitCode::Close:
            if (Actions.Close) Actions.Close(win);
            break;
        case THitCode::Zoom1:
        case THitCode::Zoom2:
            if (Actions.GlassZoom) Actions.GlassZoom(code == THitCode::Zoom1 ? 3 : 2);
            break;
        case THitCode::Pan:
            m_platform.SetCursor(CursorShape::Arrow);
            break;
        default:
            break;
    }
}

// The dragged edges follow the mouse; the size stays within the window's
// limits, the opposite edges stay where they are.
void TFrameOperation::Resize(int x, int y) {
    if (m_mainGrip) {
        if (Actions.ResizeMain) Actions.ResizeMain(x + m_grabX, y + m_grabY);
        return;
    }
    TMyWin& win = *m_win;
    if (!win.Resizable) return;
    const THitCode c = m_code;
    const bool left = c == THitCode::Left || c == THitCode::TopLeft || c == THitCode::BottomLeft;
    const bool right = c == THitCode::Right || c == THitCode::BottomRight;
    const bool top = c == THitCode::Top || c == THitCode::TopLeft;
    const bool bottom =
        c == THitCode::Bottom || c == THitCode::BottomLeft || c == THitCode::BottomRight;
    const TMyRect o = win.Outer;
    int w = o.Width, h = o.Height;
    if (left) w = o.Right - (x - m_grabX) + 1;
    if (right) w = x + m_grabX - o.Left + 1;
    if (top) h = o.Bottom - (y - m_grabY) + 1;
    if (bottom) h = y + m_grabY - o.Top + 1;
    ConstrainSize(win, w, h, left || right, false);
    SetPosSize(win.Outer, left ? o.Right - w + 1 : o.Left, top ? o.Bottom - h + 1 : o.Top, w, h);
    Relayout(win);
    if (Actions.Resized) Actions.Resized(win);
}

// The two sides always show the same part of the content.
void TFrameOperation::Scrolled() {
    TMyWin& win = *m_win;
    if (IsSide(win)) CopyGeometry(m_pw.Wins[1 - win.Id], win);
}

// The content follows the hand while a button is held.
void TFrameOperation::Pan(int x, int y, bool buttonHeld) {
    if (!buttonHeld) {
        m_platform.SetCursor(CursorShape::Arrow);
        m_win = nullptr;
        m_code = THitCode::None;
        return;
    }
    TMyWin& win = *m_win;
    ScrollTo(win, m_startScrollX - (x - m_pressX), m_startScrollY - (y - m_pressY));
    Scrolled();
}

}  // namespace orvel
