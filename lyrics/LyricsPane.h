#pragma once
#include <QWidget>

class QLabel;

namespace lyrics {

// The two lyric lines at the top of both programs' windows: the current line large and
// centred, the next one small below it, each showing what of its line fits. Both read ":o)"
// until a line is shown.
class LyricsPane : public QWidget {
    Q_OBJECT
  public:
    // nextAlignment: where the next line sits in its label.
    LyricsPane(Qt::Alignment nextAlignment, QWidget* parent);

    void ShowCurrent(const QString& line);
    void ShowNext(const QString& line);
    void SetColours(const QColor& current, const QColor& next);

  signals:
    // A mouse button was let go over the current line, at globalPos.
    void CurrentLineMouseUp(Qt::MouseButton button, const QPoint& globalPos);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* lblCurrLine;
    QLabel* lblNextLine;
};

}  // namespace lyrics
