#pragma once
#include <QObject>
#include <functional>

class QAction;
class QDialog;
class QMenu;
class QWidget;

namespace platform {
class ListBox;
}  // namespace platform

namespace encoder {

class Capture;

// The encoder's "&Quickfix" menu: adds, edits and removes lines between captures, the line
// list kept in step with the lines. "&Title..." asks the window, which holds the title.
class QuickFixMenu : public QObject {
    Q_OBJECT
  public:
    QuickFixMenu(Capture& lines, platform::ListBox* lstFile,
                 std::function<void(QDialog*)> showDialog, QWidget* owner);

    QMenu* Menu() const { return mnuFile; }
    // "&Edit..." and "&Title..." once a song has been taken up.
    void EnableForSong(bool enabled);

  public slots:
    void itmFAdd_Click();
    void itmFEdit_Click();
    void itmFRemove_Click();

  signals:
    void TitleWanted();

  private:
    // The line Quick fix acts on: the selected one, else the first, which is then
    // selected; -1 with no lines.
    int SelectedLine();

    Capture& lines;
    platform::ListBox* lstFile;
    std::function<void(QDialog*)> showDialog;
    QWidget* owner;
    QMenu* mnuFile;
    QAction* itmFEdit;
    QAction* itmFTitle;
};

}  // namespace encoder
