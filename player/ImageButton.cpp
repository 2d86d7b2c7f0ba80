#include "player/ImageButton.h"

#include <QMouseEvent>
#include <QPixmap>

namespace player {

ImageButton::ImageButton(QWidget* parent) : QLabel(parent) {
    // The bitmaps are stretched to the button box, whatever their own size.
    setScaledContents(true);
}

bool ImageButton::LoadPicture(const QString& path) {
    QPixmap picture;
    if (path.isEmpty() || !picture.load(path)) {
        return false;
    }
    setPixmap(picture);
    return true;
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    leftPressed = event->button() == Qt::LeftButton;
    emit MouseDown();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = leftPressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    leftPressed = false;
    emit MouseUp();
    if (click) {
        emit Click();
    }
}

}  // namespace player
