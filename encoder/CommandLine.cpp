#include "encoder/CommandLine.h"

namespace encoder {

CommandLine ReadCommandLine(platform::Arguments& arguments) {
    CommandLine line{arguments.Value(QStringLiteral("--source")),
                     arguments.Value(QStringLiteral("--save")),
                     arguments.Value(QStringLiteral("--title")),
                     arguments.Value(QStringLiteral("--export-lrc")), arguments.Files.value(0)};
    if (!line.ExportLrc.isEmpty()) {
        if (!(line.Source + line.Save + line.Title).isEmpty()) {
            arguments.Reject(QStringLiteral("--export-lrc takes no other option"));
        }
    } else if (!line.ExportTo.isEmpty()) {
        arguments.Reject(QStringLiteral("unexpected argument %1").arg(line.ExportTo));
    } else if (line.Source.isEmpty() && !(line.Save.isEmpty() && line.Title.isEmpty())) {
        // Without a source there is no song for a title or a lyrics file to belong to.
        arguments.Reject(QStringLiteral("--save and --title need --source"));
    }
    return line;
}

}  // namespace encoder
