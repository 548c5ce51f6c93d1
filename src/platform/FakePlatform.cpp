#include "platform/FakePlatform.h"

#include "graphics/Bitmap.h"

namespace orvel {

namespace {

MsgResult DefaultAnswer(MsgKind kind) {
    switch (kind) {
        case MsgKind::YesNo:
        case MsgKind::YesNoCancel:
            return MsgResult::Yes;
        default:
            return MsgResult::Ok;
    }
}

}  // namespace

MsgResult FakePlatform::ShowMessage(const std::string& text, const std::string& caption, MsgKind kind) {
    Messages.push_back({text, caption, kind});
    if (m_answers.empty()) return DefaultAnswer(kind);
    MsgResult answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

bool FakePlatform::OpenWithDefault(const std::string& urlOrPath) {
    Opened.push_back(urlOrPath);
    return OpenSucceeds;
}

void FakePlatform::SleepMs(int ms) {
    if (ms <= 0) return;
    Ticks += static_cast<uint64_t>(ms);
    NowDays += ms / 86400000.0;
}

std::string FakePlatform::ChooseOpenFile(const std::string& title, const std::string& start,
                                         const std::string& filterText,
                                         const std::vector<std::string>& patterns) {
    FileChoices.push_back({title, start, filterText, patterns});
    if (m_fileAnswers.empty()) return {};
    std::string answer = std::move(m_fileAnswers.front());
    m_fileAnswers.pop_front();
    return answer;
}

std::string FakePlatform::ChooseSaveFile(const std::string& title,
                                         const std::string& startFolderOrFile,
                                         const std::string& filterText,
                                         const std::vector<std::string>& patterns) {
    return ChooseOpenFile(title, startFolderOrFile, filterText, patterns);
}

TextExtent FakePlatform::MeasureText(const std::string& text, const TextStyle& style) {
    const int charW = CharW + (style.Bold ? 1 : 0);
    return {static_cast<int>(text.size()) * charW, CharH};
}

void FakePlatform::RenderText(TMyBitmap& dst, const TRect& box, const std::string& text,
                              const TextStyle& style) {
    RenderedTexts.push_back({text, style});
    const int charW = CharW + (style.Bold ? 1 : 0);
    int x = box.Left;
    for (char c : text) {
        if (c != ' ') {
            for (int y = box.Top; y < box.Top + CharH && y <= box.Bottom; ++y) {
                for (int dx = 0; dx < charW - 1 && x + dx <= box.Right; ++dx) {
                    if (x + dx < 0 || y < 0 || x + dx >= dst.Width || y >= dst.Height) continue;
                    SetPixel(dst, x + dx, y, style.Color);
                }
            }
        }
        x += charW;
        if (x > box.Right) break;
    }
}

}  // namespace orvel
