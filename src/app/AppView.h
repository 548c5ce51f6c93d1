#pragma once

// What the application core asks of the window that shows it. The program's
// main window implements it with Qt; headless tests record the calls. Every
// default does nothing, so a core without a window runs as well.

#include <string>

#include "app/GameInfo.h"
#include "download/Downloader.h"
#include "graphics/Bitmap.h"
#include "graphics/Rect.h"
#include "library/DirView.h"

namespace orvel {
class TOptionsDialog;
class TColorPicker;
}  // namespace orvel

namespace orvel {

// A window's place on the screen: the client area's origin and size.
struct TBounds {
    int X = 0, Y = 0, W = 0, H = 0;
    bool operator==(const TBounds&) const = default;
};

// Where the main window's parts lie, in client coordinates: the toolbar
// across the top, the field below it, the progress panel centred on the field.
struct TMainLayout {
    int Width = 0, Height = 0;
    int FieldTop = 0, FieldW = 0, FieldH = 0;
    int ProgressLeft = 0, ProgressTop = 0;
    bool operator==(const TMainLayout&) const = default;
};

class TAppView {
public:
    virtual ~TAppView() = default;

    // The window shows for the first time (start-up).
    virtual void ShowWindow() {}
    // The parts of the window moved or were resized.
    virtual void LayoutChanged(const TMainLayout& /*layout*/) {}
    // A rectangle (inclusive edges) of the field picture changed.
    virtual void FieldChanged(const TMyBitmap& /*field*/, const TMyRect& /*rect*/) {}

    // A menu item's caption, enabled, checked or visible state changed.
    virtual void MenuItemChanged(int /*cmd*/) {}
    // Every caption and hint changed (a language was applied).
    virtual void TextsChanged() {}
    // A toolbar button's picture changed; hot: drawn as under the mouse.
    virtual void ToolButtonChanged(int /*slot*/, bool /*hot*/) {}
    // The toolbar buttons' places, visibility or pressed offset changed.
    virtual void ToolbarPlaced() {}

    // The progress panel: shown with its text and an empty bar, the bar
    // filled to done of steps, hidden.
    virtual void ProgressShown(const std::string& /*text*/) {}
    virtual void ProgressStepped(int /*done*/, int /*steps*/) {}
    virtual void ProgressHidden() {}

    // A game has started: the autosave timer runs from now on.
    virtual void AutoSaveTimerStarted() {}

    // The window's bounds now (remembered when full screen begins).
    virtual TBounds WindowBounds() const { return {}; }
    // Enters or leaves the desktop's full-screen state and takes the bounds.
    virtual void ApplyWindowState(bool /*fullScreen*/, const TBounds& /*bounds*/) {}
    virtual void Minimize() {}
    // Closes the window the ordinary way, which asks the core's CloseRequest.
    virtual void RequestClose() {}

    // Pops the command menu up with its top-left corner at a client point.
    virtual void PopUpMenu(int /*x*/, int /*y*/) {}
    // Shows the about box modally.
    virtual void ShowAbout(const std::string& /*caption*/) {}

    // Resizes the window so its client becomes width x height (a side's
    // resize grip); the window reports its new size through Resize.
    virtual void ResizeClient(int /*width*/, int /*height*/) {}

    // Whether this window can show the jigsaw and saved-game browser; a core
    // without one asks the platform's file chooser for a jigsaw instead.
    virtual bool HasDirView() const { return false; }
    // Shows the browser modally until it closes; returns how it closed.
    virtual DirResult ShowDirView(TDirView& /*dirView*/) { return DirResult::Cancel; }
    // Shows the options dialog modally; true when it closed with OK.
    virtual bool ShowOptions(TOptionsDialog& /*dialog*/) { return false; }
    // Shows the colour picker modally; true when it closed with OK.
    virtual bool ShowColorPicker(TColorPicker& /*picker*/) { return false; }
    // Shows the quick-help box (again); shows the credits modally.
    virtual void ShowQuickHelp() {}
    virtual void ShowCredits() {}

    // Shows the game-information form modally.
    virtual void ShowInfo(const TInfoForm& /*form*/) {}
    // Shows the finish form modally; true when the player chose to save the picture.
    virtual bool ShowFinish(const TFinishForm& /*form*/) { return false; }
    // The mouse pointer in field coordinates now; false when that is not known.
    virtual bool FieldCursor(int& /*x*/, int& /*y*/) const { return false; }
    // Shows the download window modally over the core's downloader: it calls
    // Show at the start and Close at the end. Without a window nothing is shown.
    virtual void ShowDownload(TDownloader& /*downloader*/) {}
};

}  // namespace orvel
