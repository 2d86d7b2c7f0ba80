#pragma once
#include <QRect>

namespace platform {

// Layout numbers stay in twips in the code; this is the one place that converts them.
constexpr int TwipsPerPixel = 15;
constexpr int Px(int twips) {
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}
constexpr int Twips(int pixels) {
    return pixels * TwipsPerPixel;
}
inline QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

}  // namespace platform
