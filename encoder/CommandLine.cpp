#include "encoder/CommandLine.h"

namespace encoder {

namespace {
const QStringList Options{QStringLiteral("--source"), QStringLiteral("--save"),
                          QStringLiteral("--title"), QStringLiteral("--retime")};
}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    for (qsizetype i = 0; i < arguments.size(); i += 2) {
        const QString& option = arguments[i];
        QString* value = option == Options[0]   ? &line.Source
                         : option == Options[1] ? &line.Save
                         : option == Options[2] ? &line.Title
                         : option == Options[3] ? &line.Retime
                                                : nullptr;
        if (value == nullptr) {
            line.Error = QStringLiteral("unknown argument: ") + option;
            return line;
        }
        if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
            line.Error = option + QStringLiteral(" needs a value");
            return line;
        }
        *value = arguments[i + 1];
    }
    // Correcting a timed song and timing a new one are two different starts.
    if (!line.Retime.isEmpty() && !line.Source.isEmpty()) {
        line.Error = QStringLiteral("--retime goes alone");
        return line;
    }
    // Without a source there is no song for a title or a lyrics file to belong to.
    if (line.Source.isEmpty() && !(line.Save.isEmpty() && line.Title.isEmpty())) {
        line.Error = QStringLiteral("--save and --title need --source");
    }
    return line;
}

QStringList TakeOwnArguments(int& argc, char** argv) {
    QStringList own;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (Options.contains(argument)) {
            own << argument;
            if (i + 1 < argc) {
                own << QString::fromLocal8Bit(argv[++i]);
            }
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return own;
}

}  // namespace encoder
