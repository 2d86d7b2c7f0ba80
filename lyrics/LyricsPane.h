#pragma once
#include <QWidget>
#include <vector>

namespace lyrics {

class LyricLabel;

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
    // The current line's sung part takes the next line's colour.
    void SetColours(const QColor& current, const QColor& next);
    // The karaoke fill of the current line: where its sung part ends (see SungChars); none,
    // no fill.
    void ShowSung(std::vector<double> chars);
    // Both lines with an edge around every letter, for a pane over the desktop.
    void SetOutlined(bool outlined);

  signals:
    // A mouse button was let go over the current line, at globalPos.
    void CurrentLineMouseUp(Qt::MouseButton button, const QPoint& globalPos);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    LyricLabel* lblCurrLine;
    LyricLabel* lblNextLine;
};

}  // namespace lyrics
