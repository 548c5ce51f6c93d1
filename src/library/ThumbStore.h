#pragma once

// The browser's thumbnail store: one 180 x 135 picture per file name, made
// once per program run, with the placeholder "---" as entry 0.

#include <string>
#include <string_view>
#include <vector>

#include "graphics/Bitmap.h"

namespace orvel {

constexpr int kListThumbW = 180;
constexpr int kListThumbH = 135;
constexpr int kSaveIconSize = 16;

class TThumbStore {
public:
    TThumbStore();

    // The index of the picture made from fileName (compared without regard to
    // letter case), or 0 (the placeholder) when there is none.
    int Find(std::string_view fileName) const;
    const TMyBitmap& Picture(int index) const { return m_pictures[index]; }
    int Count() const { return static_cast<int>(m_pictures.size()); }
    // Appends picture under fileName; returns its index.
    int Add(const std::string& fileName, TMyBitmap picture);
    // Gives fileName a new picture under a new index; the old index keeps
    // its picture, so what was made from an index never changes.
    int Replace(const std::string& fileName, TMyBitmap picture);
    // Forgets the name; the picture stays, so indices held elsewhere hold.
    void Forget(std::string_view fileName);

private:
    std::vector<TMyBitmap> m_pictures;
    std::vector<std::string> m_names;  // lower case; "" once forgotten
};

// The placeholder: white with a one-pixel frame from (2,2) to (178,133).
TMyBitmap PlaceholderThumb();
// A 16 x 16 floppy disk, the mark of a saved game.
TMyBitmap SaveIcon();
// source fitted into 180 x 135 keeping its shape, centred on white; with
// icon (may be null) at the picture's top-left corner, one pixel up and left
// where there is room.
TMyBitmap MakeListThumb(const TMyBitmap& source, const TMyBitmap* icon);

}  // namespace orvel
