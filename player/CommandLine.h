#pragma once
#include "platform/CommandLine.h"
#include "player/Version.h"

namespace player {

inline const platform::ProgramHelp CommandLineHelp{
    .Program = QStringLiteral("cantorix"),
    .Version = VersionNumber(),
    .Usage = {QStringLiteral("[OPTION]... [FILE]")},
    .Description = QStringLiteral(
        "Shows song lyrics line by line in step with the music that Winamp plays (or "
        "winamp-bridge in front of mpv or an MPRIS player, or winamp-sim), and plays lyrics "
        "playlists song after song.\n"
        "FILE is a lyrics file (.cx3, .cx2, .lrc) or a lyrics playlist (.cxp) to open at start."),
    .Options = {{QStringLiteral("--play"), {}, QStringLiteral("press Play once FILE is open")},
                {QStringLiteral("--follow"),
                 {},
                 QStringLiteral("show the lyrics of whatever Winamp plays, from a lyrics file "
                                "beside the song or the lyrics library (~/Lyrics)")},
                {QStringLiteral("--snapshot"), QStringLiteral("PNG"),
                 QStringLiteral("save a picture of the window to PNG a few seconds after start, "
                                "then end")}},
    .Example = QStringLiteral("--play song.cx3"),
    .ExampleNote = QStringLiteral("Opens song.cx3 and plays it: Winamp starts the song and the "
                                  "lines follow it."),
    .MaxFiles = 1,
    .WindowSystemOptions = true};

}  // namespace player
