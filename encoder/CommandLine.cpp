#include "encoder/CommandLine.h"

#include <optional>

#include "lyrics/FileName.h"
#include "lyrics/LrcFile.h"

namespace encoder {

namespace {
const QList<QByteArray> Options{"--source", "--save", "--title"};
}  // namespace

CommandLine ParseCommandLine(const QList<QByteArray>& arguments) {
    CommandLine line;
    for (qsizetype i = 0; i < arguments.size(); i += 2) {
        const QByteArray& option = arguments[i];
        QString* value = option == Options[0]   ? &line.Source
                         : option == Options[1] ? &line.Save
                         : option == Options[2] ? &line.Title
                                                : nullptr;
        if (value == nullptr) {
            line.Error = QStringLiteral("unknown argument: ") + QString::fromLocal8Bit(option);
            return line;
        }
        if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
            line.Error = QString::fromLocal8Bit(option) + QStringLiteral(" needs a value");
            return line;
        }
        if (value == &line.Title) {
            *value = QString::fromLocal8Bit(arguments[i + 1]);
            continue;
        }
        const std::optional<QString> name = lyrics::FileNameFromNative(arguments[i + 1]);
        if (!name) {
            line.Error = lyrics::UnusableFileName(arguments[i + 1]);
            return line;
        }
        *value = *name;
    }
    // Without a source there is no song for a title or a lyrics file to belong to.
    if (line.Source.isEmpty() && !(line.Save.isEmpty() && line.Title.isEmpty())) {
        line.Error = QStringLiteral("--save and --title need --source");
    }
    return line;
}

QList<QByteArray> TakeOwnArguments(int& argc, char** argv) {
    QList<QByteArray> own;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (Options.contains(argv[i])) {
            own << argv[i];
            if (i + 1 < argc) {
                own << argv[++i];
            }
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return own;
}

QString ExportLrcCommand(const QByteArray& lyricsPath, const QByteArray& lrcPath) {
    const std::optional<QString> in = lyrics::FileNameFromNative(lyricsPath);
    const std::optional<QString> out = lyrics::FileNameFromNative(lrcPath);
    if (!in || !out) {
        return lyrics::UnusableFileName(in ? lrcPath : lyricsPath);
    }
    return lyrics::ExportLrc(*in, *out).Error;
}

}  // namespace encoder
