#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace testsupport {

// An unreadable file gives a text naming it, so two missing files never compare equal.
inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable " + path.toUtf8() + '>';
}

// A path in the test's own temporary folder (see runtest.cmake).
inline QString TempPath(const QString& name) {
    return qEnvironmentVariable("CANTORIX_TEST_TMP", QDir::tempPath()) + u'/' + name;
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// bytes at path; "<missing>" leaves no file there.
inline bool PutBytes(const QString& path, const QByteArray& bytes) {
    QFile::remove(path);
    return bytes == "<missing>" || WriteBytes(path, bytes);
}

}  // namespace testsupport
