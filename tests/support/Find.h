#pragma once
// A window's control by the object name the program gives it (the controls are private).
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
