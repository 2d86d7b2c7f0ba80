#include "winamp/WinampMenu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "platform/Menus.h"
#include "platform/MsgBox.h"
#include "platform/Product.h"
#include "winamp/Link.h"

namespace winamp {

WinampMenu::WinampMenu(WinampLink& link, QWidget* owner, bool playKeys, const QString& closeCaption)
    : QObject(owner), link(link), owner(owner) {
    auto key = [playKeys](Qt::Key k) { return playKeys ? QKeySequence(k) : QKeySequence(); };
    mnuWinamp = new QMenu(QStringLiteral("&Winamp"), owner);
    mnuWinamp->setObjectName(QStringLiteral("mnuWinamp"));
    itmWPlay =
        platform::AddMenuItem(mnuWinamp, "itmWPlay", QStringLiteral("&Play"), key(Qt::Key_F6));
    itmWStop =
        platform::AddMenuItem(mnuWinamp, "itmWStop", QStringLiteral("&Stop"), key(Qt::Key_F7));
    itmWPause =
        platform::AddMenuItem(mnuWinamp, "itmWPause", QStringLiteral("P&ause"), key(Qt::Key_F8));
    mnuWinamp->addSeparator();
    itmWJump =
        platform::AddMenuItem(mnuWinamp, "itmWJump", QStringLiteral("&Jump to..."), Qt::Key_F4);
    mnuWinamp->addSeparator();
    itmWRedetect =
        platform::AddMenuItem(mnuWinamp, "itmWRedetect", QStringLiteral("&Redetect"), Qt::Key_F3);
    itmWClose = platform::AddMenuItem(mnuWinamp, "itmWClose", closeCaption, QKeySequence());

    connect(itmWPlay, &QAction::triggered, this, &WinampMenu::itmWPlay_Click);
    connect(itmWPause, &QAction::triggered, this, &WinampMenu::itmWPause_Click);
    connect(itmWJump, &QAction::triggered, this, &WinampMenu::itmWJump_Click);
    connect(itmWRedetect, &QAction::triggered, this, &WinampMenu::itmWRedetect_Click);
    connect(itmWStop, &QAction::triggered, this, &WinampMenu::StopChosen);
    connect(itmWClose, &QAction::triggered, this, &WinampMenu::CloseChosen);
}

void WinampMenu::itmWPlay_Click() {
    link.Play();
}

void WinampMenu::itmWPause_Click() {
    link.Pause();
}

void WinampMenu::itmWJump_Click() {
    link.OpenJumpToFile();
}

bool WinampMenu::itmWRedetect_Click() {
    const bool found = link.Redetect();
    ShowRedetected(found);
    return found;
}

void WinampMenu::ShowRedetected(bool found) {
    if (!found) {
        platform::MsgBox(owner,
                         QStringLiteral("Winamp is not running.\rYou may want to start it, and "
                                        "press F3 to try again."),
                         platform::MsgButtons::OK, platform::MsgIcon::Information,
                         QStringLiteral("Winamp Handle"));
    }
    for (QAction* item : {itmWPlay, itmWStop, itmWPause, itmWJump, itmWClose}) {
        item->setEnabled(found);
    }
}

bool AskCloseWinamp(QWidget* owner, const WinampLink& link) {
    const platform::MsgResult answer =
        platform::MsgBox(owner,
                         QStringLiteral("Would you like to close ") + platform::PlayerTitle +
                             QStringLiteral(" as well?"),
                         platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question,
                         QStringLiteral("Close Cantorix?"));
    if (answer == platform::MsgResult::Cancel) {
        return false;
    }
    link.Close();
    return answer == platform::MsgResult::Yes;
}

}  // namespace winamp
