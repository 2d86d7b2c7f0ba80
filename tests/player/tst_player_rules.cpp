// The player's rules without a window: the lyric line current at Winamp's position, the
// playlist view's height, the skin fallback, what Open and a drop open, the lyrics lookup.
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "library/LyricsLibrary.h"
#include "lyrics/LyricLines.h"
#include "player/EncoderStart.h"
#include "player/LineFollower.h"
#include "player/ListView.h"
#include "player/LyricsLookup.h"
#include "player/OpenedFileKind.h"
#include "player/Skin.h"
#include "support/Files.h"
#include "support/Scripted.h"

using player::SkinButton;

Q_DECLARE_METATYPE(player::OpenedFileKind)

namespace {

// "L0/L1" for the current and the next line, "!" once the display has ended.
QString Shown(const player::LineView& view) {
    return view.Current.value_or("?") + "/" + view.Next + (view.Ended ? "!" : "");
}

// A skin folder holding the normal bitmaps less the names in missing.
void WriteSkin(const QString& folder, const QStringList& missing = {}) {
    QVERIFY(QDir().mkpath(folder));
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::green);
    for (SkinButton b : player::SkinLoadOrder) {
        const QString name = player::NormalBitmapName(b);
        QVERIFY(missing.contains(name) || image.save(folder + name, "BMP"));
    }
}

// The paths of the normal bitmaps of folder, in load order up to and including last.
QStringList Upto(const QString& folder, SkinButton last = SkinButton::Open) {
    QStringList out;
    for (SkinButton b : player::SkinLoadOrder) {
        if (int(b) <= int(last)) {
            out << folder + player::NormalBitmapName(b);
        }
    }
    return out;
}

}  // namespace

