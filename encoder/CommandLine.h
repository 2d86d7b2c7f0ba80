#pragma once
#include <QString>
#include <QStringList>

namespace encoder {

// encoder [--source TEXT] [--save LYRICS.cx3] [--title "Song - Artist"]: a song taken up
// as the wizard's three steps would, for scripts and for anyone with a text ready.
// encoder --retime LYRICS: a timed song (.cx3, .cx2, .lrc) opened for correcting its times.
struct CommandLine {
    QString Retime;
    QString Source;
    QString Save;
    QString Title;
    // Empty when the arguments are sound; otherwise what is wrong with them.
    QString Error;
};

CommandLine ParseCommandLine(const QStringList& arguments);

// Takes the encoder's options and their values out of argv, before the application object
// sees them: Qt's X11 platform would take --title for a window title of its own. The rest
// stays in argv, in order, for Qt.
QStringList TakeOwnArguments(int& argc, char** argv);

inline const QString CommandLineUsage = QStringLiteral(
    "usage: encoder [--source TEXT] [--save LYRICS.cx3] [--title \"Song - Artist\"]\n"
    "       encoder --retime LYRICS");

}  // namespace encoder
