#include "app/AutoPlay.h"
#include "app/MainMenu.h"
#include "app/OrvelApp.h"

namespace orvel {

void TAppHands::Press(int x, int y, int button, uint8_t shift) {
    m_app.FieldMouseDown(x, y, button, shift);
}

void TAppHands::Move(int x, int y, bool buttonHeld) {
    m_app.FieldMouseMove(x, y, buttonHeld, 0);
}

void TAppHands::Release(int x, int y, int button, uint8_t shift) {
    m_app.FieldMouseUp(x, y, button, shift);
}

void TAppHands::SwitchSide() {
    m_app.KeyDown(kKeySpace);
    m_app.KeyUp(kKeySpace, 0);
}

}  // namespace orvel
