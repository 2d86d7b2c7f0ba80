#include "platform/Clicks.h"

#include <QAbstractItemView>
#include <QMouseEvent>

namespace platform {

namespace {

class MouseFilter : public QObject {
  public:
    MouseFilter(QWidget* watched, Qt::MouseButton button, bool swallow,
                std::function<void(const QPoint&)> released)
        : QObject(watched), button(button), swallow(swallow), released(std::move(released)) {
        watched->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
            type != QEvent::MouseButtonRelease) {
            return QObject::eventFilter(watched, event);
        }
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != button) {
            return QObject::eventFilter(watched, event);
        }
        if (type == QEvent::MouseButtonRelease) {
            released(mouse->globalPosition().toPoint());
        }
        return swallow;
    }

  private:
    Qt::MouseButton button;
    bool swallow;  // the widget never sees the button
    std::function<void(const QPoint&)> released;
};

}  // namespace

void OnLeftClick(QWidget* widget, std::function<void()> command) {
    new MouseFilter(widget, Qt::LeftButton, false,
                    [command = std::move(command)](const QPoint&) { command(); });
}

void OnRightButton(QAbstractItemView* view, std::function<void(const QPoint&)> mouseUp) {
    new MouseFilter(view->viewport(), Qt::RightButton, true, std::move(mouseUp));
}

}  // namespace platform
