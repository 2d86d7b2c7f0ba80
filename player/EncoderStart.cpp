#include "player/EncoderStart.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryFile>

#include "platform/Folders.h"

namespace player {

EncoderCommand EncoderCommandFor(const QString& title, const QString& sourceText) {
    EncoderCommand command{platform::ProgramFolder() + platform::PathSeparator() +
                               platform::ExecutableName(QStringLiteral("cantorix-encoder")),
                           {QStringLiteral("--title"), title}};
    if (sourceText.isEmpty()) {
        return command;
    }
    // The encoder reads the text after we have gone on, so the file outlives this call.
    QTemporaryFile source(QDir::tempPath() + QStringLiteral("/cantorix-lyrics-XXXXXX.txt"));
    source.setAutoRemove(false);
    const QByteArray bytes = sourceText.toUtf8();
    if (!source.open() || source.write(bytes) != bytes.size() || !source.flush()) {
        source.remove();
        return {};
    }
    command.Arguments << QStringLiteral("--source") << source.fileName();
    return command;
}

bool StartEncoder(const QString& title, const QString& sourceText) {
    const EncoderCommand command = EncoderCommandFor(title, sourceText);
    return !command.Program.isEmpty() &&
           QProcess::startDetached(command.Program, command.Arguments);
}

}  // namespace player
