#include "encoder/EditorFile.h"

#include <QSaveFile>

#include "encoder/SourceText.h"
#include "lyrics/DelimitedFile.h"
#include "platform/Folders.h"

namespace encoder {

std::optional<QString> EditorFile::Open(const QString& path) {
    std::optional<QString> text = ReadSourceText(path);
    if (text) {
        FileName = path;
        Confirmed = false;
    }
    return text;
}

bool EditorFile::Save(const QString& text) {
    const QString target = FileName.isEmpty() ? TemporaryFilePath() : FileName;
    QSaveFile file(target);
    const QByteArray bytes = lyrics::EncodeText(text);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return false;
    }
    FileName = target;
    Confirmed = true;
    return true;
}

QString EditorFile::TemporaryFilePath() {
    return platform::SettingsFolder() + platform::PathSeparator() +
           QStringLiteral("--undefined--.tmp");
}

}  // namespace encoder
