#pragma once
// Lyrics moved against the music: by the listener's output delay, which every song shares,
// and by a song's own offset, which the song's file keeps.
#include <QString>
#include <QtGlobal>
#include <vector>

#include "lyrics/SourceRow.h"

namespace lyrics {

// What the listener hears at positionMs through an output device that lags delayMs behind
// the player: never before the start of the song, unless the position itself was.
qint64 HeardPosition(qint64 positionMs, qint64 delayMs);

// Rows with every time moved shiftMs later (sooner when negative), to the millisecond and
// none before 0; an untimed row stays untimed.
std::vector<SourceRow> RowsMovedBy(std::vector<SourceRow> rows, qint64 shiftMs);

// The lyrics file at path with its lines moved shiftMs later: an LRC file by its [offset:]
// tag (LrcMovedBy), a .cx3/.cx2 file by its times (RowsMovedBy). Saved atomically; false,
// with the file as it was, when it cannot be read whole or cannot be written.
bool MoveLyricsFile(const QString& path, qint64 shiftMs);

}  // namespace lyrics
