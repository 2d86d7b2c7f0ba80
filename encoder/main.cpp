#include <QApplication>
#include <cstdio>

#include "encoder/CommandLine.h"
#include "encoder/frmMain.h"
#include "platform/Product.h"

// encoder [--source TEXT] [--save LYRICS.cx3] [--title "Song - Artist"]
int main(int argc, char* argv[]) {
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
