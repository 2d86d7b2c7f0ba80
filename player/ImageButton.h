#pragma once
#include <QLabel>

namespace player {

// A clickable picture: shows a bitmap and reports mouse down, up and click. A click is a
// left-button release over the picture after a press on it.
class ImageButton : public QLabel {
    Q_OBJECT
  public:
    explicit ImageButton(QWidget* parent = nullptr);

    // Loads the bitmap file into the picture; false (and the old picture kept) when the file
    // does not load.
    bool LoadPicture(const QString& path);

  signals:
    void MouseDown();
    void MouseUp();
    void Click();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool leftPressed = false;
};

}  // namespace player
