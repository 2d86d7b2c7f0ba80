#pragma once
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace winamp {

class WinampLink;

// The "&Winamp" menu over a program's Winamp link. Play, Pause, Jump to and Redetect are
// the same in both programs; Stop and Close are not (the player chooses between a fading
// and an immediate stop and closes Winamp without asking; the encoder asks first), so each
// program connects those two items to commands of its own.
class WinampMenu : public QObject {
    Q_OBJECT
  public:
    // playKeys: Play, Stop and Pause carry F6 to F8 (in the player those keys belong to its
    // Playback menu).
    WinampMenu(WinampLink& link, QWidget* owner, bool playKeys, const QString& closeCaption);

    QMenu* Menu() const { return mnuWinamp; }

  signals:
    // Stop and Close chosen: each program answers them with commands of its own.
    void StopChosen();
    void CloseChosen();

  public slots:
    void itmWPlay_Click();
    void itmWPause_Click();
    void itmWJump_Click();
    // Finds Winamp again; when it is not running says so, and the five commands that need
    // it are off until a later Redetect finds it. Answers whether it was found.
    bool itmWRedetect_Click();
    // What a Redetect made elsewhere found, shown as Redetect shows it.
    void ShowRedetected(bool found);

  private:
    WinampLink& link;
    QWidget* owner;
    QMenu* mnuWinamp;
    QAction* itmWPlay;
    QAction* itmWStop;
    QAction* itmWPause;
    QAction* itmWJump;
    QAction* itmWRedetect;
    QAction* itmWClose;
};

// The encoder's Close: asks whether to close Winamp as well. No closes Winamp; Yes closes
// it and answers true, which ends the encoder at once; Cancel sends nothing.
bool AskCloseWinamp(QWidget* owner, const WinampLink& link);

}  // namespace winamp
