#pragma once
// Mouse handling that both programs' windows share, without an event filter of their own.
#include <QPoint>
#include <functional>

class QAbstractItemView;
class QWidget;

namespace platform {

// command runs when the left button is let go over widget: a label that acts as a button.
void OnLeftClick(QWidget* widget, std::function<void()> command);

// The right button over the items of view calls mouseUp, at the pointer's global position,
// when it is let go; it never moves the selection.
void OnRightButton(QAbstractItemView* view, std::function<void(const QPoint&)> mouseUp);

}  // namespace platform
