#include "lyrics/FileName.h"

#include <QFile>

namespace lyrics {

std::optional<QString> FileNameFromNative(const QByteArray& native) {
    QString name = QFile::decodeName(native);
    if (QFile::encodeName(name) != native) {
        return std::nullopt;
    }
    return name;
}

QString UnusableFileName(const QByteArray& native) {
    return QStringLiteral("The file name \"%1\" cannot be used: it is not valid UTF-8.")
        .arg(QFile::decodeName(native));
}

}  // namespace lyrics
