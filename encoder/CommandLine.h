#pragma once
#include <QString>

#include "encoder/Version.h"
#include "platform/CommandLine.h"

namespace encoder {

inline const platform::ProgramHelp CommandLineHelp{
    .Program = QStringLiteral("cantorix-encoder"),
    .Version = VersionNumber(),
    .Usage = {QStringLiteral("[OPTION]..."), QStringLiteral("--export-lrc LYRICS.cx3 [OUT.lrc]")},
    .Description = QStringLiteral(
        "Times the lines of a lyrics text while Winamp plays the song: press Next Line each "
        "time the singer moves on, and the timed lyrics file for the cantorix player is "
        "written at the end."),
    .Options = {{QStringLiteral("--source"), QStringLiteral("TEXT"),
                 QStringLiteral("take up the lyrics text in the file TEXT, as the @ Wizard "
                                "would")},
                {QStringLiteral("--save"), QStringLiteral("LYRICS.cx3"),
                 QStringLiteral("with --source: write the timed lyrics to LYRICS.cx3")},
                {QStringLiteral("--title"), QStringLiteral("\"Song - Artist\""),
                 QStringLiteral("the song's title and its artist; without --source the "
                                "@ Wizard starts with it")},
                {QStringLiteral("--export-lrc"), QStringLiteral("LYRICS.cx3"),
                 QStringLiteral("write the lyrics file as LRC to OUT.lrc (or beside it), "
                                "without a window")},
                {QStringLiteral("--retime"), QStringLiteral("LYRICS"),
                 QStringLiteral("open the timed lyrics file LYRICS (.cx3, .cx2 or .lrc) to "
                                "correct its times")}},
    .Example = QStringLiteral("--source song.txt --save song.cx3 --title \"Song - Artist\""),
    .ExampleNote =
        QStringLiteral("Opens the window with the lines of song.txt, ready to press Start!"),
    .MaxFiles = 1,
    .WindowSystemOptions = true};

// What the encoder is asked to do at start: take up a song as the wizard's three steps would,
// for scripts and for anyone with a text ready; correct the times of a timed song; or export a
// lyrics file as LRC.
struct CommandLine {
    QString Source;
    QString Save;
    QString Title;
    QString ExportLrc;  // the lyrics file to export; empty: start the window
    QString ExportTo;   // empty: beside it
    QString Retime;     // the timed lyrics file to open in the timing window
};

// The encoder's own rules over what its command line gave; one broken rejects the arguments.
CommandLine ReadCommandLine(platform::Arguments& arguments);

}  // namespace encoder
