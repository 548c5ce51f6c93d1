#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"

namespace orvel {

struct TMyBitmap;

// The four message-box kinds every message of the game uses, plus Yes/No/Cancel.
enum class MsgKind {
    Warning,      // warning sign, OK
    Info,         // information sign, OK
    OkCancel,     // question, OK / Cancel
    YesNo,        // question, Yes / No
    YesNoCancel,  // question, Yes / No / Cancel
};

enum class MsgResult { Ok, Cancel, Yes, No };

enum class CursorShape {
    Arrow,
    SizeWE,      // left/right edge
    SizeNS,      // top/bottom edge
    SizeNWSE,    // top-left / bottom-right corner
    SizeNESW,    // top-right / bottom-left corner
    Hand,
    DragOpen,    // the game's own open-hand drag cursor
    DragClosed,  // the game's own closed-hand drag cursor
    Wait,
};

struct ScreenMetrics {
    int ScreenW = 1920;
    int ScreenH = 1080;
    TRect WorkArea{0, 0, 1919, 1039};  // inclusive edges
    int FrameW = 4;                     // sizing frame width of a normal window
    int FrameH = 4;
    int CaptionH = 23;                  // caption bar height of a normal window
    int BitsPerPixel = 24;              // colour depth of the screen
};

struct TextStyle {
    std::string Family = "Sans";
    int PointSize = 8;
    bool Bold = false;
    TColor Color = 0;  // 0x00BBGGRR
    bool EndEllipsis = false;
};

struct TextExtent {
    int Width = 0;
    int Height = 0;
};

// Everything the core asks of the desktop. The program passes a Qt-backed
// implementation; tests pass FakePlatform, which records the calls.
class Platform {
public:
    virtual ~Platform() = default;

    // A message box over the active window; caption is the application title.
    virtual MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgKind kind) = 0;

    // Plays a sound file asynchronously; a missing device or file is silent.
    virtual void PlaySoundFile(const std::string& path) = 0;
    // Opens a URL or a file with the desktop's default handler.
    virtual bool OpenWithDefault(const std::string& urlOrPath) = 0;
    // Opens the help at a page (a file name inside the language's help folder).
    virtual void OpenHelp(const std::string& page) = 0;

    // Local date and time as days since 1899-12-30 with the time as fraction.
    virtual double Now() = 0;
    // Milliseconds from an arbitrary start, monotonic.
    virtual uint64_t TickMs() = 0;
    // A value that changes quickly, for seeding the random generator.
    virtual uint64_t HighResCounter() = 0;
    virtual void SleepMs(int ms) = 0;
    // Lets pending window events run during a long operation.
    virtual void ProcessEvents() = 0;

    virtual ScreenMetrics GetScreenMetrics() = 0;
    virtual void SetCursor(CursorShape shape) = 0;

    // Draws text antialiased into box (inclusive edges) of dst, clipped to it.
    // On a 24-bit buffer the text blends over the pixels; on a 32-bit buffer the
    // colour bytes blend the same way and alpha is left alone.
    virtual void RenderText(TMyBitmap& dst, const TRect& box, const std::string& text,
                            const TextStyle& style) = 0;
    virtual TextExtent MeasureText(const std::string& text, const TextStyle& style) = 0;

    // Asks for a file to open in a dialog titled title, showing start: a
    // folder, or a file there that starts selected. The files listed are those
    // matching one of patterns ("*.orv"), under the name filterText. Returns
    // the chosen file's path; empty when the player cancelled.
    virtual std::string ChooseOpenFile(const std::string& title, const std::string& start,
                                       const std::string& filterText,
                                       const std::vector<std::string>& patterns) = 0;
    // Asks for a file to save to, the same way: startFolderOrFile is a
    // folder, or a file whose name is offered. Returns the chosen path;
    // empty when the player cancelled.
    virtual std::string ChooseSaveFile(const std::string& title, const std::string& startFolderOrFile,
                                       const std::string& filterText,
                                       const std::vector<std::string>& patterns) = 0;
    // The date of a Now() value in the desktop locale's short date format.
    virtual std::string ShortDate(double when) = 0;
};

}  // namespace orvel
