#pragma once
#include <QWidget>
#include <array>

class QLabel;

namespace platform {
class ListBox;
}  // namespace platform

namespace playlist {
class Playlist;
class PlaylistList;
}  // namespace playlist

namespace encoder {

class Capture;

// The encoder's two lists in one place below the buttons, the source lines (lstFile) and the
// playlist (lstList), with the two labels "Current File View" and "Current Playlist View"
// above them that act as tabs. The right button over either list only asks for its menu.
class ListViews : public QWidget {
    Q_OBJECT
  public:
    ListViews(const Capture& lines, playlist::Playlist& model, QWidget* parent);

    // Its rows are the lines' texts; who changes the lines tells its rows.
    platform::ListBox* FileList() const { return lstFile; }
    // The line list (true) or the playlist (false), its tab in bold.
    void ShowFiles(bool files);

  signals:
    void TabClicked(int index);
    void FileListMouseUp(const QPoint& globalPos);
    void PlaylistMouseUp(const QPoint& globalPos);

  private:
    std::array<QLabel*, 2> lbl;
    platform::ListBox* lstFile;
    playlist::PlaylistList* lstList;
};

}  // namespace encoder
