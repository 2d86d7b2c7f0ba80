#pragma once
#include <QAction>
#include <QKeySequence>
#include <QMenu>
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

}  // namespace platform
