#pragma once

// What the game's dialogs share: the skin's colours as a style sheet, and
// pictures of the core's buffers shown in widgets that report the mouse.

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>

#include "base/Color.h"
#include "graphics/Bitmap.h"

namespace orvel {

// The dialogs wear the toolbar's dark brown with its cream text and orange accents.
inline constexpr TColor kDialogBackground = 0x22252A;  // 0x00BBGGRR of #2a2522
QString DialogStyleSheet();

// A 24- or 32-bit buffer as a picture (rows turned top-down).
QImage BitmapToQImage(const TMyBitmap& bmp);

// A picture that reports presses, moves and double clicks in its own pixels.
class TPictureBox : public QWidget {
    Q_OBJECT
public:
    explicit TPictureBox(const char* name, QWidget* parent);
    void SetPicture(const QImage& picture);
    std::function<void(int x, int y)> Pressed;
    std::function<void(int x, int y)> Moved;
    std::function<void(int x, int y)> DoubleClicked;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
};

}  // namespace orvel
