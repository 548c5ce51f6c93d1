#include "HeadlessPieces.h"

#include "play/PieceHandling.h"
#include "play/Sides.h"

namespace orvel::tool {

namespace {

struct THeld {
    TPlayArea Area;
    TPieceHandler Handler;
    THeld(TGame& game, TPlayWindows& wins, TFieldView& view, TFieldLayers& layers,
          const TSettings& settings, int playW, int playH, Platform& platform)
        : Area{playW, playH}, Handler(game, wins, view, layers, settings, Area, platform) {}
};

}  // namespace

std::shared_ptr<void> ConnectPieceHandler(TGame& game, TPlayWindows& wins, TFieldView& view,
                                          TFieldLayers& layers, const TSettings& settings,
                                          const TMyBitmap& star, int playW, int playH,
                                          Platform& platform, const TPieceMouse& mouse) {
    auto held = std::make_shared<THeld>(game, wins, view, layers, settings, playW, playH, platform);
    TPieceHandler* h = &held->Handler;
    h->SetStarImage(&star);
    layers.DrawPieces = [h](TMyBitmap& f, const TMyWin& w, const TMyRect& u) {
        h->DrawPieces(f, w, u);
    };
    mouse.Down = [h](int button, uint8_t shift, int x, int y, bool wheel) {
        h->MouseDown(button, shift, x, y, wheel);
    };
    mouse.Move = [h](uint8_t shift, int x, int y, bool held) { h->MouseMove(shift, x, y, held); };
    mouse.Up = [h](int button, uint8_t shift, int x, int y, bool) { h->MouseUp(button, shift, x, y); };
    return held;
}

}  // namespace orvel::tool
