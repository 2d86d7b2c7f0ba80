#include "player/OnlineCommands.h"

#include <QAction>
#include <QWidget>

#include "library/LyricsLibrary.h"
#include "platform/Folders.h"
#include "platform/MsgBox.h"
#include "player/EncoderStart.h"
#include "player/LyricsLookup.h"
#include "player/frmOnline.h"
#include "winamp/Link.h"

namespace player {

namespace {

const QString OnlineTitle = QStringLiteral("Search Online");

QString EncoderTitleOf(const online::LyricsRecord& record) {
    return record.TrackName + QStringLiteral(" - ") + record.ArtistName;
}

}  // namespace

OnlineCommands::OnlineCommands(winamp::WinampLink& winamp, QWidget* owner,
                               std::function<void(QDialog*)> showDialog)
    : QObject(owner),
      itmLOnline(new QAction(QStringLiteral("Search Online..."), owner)),
      itmSOnline(new QAction(QStringLiteral("Search Online for &Missing Lyrics"), owner)),
      winamp(winamp),
      owner(owner),
      showDialog(std::move(showDialog)),
      lyrics(client, platform::ConfFilePath()),
      startEncoder(StartEncoder) {
    itmLOnline->setObjectName(QStringLiteral("itmLOnline"));
    itmSOnline->setObjectName(QStringLiteral("itmSOnline"));
    itmSOnline->setCheckable(true);
    connect(itmLOnline, &QAction::triggered, this, &OnlineCommands::itmLOnline_Click);
    connect(itmSOnline, &QAction::triggered, this, &OnlineCommands::itmSOnline_Click);
    connect(&lyrics, &OnlineLyrics::AllowedChanged, itmSOnline, &QAction::setChecked);
    connect(&lyrics, &OnlineLyrics::Answered, this, &OnlineCommands::TakeAnswer);
    lyrics.SetQuestion([this] {
        return platform::MsgBox(
                   this->owner,
                   QStringLiteral(
                       "No lyrics here for this song. Search the open lyrics database "
                       "(lrclib.net) for songs without lyrics?\n\nThe artist, title and length "
                       "of such songs are sent to it. \"Settings\" > \"Search Online for Missing "
                       "Lyrics\" turns this off again."),
                   platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                   OnlineTitle) == platform::MsgResult::Yes;
    });
}

void OnlineCommands::SetAllowed(std::optional<bool> allowed) {
    lyrics.SetAllowed(allowed);
    itmSOnline->setChecked(allowed.value_or(false));
}

void OnlineCommands::itmSOnline_Click() {
    lyrics.Allow(itmSOnline->isChecked());
}

void OnlineCommands::Serve(LyricsLookup& lookup) {
    connect(&lookup, &LyricsLookup::NothingLocal, this, [this, &lookup] {
        FindMissing();
        asking = &lookup;
    });
}

void OnlineCommands::FindMissing() {
    asking = nullptr;
    const winamp::NowPlayingTrack track = winamp.NowPlaying();
    lyrics.SetFolder(library::LibraryFolder());
    lyrics.Ask(QString::fromStdU16String(track.Artist), QString::fromStdU16String(track.Title), {},
               double(winamp.TrackLengthS()));
}

void OnlineCommands::itmLOnline_Click() {
    const winamp::NowPlayingTrack track = winamp.NowPlaying();
    frmOnline search(client, double(winamp.TrackLengthS()), owner);
    search.SetText(QString::fromStdU16String(track.Artist + (track.Artist.empty() ? u"" : u" ") +
                                             track.Title));
    showDialog(&search);
    if (!search.ReturnState()) {
        return;
    }
    if (search.GetUse() == frmOnline::Use::Time) {
        TimeInEncoder(search.GetMatch());
        return;
    }
    const OnlineAnswer answer = TakeRecord(search.GetMatch(), library::LibraryFolder());
    if (answer.What == OnlineAnswer::Kind::Synced) {
        emit LyricsFound(answer.Path);
    } else {
        platform::MsgBox(owner, answer.Message + QStringLiteral(":\n") + answer.Reason,
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation, OnlineTitle);
    }
}

void OnlineCommands::TakeAnswer(const OnlineAnswer& answer) {
    if (asking != nullptr && !asking->StillMissing(answer.Artist, answer.Title)) {
        return;  // the song changed meanwhile, or its lyrics turned up here
    }
    switch (answer.What) {
        case OnlineAnswer::Kind::Synced:
            if (asking != nullptr) {
                asking->FoundElsewhere(answer.Path);
            } else {
                emit LyricsFound(answer.Path);
            }
            break;
        case OnlineAnswer::Kind::PlainOnly:
            if (platform::MsgBox(owner,
                                 QStringLiteral("The open lyrics database has the words of %1, "
                                                "but not their times. Time them now in the "
                                                "encoder?")
                                     .arg(EncoderTitleOf(answer.Record)),
                                 platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                                 OnlineTitle) == platform::MsgResult::Yes) {
                TimeInEncoder(answer.Record);
            }
            break;
        case OnlineAnswer::Kind::None:
        case OnlineAnswer::Kind::Failed:
            if (asking == nullptr || !answer.Reason.isEmpty()) {  // else the session says it
                emit Say(answer.Message, answer.Reason);
            }
            break;
    }
}

void OnlineCommands::TimeInEncoder(const online::LyricsRecord& record) {
    if (!startEncoder(EncoderTitleOf(record), TextToTime(record))) {
        platform::MsgBox(owner, QStringLiteral("Could not start the encoder."),
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation, OnlineTitle);
    }
}

}  // namespace player
