#include "encoder/CommandLine.h"

namespace encoder {

CommandLine ReadCommandLine(platform::Arguments& arguments) {
    CommandLine line{arguments.Value(QStringLiteral("--source")),
                     arguments.Value(QStringLiteral("--save")),
                     arguments.Value(QStringLiteral("--title")),
                     arguments.Value(QStringLiteral("--export-lrc")),
                     arguments.Files.value(0),
                     arguments.Value(QStringLiteral("--retime"))};
    for (const QString& name :
         {line.Source, line.Save, line.ExportLrc, line.ExportTo, line.Retime}) {
        if (arguments.IsUndecodable(name)) {
            arguments.Reject(platform::UnusableFileName(name));
        }
    }
    if (!line.Retime.isEmpty()) {
        // Correcting a timed song and timing a new one are two different starts.
        if (!(line.Source + line.Save + line.Title + line.ExportLrc + line.ExportTo).isEmpty()) {
            arguments.Reject(QStringLiteral("--retime takes no other option"));
        }
    } else if (!line.ExportLrc.isEmpty()) {
        if (!(line.Source + line.Save + line.Title).isEmpty()) {
            arguments.Reject(QStringLiteral("--export-lrc takes no other option"));
        }
    } else if (!line.ExportTo.isEmpty()) {
        arguments.Reject(QStringLiteral("unexpected argument %1").arg(line.ExportTo));
    } else if (line.Source.isEmpty() && !line.Save.isEmpty()) {
        // Without a source there is no song for the lyrics file to belong to; a title alone
        // starts the wizard with it.
        arguments.Reject(QStringLiteral("--save needs --source"));
    }
    return line;
}

}  // namespace encoder
