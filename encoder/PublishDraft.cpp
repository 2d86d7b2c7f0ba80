#include "encoder/PublishDraft.h"

#include <algorithm>

#include "encoder/SongTitle.h"
#include "lyrics/LyricsFile.h"
#include "online/SyncedText.h"

namespace encoder {

PublishDraft DraftForPublish(const QString& lyricsPath, qint64 lengthS) {
    PublishDraft draft;
    if (lyricsPath.isEmpty()) {
        draft.Problem = QStringLiteral("There is no timed lyrics file to publish yet.");
        return draft;
    }
    const lyrics::LyricsRead read = lyrics::ReadLyricsFile(lyricsPath);
    const lyrics::LyricLines& table = read.Lines;
    if (!read.Complete || table.Rows.empty()) {
        draft.Problem = QStringLiteral("Could not read the lyrics file:\n") + lyricsPath;
        return draft;
    }
    // A line starts when the one before it is left, so only the last may go without a time.
    if (std::any_of(table.Rows.begin(), table.Rows.end() - 1,
                    [](const lyrics::LyricRow& row) { return row.TimeMs <= 0; })) {
        draft.Problem = QStringLiteral(
            "Some lines of the song have no time yet. Time the whole song, then publish it.");
        return draft;
    }
    const TitleFields fields = SplitSongTitle(table.LyricsTitle);
    if (fields.Song.trimmed().isEmpty() || fields.Artist.trimmed().isEmpty()) {
        draft.Problem = QStringLiteral(
            "The song's title does not name its artist. Give it as \"Song - Artist\" "
            "(Quickfix > Title...), then publish it.");
        return draft;
    }
    if (lengthS <= 0) {
        draft.Problem = QStringLiteral(
            "Winamp gives no length for the song. Play it in Winamp, then publish it.");
        return draft;
    }
    draft.Song.TrackName = fields.Song.trimmed();
    draft.Song.ArtistName = fields.Artist.trimmed();
    draft.Song.Duration = double(lengthS);
    draft.Song.SyncedLyrics = online::SyncedFromTable(table);
    draft.Song.PlainLyrics = online::PlainFromSynced(*draft.Song.SyncedLyrics);
    return draft;
}

}  // namespace encoder
