#include "encoder/CommandLine.h"

namespace encoder {

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    for (qsizetype i = 0; i < arguments.size(); i += 2) {
        const QString& option = arguments[i];
        QString* value = option == QStringLiteral("--source") ? &line.Source
                         : option == QStringLiteral("--save") ? &line.Save
                         : option == QStringLiteral("--title") ? &line.Title
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
    // Without a source there is no song for a title or a lyrics file to belong to.
    if (line.Source.isEmpty() && !(line.Save.isEmpty() && line.Title.isEmpty())) {
        line.Error = QStringLiteral("--save and --title need --source");
    }
    return line;
}

}  // namespace encoder
