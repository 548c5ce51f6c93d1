#pragma once

#include "game/GameState.h"
#include "graphics/Bitmap.h"
#include "platform/Progress.h"

namespace orvel {

// The settings the effects follow (EmbossStyle 0 ... 3, WoodStyle 0 ... 2).
struct EffectSettings {
    int EmbossStyle = 1;
    int WoodStyle = 2;
};

int WoodWidthFor(int woodStyle);

// Gives the game an EffectsStamp no earlier build had and forgets its wood
// changes. The builds below call it; so must any other writer of the masks'
// relief or the wood buffers (a join excepted, which notes its change).
void MarkEffectsBuilt(TGame& game);

// The piece's box in the mask of the given rotation (w x h the mask's size).
void RotatedBox(const TPiece& p, int rotation, int maskW, int maskH, int& x, int& y, int& w, int& h);

// Red 128 and green 0 in every pixel of the mask.
void ResetRelief(TMyBitmap& mask);

// Wood pass and relief pass for one rotation.
void BuildPieceEffects(TGame& game, const EffectSettings& settings, TMyBitmap& mask,
                       TGame::WoodBuffer& wood, int rotation);

// Releases the wood buffers, sets WoodWidth and builds the effects for
// rotation 0 and, with Rotate, rotations 1 ... 3 (a progress step after
// each). The caller sorts the draw order first; the effects depend on
// groups only for joined pieces.
void ApplyPieceEffects(TGame& game, const EffectSettings& settings, Progress* progress);

// The options dialog's preview: the relief (in floating point) and the wood
// edge of the sample piece. The piece is every non-black pixel of the
// sample mask; output (the size of the sample picture, filled with the
// background by the caller) receives the shaded piece and its edge.
void PreviewEffects(const TMyBitmap& sampleMask, const TMyBitmap& samplePicture, TMyBitmap& output,
                    TColor woodColor, int woodStyle, int embossStyle);

}  // namespace orvel
