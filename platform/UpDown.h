#pragma once
#include <QWidget>
#include <functional>
#include <optional>

class QLineEdit;

namespace platform {

// An up-down spinner with a buddy text box: its arrows, and the Up and Down keys in the box,
// step the value within its range, and the box shows the value whenever it changes. The box
// takes any text while typing ("7.5", "", "-"); its owner reads what was typed through
// TextEdited and decides what it means.
class UpDown : public QWidget {
    Q_OBJECT
  public:
    UpDown(QLineEdit* buddy, int min, int max, int value, QWidget* parent);

    int Value() const { return value; }
    // Held within the range; the box shows the new value when it differs from the old one,
    // so a number still being typed ("7.") is left alone.
    void SetValue(int newValue);
    // Sets the value and shows it whatever the box holds, selected, so the next key typed
    // replaces it: what a box does with a number it cannot take.
    void Reset(int newValue);
    // The box's text as the user left it, read by the owner: typed is its number, or nullopt
    // when that lies outside the range. A number is taken and the text stays as typed, so
    // "-" (0) can still become "-2" and "7." become "7.5"; outside the range the value
    // starts again from resetTo(), shown as Reset shows it.
    void TakeTyped(std::optional<int> typed, const std::function<int()>& resetTo);

  signals:
    void TextEdited();  // the box's text changed, other than by showing the value

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowValue();

    QLineEdit* buddy;
    int min;
    int max;
    int value;
    bool showing = false;
};

}  // namespace platform
