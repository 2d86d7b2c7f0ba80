#include <QApplication>
#include <cstdio>
#include <cstring>

#include "encoder/CommandLine.h"
#include "encoder/frmMain.h"
#include "platform/Product.h"

// encoder [--source TEXT] [--save LYRICS.cx3] [--title "Song - Artist"]
// encoder --export-lrc LYRICS.cx3 [OUT.lrc]   the lyrics file as LRC, without a window
int main(int argc, char* argv[]) {
    if (argc >= 3 && argc <= 4 && std::strcmp(argv[1], "--export-lrc") == 0) {
        const QString error = encoder::ExportLrcCommand(argv[2], argc == 4 ? argv[3] : "");
        if (!error.isEmpty()) {
            std::fprintf(stderr, "encoder: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }
    const QList<QByteArray> own = encoder::TakeOwnArguments(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(platform::EncoderTitle);
    // What Qt has not taken for itself either is reported as unknown.
    const encoder::CommandLine line =
        encoder::ParseCommandLine(own + QList<QByteArray>(argv + 1, argv + argc));
    if (!line.Error.isEmpty()) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(line.Error), qPrintable(encoder::CommandLineUsage));
        return 2;
    }
    encoder::frmMain window;
    window.Form_Load();
    window.show();
    if (!line.Source.isEmpty()) {
        window.TakeUpSong(line.Source, line.Save, line.Title);
    }
    return QApplication::exec();
}
