#pragma once
#include <QWidget>

class QLabel;

namespace playlist {
class Playlist;
class PlaylistList;
}  // namespace playlist

namespace player {

// The player's playlist panel below the buttons: the list over the playlist, whose right
// button only asks for the "&Track" menu, and the two switches Randomize and Repeat, white on
// black when off, bold on light red when on.
class PlaylistPanel : public QWidget {
    Q_OBJECT
  public:
    PlaylistPanel(playlist::Playlist& model, QWidget* parent);

  public slots:
    void lblRand_Click();
    void lblRepeat_Click();

  signals:
    void EntryDoubleClicked();
    void RightButtonUp(const QPoint& globalPos);

  private:
    void ShowSwitches();

    playlist::Playlist& model;
    playlist::PlaylistList* lstList;
    QLabel* lblRand;
    QLabel* lblRepeat;
};

}  // namespace player
