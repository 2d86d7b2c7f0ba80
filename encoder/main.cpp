#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "encoder/CommandLine.h"
#include "encoder/frmMain.h"
#include "lyrics/LrcFile.h"
#include "platform/Product.h"

int main(int argc, char* argv[]) {
    // Help, version, a wrong option and the LRC export need no display.
    platform::Arguments args = platform::ParseArguments(encoder::CommandLineHelp, argc, argv);
    const encoder::CommandLine line = encoder::ReadCommandLine(args);
    if (const std::optional<int> code = platform::AnswerArguments(encoder::CommandLineHelp, args)) {
        return *code;
    }
    if (!line.ExportLrc.isEmpty()) {
        const lyrics::SaveResult exported = lyrics::ExportLrc(line.ExportLrc, line.ExportTo);
        if (!exported.Saved()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(encoder::CommandLineHelp.Program),
                         qPrintable(exported.Error));
            return 1;
        }
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(platform::EncoderTitle);
    encoder::frmMain window;
    window.Form_Load();
    window.show();
    if (!line.Source.isEmpty()) {
        window.TakeUpSong(line.Source, line.Save, line.Title);
    } else if (!line.Title.isEmpty()) {
        // Once the window is up, so that the wizard's dialogs have it to belong to.
        QTimer::singleShot(0, &window,
                           [&window, title = line.Title] { window.StartWizard(title); });
    }
    if (!line.Retime.isEmpty()) {
        window.RetimeFile(line.Retime);
    }
    return QApplication::exec();
}
