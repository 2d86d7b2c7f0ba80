#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

namespace encoder {

// encoder [--source TEXT] [--save LYRICS.cx3] [--title "Song - Artist"]: a song taken up
// as the wizard's three steps would, for scripts and for anyone with a text ready.
struct CommandLine {
    QString Source;
    QString Save;
    QString Title;
    // Empty when the arguments are sound; otherwise what is wrong with them.
    QString Error;
};

// The arguments as the system gives them: file names are checked as bytes, so a name that
// cannot be used is said to be so rather than taken for another file.
CommandLine ParseCommandLine(const QList<QByteArray>& arguments);

// Takes the encoder's options and their values out of argv, before the application object
// sees them: Qt's X11 platform would take --title for a window title of its own. The rest
// stays in argv, in order, for Qt.
QList<QByteArray> TakeOwnArguments(int& argc, char** argv);

// encoder --export-lrc LYRICS.cx3 [OUT.lrc]: the lyrics file as LRC, without a window (an
// empty lrcPath: beside it). Empty when the LRC file was written; otherwise why not, in one
// line.
QString ExportLrcCommand(const QByteArray& lyricsPath, const QByteArray& lrcPath);

inline const QString CommandLineUsage =
    QStringLiteral("usage: encoder [--source TEXT] [--save LYRICS.cx3] [--title \"Song - Artist\"]");

}  // namespace encoder
