#pragma once
// A window's or dialog's control by the object name the program gives it: the controls are
// private, and the names are what tests know them by.
#include <QObject>
#include <QString>
#include <QtGlobal>

namespace testsupport {

template <typename T>
T* Child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no %s named %s", T::staticMetaObject.className(), name);
    }
    return found;
}

}  // namespace testsupport
