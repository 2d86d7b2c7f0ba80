#include <QApplication>
#include <cstdio>
#include <cstring>

#include "encoder/CommandLine.h"
#include "encoder/frmMain.h"
#include "lyrics/LrcFile.h"
#include "platform/Product.h"

// encoder [--source TEXT] [--save LYRICS.cx3] [--title "Song - Artist"]
// encoder --export-lrc LYRICS.cx3 [OUT.lrc]   the lyrics file as LRC, without a window
int main(int argc, char* argv[]) {
    if (argc >= 3 && argc <= 4 && std::strcmp(argv[1], "--export-lrc") == 0) {
        const QString lyricsPath = QString::fromLocal8Bit(argv[2]);
        const lyrics::SaveResult exported =
            lyrics::ExportLrc(lyricsPath, argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString());
        if (!exported.Saved()) {
            std::fprintf(stderr, "encoder: %s\n", qPrintable(exported.Error));
            return 1;
        }
        return 0;
    }
    const QStringList own = encoder::TakeOwnArguments(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(platform::EncoderTitle);
    // What Qt has not taken for itself either is reported as unknown.
    const encoder::CommandLine line =
        encoder::ParseCommandLine(own + QApplication::arguments().mid(1));
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
