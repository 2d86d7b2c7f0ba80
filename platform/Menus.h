#pragma once
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QString>

namespace platform {

// A menu item with the name the code and the tests know it by.
inline QAction* AddMenuItem(QMenu* menu, const QString& name, const QString& caption,
                            const QKeySequence& key = QKeySequence()) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    item->setShortcut(key);
    return item;
}

// The same, running command (a slot of receiver, or a function) when it is chosen.
template <typename Receiver, typename Command>
QAction* AddMenuItem(QMenu* menu, const QString& name, const QString& caption,
                     const QKeySequence& key, Receiver* receiver, Command command) {
    QAction* item = AddMenuItem(menu, name, caption, key);
    QObject::connect(item, &QAction::triggered, receiver, command);
    return item;
}

// A menu of the menu bar, by name.
inline QMenu* AddMenu(QMenuBar* bar, const QString& name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

// A submenu of menu; the submenu and the item that opens it both go by name.
inline QMenu* AddSubmenu(QMenu* menu, const QString& name, const QString& caption) {
    QMenu* submenu = menu->addMenu(caption);
    submenu->setObjectName(name);
    submenu->menuAction()->setObjectName(name);
    return submenu;
}

}  // namespace platform
