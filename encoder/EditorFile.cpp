#include "encoder/EditorFile.h"

#include "encoder/SourceText.h"
#include "lyrics/DelimitedFile.h"
#include "lyrics/SaveFile.h"
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
    if (!lyrics::SaveBytes(target, lyrics::EncodeText(text)).Saved()) {
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
