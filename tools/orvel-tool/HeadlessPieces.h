#pragma once

// Until the application core holds the piece handling itself, the headless
// program connects one to the core's field mouse and composition. (Kept
// apart from OrvelApp.h, whose play area shares its name with the one of
// play/Sides.h.)

#include <cstdint>
#include <functional>
#include <memory>

#include "game/GameState.h"
#include "play/Field.h"
#include "play/PlayWindow.h"
#include "settings/Settings.h"

namespace orvel {
class Platform;
}

namespace orvel::tool {

struct TPieceMouse {
    std::function<void(int button, uint8_t shift, int x, int y, bool fromWheel)>& Down;
    std::function<void(uint8_t shift, int x, int y, bool buttonHeld)>& Move;
    std::function<void(int button, uint8_t shift, int x, int y, bool fromWheel)>& Up;
};

// The handler lives as long as the returned holder.
std::shared_ptr<void> ConnectPieceHandler(TGame& game, TPlayWindows& wins, TFieldView& view,
                                          TFieldLayers& layers, const TSettings& settings,
                                          const TMyBitmap& star, int playW, int playH,
                                          Platform& platform, const TPieceMouse& mouse);

}  // namespace orvel::tool
