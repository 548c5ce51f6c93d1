#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace orvel {

// A headless Platform for tests and tools: records every call, answers
// message boxes from a script, keeps a clock that only moves when told to
// (or by SleepMs), and draws text as solid boxes, one per character.
class FakePlatform : public Platform {
public:
    struct Message {
        std::string Text;
        std::string Caption;
        MsgKind Kind;
    };

    // Answers for the next message boxes, in order. When the script is empty,
    // Warning/Info answer Ok, OkCancel Ok, YesNo Yes, YesNoCancel Yes.
    void QueueAnswer(MsgResult answer) { m_answers.push_back(answer); }

    MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgKind kind) override;
    void PlaySoundFile(const std::string& path) override { Sounds.push_back(path); }
    bool OpenWithDefault(const std::string& urlOrPath) override;
    void OpenHelp(const std::string& page) override { HelpPages.push_back(page); }

    double Now() override { return NowDays; }
    uint64_t TickMs() override { return Ticks; }
    uint64_t HighResCounter() override { return Counter; }
    void SleepMs(int ms) override;
    void ProcessEvents() override { ++ProcessEventsCalls; }

    ScreenMetrics GetScreenMetrics() override { return Screen; }
    void SetCursor(CursorShape shape) override { Cursor = shape; }

    // Each character is a CharW x CharH box (a space leaves a gap), drawn in
    // the style's colour; bold text is one pixel wider per character.
    void RenderText(TMyBitmap& dst, const TRect& box, const std::string& text,
                    const TextStyle& style) override;
    TextExtent MeasureText(const std::string& text, const TextStyle& style) override;

    // Answers the next file choices with these paths, in order; with none
    // queued the player cancels (empty path).
    void QueueFileChoice(std::string path) { m_fileAnswers.push_back(std::move(path)); }
    std::string ChooseOpenFile(const std::string& title, const std::string& start,
                               const std::string& filterText,
                               const std::vector<std::string>& patterns) override;
    // Answered from the same queue as ChooseOpenFile and recorded in FileChoices.
    std::string ChooseSaveFile(const std::string& title, const std::string& startFolderOrFile,
                               const std::string& filterText,
                               const std::vector<std::string>& patterns) override;

    std::string ShortDate(double /*when*/) override { return DateText; }

    // What the tests look at and set.
    struct FileChoice {
        std::string Title;
        std::string Start;
        std::string FilterText;
        std::vector<std::string> Patterns;
    };

    std::vector<Message> Messages;
    std::vector<FileChoice> FileChoices;
    std::vector<std::string> Sounds;
    std::vector<std::string> Opened;
    std::vector<std::string> HelpPages;
    bool OpenSucceeds = true;
    double NowDays = 46000.0;
    uint64_t Ticks = 0;
    uint64_t Counter = 12345;
    int ProcessEventsCalls = 0;
    ScreenMetrics Screen;
    CursorShape Cursor = CursorShape::Arrow;
    int CharW = 6;
    int CharH = 10;
    // Every text drawn by RenderText, in order, with its style.
    struct RenderedText {
        std::string Text;
        TextStyle Style;
    };
    std::vector<RenderedText> RenderedTexts;
    std::string DateText = "12/8/2026";

private:
    std::deque<MsgResult> m_answers;
    std::deque<std::string> m_fileAnswers;
};

}  // namespace orvel