class tst_PlayerRules : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    // Two installs: "good" with a whole default skin, "broken" whose default lacks open.bmp.
    QString Skins(const QString& install) const { return tmp.filePath(install) + "/skins/"; }
    // "$S/" is the install's skins folder, "$U/" the same in capitals, "$O/" a folder outside.
    QString Resolve(QString token, const QString& install) const {
        token.replace("$S/", Skins(install));
        token.replace("$U/", tmp.filePath(install) + "/SKINS/");
        token.replace("$O/", tmp.filePath("outside") + "/");
        return token;
    }

  private slots:
    void initTestCase() {
        QVERIFY(tmp.isValid());
        WriteSkin(Skins("good") + "default/");
        WriteSkin(Skins("good") + "night/");
        WriteSkin(Skins("good") + "nopause/", {"pause.bmp"});
        WriteSkin(Skins("broken") + "default/", {"open.bmp"});
        WriteSkin(Skins("broken") + "nopause/", {"pause.bmp"});
        WriteSkin(tmp.filePath("outside") + "/partial/", {"next.bmp", "pause.bmp", "open.bmp"});
    }

    // Line k is "Lk" at times[k]. A tick is a position; "at MS" takes the song up at MS, "lost"
    // is the 0 of a Winamp that does not answer. Jumps ahead and equal times: the session's.
    void lineFollower_data() {
        QTest::addColumn<QList<double>>("times");
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QStringList>("shown");  // after each tick, "-" for no change
        using L = QStringList;
        using T = QList<double>;
        // clang-format off
        QTest::newRow("a jump back: the line of the new position at once, with its next")
            << T{1000, 2000, 3000, 4000, 5000} << L{"3500", "3500", "3500", "1500", "1999", "2000", "100"}
            << L{"L1/L2", "L2/L3", "L3/L4", "L1/L2", "-", "L2/L3", "L0/L1"};
        QTest::newRow("back to the line shown, then back after the end")
            << T{1000, 2000, 3000} << L{"2500", "1000", "2000", "2000", "1999"} << L{"L1/L2", "-", "L2/(end of song)!", "-", "L1/L2"};
        QTest::newRow("a Winamp that does not answer moves nothing back")
            << T{1000, 2000, 3000} << L{"1500", "lost", "lost", "2000", "999"} << L{"L1/L2", "-", "-", "L2/(end of song)!", "L0/L1"};
        QTest::newRow("taken up in the middle, at the end, before the start")
            << T{1000, 2000, 3000, 4000} << L{"at 2500", "at 9000", "at 0", "1000"} << L{"L2/L3", "L3/(end of song)!", "L0/L1", "L1/L2"};
        QTest::newRow("the last row's time is never compared")
            << T{1000, 2000, 999999} << L{"1000", "2000"} << L{"L1/L2", "L2/(end of song)!"};
        QTest::newRow("lines without times move on every tick")
            << T{0, 0, 0} << L{"0", "0"} << L{"L1/L2", "L2/(end of song)!"};
        // clang-format on
    }
    void lineFollower() {
        QFETCH(QList<double>, times);
        QFETCH(QStringList, ticks);
        lyrics::LyricLines lines;
        for (int k = 0; k < times.size(); ++k) {
            lines.Rows.push_back({times[k], QStringLiteral("L%1").arg(k), {}});
        }
        lines.LastLine = qint16(times.size() - 1);
        player::LineFollower follower(lines);
        QCOMPARE(Shown(follower.Start()), "L0/L1");
        QStringList shown;
        for (const QString& tick : ticks) {
            if (tick.startsWith("at ")) {
                shown << Shown(follower.StartAt(tick.mid(3).toDouble()));
            } else {
                const std::optional<player::LineView> view =
                    tick == "lost" ? follower.Tick(0, false) : follower.Tick(tick.toDouble());
                shown << (view ? Shown(*view) : QStringLiteral("-"));
            }
        }
        QTEST(shown, "shown");
    }

    // The row's name lists the arguments that are true.
    void decideListView_data() {
        QTest::addColumn<QString>("change");  // height, menu bar, Show/Hide caption
        // clang-format off
        QTest::newRow("show compact following")            << "none";
        QTest::newRow("show autohide compact following")   << "6050 menus &Hide";
        QTest::newRow("autohide following")                << "2650 menus S&how";
        QTest::newRow("autohide compact")                  << "2650 menus S&how";
        QTest::newRow("autohide compact following")        << "1450 no-menus unchanged";
        QTest::newRow("force show")                        << "6050 menus &Hide";
        QTest::newRow("force following")                   << "2650 menus S&how";
        QTest::newRow("force compact following")           << "1450 no-menus unchanged";
        // clang-format on
    }
    void decideListView() {
        const QStringList on = QString(QTest::currentDataTag()).split(' ');
        const auto change = player::DecideListView(on.contains("force"), on.contains("show"),
                                                   on.contains("autohide"), on.contains("compact"),
                                                   on.contains("following"));
        QString got = "none";
        if (change) {
            got = QStringLiteral("%1 %2 %3")
                      .arg(change->OuterHeight)
                      .arg(change->HideMenuBar ? "no-menus" : "menus")
                      .arg(!change->CaptionHide   ? "unchanged"
                           : *change->CaptionHide ? "&Hide"
                                                  : "S&how");
        }
        QTEST(got, "change");
    }

    // Which bitmaps LoadSkin tried, in order, the folder it settles on, whether the "Skins"
    // box is due, and how often the colours were applied (once a pass).
    void loadSkin_data() {
        QTest::addColumn<QString>("install");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("tried");
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("message");
        QTest::addColumn<int>("passes");
        auto row = [](const char* name, const char* install, const char* folder,
                      const QStringList& tried, const char* result, bool message, int passes) {
            QTest::newRow(name) << QString(install) << QString(folder) << tried << QString(result)
                                << message << passes;
        };
        const QStringList byDefault = Upto("$S/default/");
        const QStringList noPause = Upto("$S/nopause/", SkinButton::Pause) + byDefault;
        // clang-format off
        row("a whole skin inside the skins folder", "good", "$S/night/", Upto("$S/night/"), "$S/night/", false, 1);
        row("skin lacking pause.bmp: the default, silently", "good", "$S/nopause/", noPause, "$S/default/", false, 2);
        row("missing folder inside the skins folder: the default", "good", "$S/gone/", QStringList{"$S/gone/play.bmp"} + byDefault, "$S/default/", false, 2);
        row("empty folder: the default, nothing read from the current folder", "good", "", byDefault, "$S/default/", false, 2);
        row("default lacking a bitmap: message, folder empty", "broken", "$S/default/", byDefault, "", true, 1);
        row("skin lacking pause.bmp, default lacking a bitmap", "broken", "$S/nopause/", noPause, "", true, 2);
        row("outside the skins folder, three bitmaps short: kept", "good", "$O/partial/", Upto("$O/partial/", SkinButton::Next), "$O/partial/", false, 1);
        row("default in other letter case is another skin folder", "good", "$S/DEFAULT/", QStringList{"$S/DEFAULT/play.bmp"} + byDefault, "$S/default/", false, 2);
        row("skins folder in other letter case is outside it", "good", "$U/night/", {"$U/night/play.bmp"}, "$U/night/", false, 1);
        // clang-format on
    }
    void loadSkin() {
        QFETCH(QString, install);
        QFETCH(QString, folder);
        QFETCH(QStringList, tried);
        QFETCH(QString, result);
        QStringList asked;
        int passes = 0;
        const player::SkinLoadResult r = player::LoadSkin(
            Resolve(folder, install),
            [&](SkinButton, const QString& path) {
                asked << path;
                return !QImage(path).isNull();
            },
            [&] { ++passes; }, Skins(install), Skins(install) + "default/");
        for (QString& t : tried) {
            t = Resolve(t, install);
        }
        QCOMPARE(asked, tried);
        QCOMPARE(r.SkinFolder, Resolve(result, install));
        QTEST(r.ShowSkinsMessage, "message");
        QTEST(passes, "passes");
    }

    void skinsMessage() {
        testsupport::ScriptedBoxes boxes;
        boxes.Answer(platform::MsgResult::OK);
        player::ShowSkinsMessage(nullptr);
        QCOMPARE(boxes.Texts(), QStringList{"Skins: Error in skins could not be corrected. Please "
                                            "reinstall skin.\rIgnoring this error may cause "
                                            "desirable operations."});
        QVERIFY(boxes.Asked()[0].Icon == platform::MsgIcon::Critical);
    }

    // What the player's Open makes of a name: its last three characters, in any case; a drop
    // on the window opens the same, one local file at a time, and only while Open is available.
    void openedFile_data() {
        QTest::addColumn<QString>("dropped");  // URLs, blank-separated
        QTest::addColumn<bool>("openAvailable");
        QTest::addColumn<player::OpenedFileKind>("kind");  // of a single file's name
        QTest::addColumn<QString>("opened");               // empty: the drop is refused
        using K = player::OpenedFileKind;
        // clang-format off
        QTest::newRow("cx3")                << "file:///m/a%20b.cx3" << true << K::Lyrics << "/m/a b.cx3";
        QTest::newRow("upper case")         << "file:///SONG.CX3" << true << K::Lyrics << "/SONG.CX3";
        QTest::newRow("cx2")                << "file:///old.cx2" << true << K::Lyrics << "/old.cx2";
        QTest::newRow("no dot")             << "file:///songcx3" << true << K::Lyrics << "/songcx3";
        QTest::newRow("LRC")                << "file:///m/A.LRC" << true << K::Lyrics << "/m/A.LRC";
        QTest::newRow("playlist")           << "file:///m/LIST.CXP" << true << K::Playlist << "/m/LIST.CXP";
        QTest::newRow("other file")         << "file:///m/song.txt" << true << K::Nothing << "";
        QTest::newRow("two lyrics files")   << "file:///m/a.cx3 file:///m/b.cx3" << true << K::Nothing << "";
        QTest::newRow("web address")        << "https://example.org/a.lrc" << true << K::Nothing << "";
        QTest::newRow("while a song plays") << "file:///m/a.cx3" << false << K::Lyrics << "";
        // clang-format on
    }
    void openedFile() {
        QFETCH(QString, dropped);
        QFETCH(bool, openAvailable);
        QList<QUrl> urls;
        for (const QString& url : dropped.split(u' ', Qt::SkipEmptyParts)) {
            urls << QUrl(url);
        }
        if (urls.size() == 1) {
            QTEST(player::KindOfOpenedFile(urls[0].toLocalFile()), "kind");
        }
        QTEST(player::DroppedFileToOpen(urls, openAvailable).value_or(QString()), "opened");
    }

    // Asked before the library is read, a song is looked up once it is; of two songs asked in a
    // row only the last is answered; one found nowhere is found once its file turns up.
    void lyricsLookup() {
        const QString lib = tmp.filePath("lookup");
        QVERIFY(QDir().mkpath(lib));
        QVERIFY(testsupport::WriteBytes(lib + "/Band - Song.cx3", "\"x\"\r\n1,\"l\"\r\n"));
        library::LyricsLibrary library;
        library.Open(lib);
        player::LyricsLookup lookup(library);
        QStringList answers;
        connect(&lookup, &player::LyricsLookup::Found, this,
                [&](const QString& path) { answers << path; });
        connect(&lookup, &player::LyricsLookup::NothingLocal, this,
                [&](const winamp::NowPlayingTrack& track) {
                    answers << "nothing " + QString::fromStdU16String(track.Title);
                });
        lookup.Find({u"Band", u"Song", {}});
        QVERIFY(!library.IsReady());
        QTRY_COMPARE(answers, QStringList{lib + "/Band - Song.cx3"});
        lookup.Find({u"Band", u"Song", {}});
        lookup.Find({{}, u"Other", {}});
        QTRY_COMPARE(answers.value(1), "nothing Other");
        QTest::qWait(50);  // an answer for the song asked before would come now
        QCOMPARE(answers.size(), 2);
        QVERIFY(testsupport::WriteBytes(lib + "/Other.lrc", "[00:01.00]o\n"));
        QTRY_COMPARE(answers.value(2), lib + "/Other.lrc");
    }

    // The encoder is asked for what it accepts: a title alone starts its wizard; a text goes
    // whole, in UTF-8, through a file that stays for the encoder to read.
    void encoderCommand() {
        QCOMPARE(player::EncoderCommandFor("Song - Artist").Arguments,
                 (QStringList{"--title", "Song - Artist"}));
        const QString text = "Zwölf Sätze\nLine two";
        const player::EncoderCommand given = player::EncoderCommandFor("Café - A", text);
        QVERIFY(given.Program.endsWith("/cantorix-encoder"));
        QCOMPARE(given.Arguments.mid(0, 3), (QStringList{"--title", "Café - A", "--source"}));
        QCOMPARE(QString::fromUtf8(testsupport::ReadBytes(given.Arguments.value(3))), text);
        QFile::remove(given.Arguments.value(3));
    }
};

QTEST_MAIN(tst_PlayerRules)
#include "tst_player_rules.moc"
