#pragma once
// Helpers for the fuzz targets: the readers that take a path get the input through a file.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace fuzz {

inline QByteArray Bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// One file per process, rewritten for every input; in memory where the machine has it.
inline QString WriteInput(const std::uint8_t* data, std::size_t size) {
    static const QString path =
        QDir::tempPath() +
        QStringLiteral("/cantorix-fuzz-%1").arg(QCoreApplication::applicationPid());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    return path;
}

}  // namespace fuzz
