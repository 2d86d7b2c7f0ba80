#include "player/ImageButton.h"

#include <QMouseEvent>
#include <QPixmap>

#include "lyrics/RegularFile.h"

namespace player {

ImageButton::ImageButton(QWidget* parent) : QLabel(parent) {
    // The bitmaps are stretched to the button box, whatever their own size.
    setScaledContents(true);
}

bool ImageButton::LoadPicture(const QString& path) {
    // Read as any other file of ours, so a skin folder holding a FIFO cannot hold us.
    constexpr qint64 MaxBitmapSize = 16 * 1024 * 1024;
    const std::optional<QByteArray> bytes = lyrics::ReadRegularFile(path, MaxBitmapSize);
    QPixmap picture;
    if (!bytes || !picture.loadFromData(*bytes)) {
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
