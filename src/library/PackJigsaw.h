#pragma once

// Making a jigsaw file from a picture (JPEG, PNG or bitmap): the picture as
// it stands, a thumbnail and a description. orvel-tool pack and the
// browser's "new jigsaw from picture" both go through here.

#include <atomic>
#include <string>

#include "base/Result.h"

namespace orvel {

// The steps PackJigsaw counts through: read, decode, store, thumbnail, write.
constexpr int kPackSteps = 5;

// The jigsaw's name for a picture file: its lower-cased base name.
std::string JigsawNameOf(const std::string& imagePath);

// Writes the jigsaw outPath from the picture at imagePath. The label is made
// from name, the description is description. steps (may be null) counts the
// steps done; it may be read from another thread. At most the file, the
// decoded picture and its stored form are held at once.
Result PackJigsaw(const std::string& imagePath, const std::string& outPath, const std::string& name,
                  const std::string& description, std::atomic<int>* steps = nullptr);

}  // namespace orvel
