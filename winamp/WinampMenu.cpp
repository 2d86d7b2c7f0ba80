#include "winamp/WinampMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QWidget>

#include "platform/Menus.h"
#include "platform/MsgBox.h"
#include "winamp/Link.h"
#include "winamp/Messages.h"
#include "winamp/modOne.h"

namespace winamp {

namespace {
QAction* AddItem(QMenu* menu, const char* objectName, const QString& caption,
                 const QKeySequence& key) {
    return platform::AddMenuItem(menu, QString::fromLatin1(objectName), caption, key);
}
}  // namespace

WinampMenu::WinampMenu(Variant variant, QWidget* owner)
    : QObject(owner), variant(variant), owner(owner) {
    const bool encoder = variant == Variant::Encoder;
    // In the player F5 to F8 belong to its Playback menu.
    auto key = [encoder](Qt::Key k) { return encoder ? QKeySequence(k) : QKeySequence(); };

    mnuWinamp = new QMenu(QStringLiteral("&Winamp"), owner);
    mnuWinamp->setObjectName(QStringLiteral("mnuWinamp"));
    itmWPlay = AddItem(mnuWinamp, "itmWPlay", QStringLiteral("&Play"), key(Qt::Key_F6));
    itmWStop = AddItem(mnuWinamp, "itmWStop", QStringLiteral("&Stop"), key(Qt::Key_F7));
    itmWPause = AddItem(mnuWinamp, "itmWPause", QStringLiteral("P&ause"), key(Qt::Key_F8));
    mnuWinamp->addSeparator();
    itmWJump = AddItem(mnuWinamp, "itmWJump", QStringLiteral("&Jump to..."), Qt::Key_F4);
    mnuWinamp->addSeparator();
    itmWRedetect = AddItem(mnuWinamp, "itmWRedetect", QStringLiteral("&Redetect"), Qt::Key_F3);
    itmWClose =
        AddItem(mnuWinamp, "itmWClose",
                encoder ? QStringLiteral("&Close...") : QStringLiteral("&Close"), QKeySequence());

    connect(itmWPlay, &QAction::triggered, this, &WinampMenu::itmWPlay_Click);
    connect(itmWStop, &QAction::triggered, this, &WinampMenu::itmWStop_Click);
    connect(itmWPause, &QAction::triggered, this, &WinampMenu::itmWPause_Click);
    connect(itmWJump, &QAction::triggered, this, &WinampMenu::itmWJump_Click);
    connect(itmWRedetect, &QAction::triggered, this, &WinampMenu::itmWRedetect_Click);
    connect(itmWClose, &QAction::triggered, this, &WinampMenu::itmWClose_Click);
}

void WinampMenu::SetItemsEnabled(bool enabled) {
    for (QAction* item : {itmWPlay, itmWStop, itmWPause, itmWJump, itmWClose}) {
        item->setEnabled(enabled);
    }
}

void WinampMenu::itmWPlay_Click() {
    Play();
}

void WinampMenu::itmWStop_Click() {
    if (variant == Variant::Player && !(ImmediateStop && ImmediateStop())) {
        FadeStop();
    } else {
        StopNow();
    }
}

void WinampMenu::itmWPause_Click() {
    const platform::LRESULT state = PlayState();
    if (state == StatePlaying || state == StatePaused) {
        TogglePause();
    }
}

void WinampMenu::itmWJump_Click() {
    OpenJumpToFile();
}

void WinampMenu::itmWRedetect_Click() {
    WinampHandle = FindWinamp();
    if (WinampHandle != 0) {
        SetItemsEnabled(true);
        return;
    }
    platform::MsgBox(owner,
                     QStringLiteral("Winamp is not running.\rYou may want to start it, and press "
                                    "F3 to try again."),
                     platform::MsgButtons::OK, platform::MsgIcon::Information,
                     QStringLiteral("Winamp Handle"));
    SetItemsEnabled(false);
}

void WinampMenu::itmWClose_Click() {
    if (variant == Variant::Player) {
        Close();
        return;
    }
    const platform::MsgResult answer =
        platform::MsgBox(owner, QStringLiteral("Would you like to close Cantorix 3 as well?"),
                         platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question,
                         QStringLiteral("Close Cantorix?"));
    if (answer == platform::MsgResult::Cancel) {
        return;
    }
    Close();
    if (answer == platform::MsgResult::Yes) {
        if (EndProgram) {
            EndProgram();
        } else {
            QCoreApplication::exit(0);
        }
    }
}

}  // namespace winamp
