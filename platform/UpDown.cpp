#include "platform/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace platform {

UpDown::UpDown(QLineEdit* buddy, int min, int max, int value, QWidget* parent)
    : QWidget(parent), buddy(buddy), min(min), max(max), value(std::clamp(value, min, max)) {
    auto arrow = [this](Qt::ArrowType type, int step) {
        auto* button = new QToolButton(this);
        button->setArrowType(type);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QToolButton::clicked, this,
                [this, step] { SetValue(this->value + step); });
        return button;
    };
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(arrow(Qt::UpArrow, 1));
    column->addWidget(arrow(Qt::DownArrow, -1));

    ShowValue();
    connect(buddy, &QLineEdit::textChanged, this, [this] {
        if (!showing) {
            emit TextEdited();
        }
    });
    buddy->installEventFilter(this);
}

void UpDown::SetValue(int newValue) {
    newValue = std::clamp(newValue, min, max);
    if (newValue != value) {
        value = newValue;
        ShowValue();
    }
}

void UpDown::Reset(int newValue) {
    SetValue(newValue);
    ShowValue();
    buddy->selectAll();
}

void UpDown::TakeTyped(std::optional<int> typed, const std::function<int()>& resetTo) {
    if (typed) {
        value = std::clamp(*typed, min, max);
    } else {
        Reset(resetTo());
    }
}

void UpDown::ShowValue() {
    showing = true;
    buddy->setText(QString::number(value));
    showing = false;
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            SetValue(value + (key == Qt::Key_Up ? 1 : -1));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace platform
