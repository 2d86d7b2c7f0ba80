#pragma once
#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace winamp {

// The "&Winamp" menu of both main windows. The two programs differ in three places:
// Close (the encoder asks first and may end itself, the player does not ask), Stop (the
// player chooses between an immediate and a fading stop) and the shortcut keys.
class WinampMenu : public QObject {
    Q_OBJECT
  public:
    enum class Variant { Player, Encoder };

    WinampMenu(Variant variant, QWidget* owner);

    QMenu* mnuWinamp;
    QAction* itmWPlay;
    QAction* itmWStop;
    QAction* itmWPause;
    QAction* itmWJump;
    QAction* itmWRedetect;
    QAction* itmWClose;

    // Player: whether its Stop Mode has "&Immediate" ticked. Unset means a fading stop.
    std::function<bool()> ImmediateStop;
    // Encoder: ends the program at once after Close was answered Yes, without the
    // window's usual questions on closing. Unset means the application exits.
    std::function<void()> EndProgram;

  public slots:
    void itmWPlay_Click();
    void itmWStop_Click();
    void itmWPause_Click();
    void itmWJump_Click();
    void itmWRedetect_Click();
    void itmWClose_Click();

  private:
    void SetItemsEnabled(bool enabled);

    Variant variant;
    QWidget* owner;
};

}  // namespace winamp
