#pragma once

namespace orvel {

// What the cutters tell the player. The first three are never translated
// and are shown as they stand (with the line's numbers filled in); the last
// is a key of the language file's Main Form section.
constexpr const char* kFirstEdgeFailed = "Finding first edge failed!";
constexpr const char* kNotCutProperly =
    "Jigsaw has not been cut properly! Please reopen the puzzle.";
constexpr const char* kPaintErrorLine = "PaintError: Ind = %d, CellX = %d, CellY = %d";
constexpr const char* kPaintErrorKey = "MS_PaintError";

}  // namespace orvel
