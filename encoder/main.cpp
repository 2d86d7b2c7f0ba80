#include <QApplication>
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
        if (!lyrics::ExportLrc(line.ExportLrc, line.ExportTo)) {
            std::fprintf(stderr, "%s: could not export %s as LRC\n",
                         qPrintable(encoder::CommandLineHelp.Program), qPrintable(line.ExportLrc));
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
    }
    return QApplication::exec();
}
