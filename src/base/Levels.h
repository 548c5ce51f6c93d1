#pragma once

namespace orvel {

// The piece-size levels a jigsaw can be cut at: 0 the finest, 13 the coarsest.
inline constexpr int kLevelCount = 14;

}  // namespace orvel
