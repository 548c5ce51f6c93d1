#include "library/ThumbStore.h"

#include <utility>

#include "base/Text.h"
#include "play/Thumb.h"

namespace orvel {

namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kPlaceholderFrame = 0x800000;

}  // namespace

TThumbStore::TThumbStore() {
    m_pictures.push_back(PlaceholderThumb());
    m_names.emplace_back("---");
}

int TThumbStore::Find(std::string_view fileName) const {
    const std::string lower = AsciiLower(fileName);
    for (size_t i = 1; i < m_names.size(); ++i)
        if (m_names[i] == lower) return static_cast<int>(i);
    return 0;
}

int TThumbStore::Add(const std::string& fileName, TMyBitmap picture) {
    m_pictures.push_back(std::move(picture));
    m_names.push_back(AsciiLower(fileName));
    return Count() - 1;
}

int TThumbStore::Replace(const std::string& fileName, TMyBitmap picture) {
    Forget(fileName);
    return Add(fileName, std::move(picture));
}

void TThumbStore::Forget(std::string_view fileName) {
    if (const int at = Find(fileName); at > 0) m_names[at].clear();
}

TMyBitmap PlaceholderThumb() {
    TMyBitmap b;
    if (!Create24(b, kListThumbW, kListThumbH)) return b;
    FillBox(b, 0, 0, kListThumbW, kListThumbH, kWhite);
    FrameBox(b, 2, 2, 177, 132, kPlaceholderFrame);
    return b;
}

TMyBitmap SaveIcon() {
    TMyBitmap b;
    if (!Create24(b, kSaveIconSize, kSaveIconSize)) return b;
    FillBox(b, 0, 0, 16, 16, 0x202020);
    FillBox(b, 1, 1, 14, 14, 0xA05010);      // body
    FillBox(b, 4, 1, 8, 5, 0xE0E0E0);        // shutter
    FillBox(b, 9, 2, 2, 3, 0xA05010);        // its window
    FillBox(b, 3, 8, 10, 7, 0xFFFFFF);       // label
    DrawLine(b, 4, 10, 11, 10, 0x808080);
    DrawLine(b, 4, 12, 11, 12, 0x808080);
    return b;
}

TMyBitmap MakeListThumb(const TMyBitmap& source, const TMyBitmap* icon) {
    TMyBitmap out;
    DrawThumb(out, kListThumbW, kListThumbH, icon, nullptr, kWhite, true, source);
    return out;
}

}  // namespace orvel
