// The player and the open lyrics database's stand-in on 127.0.0.1: the listener's consent,
// what each answer becomes, the order of the matches, and the window's commands over them.
#include <QAction>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "library/LyricsLibrary.h"
#include "lyrics/ConfFile.h"
#include "lyrics/LyricsFile.h"
#include "platform/Folders.h"
#include "platform/LocalWindow.h"
#include "player/OnlineCommands.h"
#include "player/OnlineMatches.h"
#include "player/Session.h"
#include "player/frmMain.h"
#include "player/frmOnline.h"
#include "support/Files.h"
#include "support/Find.h"
#include "support/LrclibStandIn.h"
#include "support/Scripted.h"
#include "support/WindowProcess.h"
#include "winamp-sim/Winamp.h"
#include "winamp/ManualClock.h"
#include "winamp/Messages.h"

using Kind = player::OnlineAnswer::Kind;
using testsupport::LrclibStandIn;
Q_DECLARE_METATYPE(LrclibStandIn::Mode)

namespace {

const QString Synced = QStringLiteral("[00:01.00]Out in the night\n[00:02.00]We sing\n[00:03.00]");

QJsonObject Song(const QString& title, double duration, const QJsonValue& plain,
                 const QJsonValue& synced, const QString& album = "Dusk") {
    return {{"id", 1},
            {"trackName", title},
            {"artistName", "Lost Band"},
            {"albumName", album},
            {"duration", duration},
            {"instrumental", plain.isNull()},
            {"plainLyrics", plain},
            {"syncedLyrics", synced}};
}

// Winamp with one track loaded, whose window title names the song.
struct NamedWinamp {
    NamedWinamp() : model(clock, {winampsim::Track{"Lost Band - Night Song", 214, {}}}) {}
    winamp::ManualClock clock;
    winampsim::Winamp model;
    platform::LocalWindow window{QString::fromLatin1(winamp::WindowClass),
                                 [this](const platform::Message& m) { return model.Handle(m); },
                                 platform::LocalWindow::Scope::Process};
};

}  // namespace

class OnlinePlayerTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<LrclibStandIn> standIn;
    QString Library() const { return dir.filePath("library"); }

  private slots:
    void init() {
        QDir(Library()).removeRecursively();
        QFile::remove(Library());
        QFile::remove(platform::ConfFilePath());
        library::SetLibraryFolder(Library());
        standIn = std::make_unique<LrclibStandIn>();
        standIn->Songs = {
            Song("Night Song", 214, "Out in the night\nWe sing", Synced),
            Song("Night Song (Live)", 250, "Out in the night\nWe sing", QJsonValue::Null, ""),
            Song("Hum", 100, QJsonValue::Null, QJsonValue::Null)};
        qputenv("CANTORIX_LRCLIB_URL", standIn->Url().toUtf8());
    }

    // The consent first, then what the database's answer becomes; of two questions in a row
    // only the newer is answered.
    void Ask_data() {
        QTest::addColumn<int>("consent");   // cantorix.conf: -1 never asked, 0 no, 1 yes
        QTest::addColumn<bool>("yes");      // the answer to the question, when asked
        QTest::addColumn<QString>("song");  // title|seconds, by Lost Band; ";" between two
        QTest::addColumn<LrclibStandIn::Mode>("mode");
        QTest::addColumn<bool>("blocked");  // the library folder is a file
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("kind");         // -1: nothing asked of the database
        QTest::addColumn<QString>("message");  // and the reason after a "|"
        const LrclibStandIn::Mode ok = LrclibStandIn::Mode::Normal;
        const QString none = "No lyrics for Lost Band - ";
        // clang-format off
        QTest::newRow("first time, no") << -1 << false << "Night Song|214" << ok << false << 1 << -1 << "";
        QTest::newRow("first time, yes: synced") << -1 << true << "Night Song|214" << ok << false << 1 << int(Kind::Synced) << "|";
        QTest::newRow("said no before") << 0 << true << "Night Song|214" << ok << false << 0 << -1 << "";
        QTest::newRow("nothing playing") << -1 << true << "|0" << ok << false << 0 << -1 << "";
        QTest::newRow("not found") << 1 << true << "Night Song|230" << ok << false << 0 << int(Kind::None) << none + "Night Song|";
        QTest::newRow("instrumental") << 1 << true << "Hum|100" << ok << false << 0 << int(Kind::None) << none + "Hum|";
        QTest::newRow("asked again") << 1 << true << "Night Song|214;Hum|100" << ok << false << 0 << int(Kind::None) << none + "Hum|";
        QTest::newRow("plain only") << 1 << true << "Night Song (Live)|250" << ok << false << 0 << int(Kind::PlainOnly) << "|";
        QTest::newRow("server error") << 1 << true << "Night Song|214" << LrclibStandIn::Mode::Broken << false << 0
                                      << int(Kind::Failed) << none + "Night Song|the lyrics database failed";
        QTest::newRow("library unwritable") << 1 << true << "Night Song|214" << ok << true << 0 << int(Kind::Failed)
                                            << none + "Night Song|could not keep them in the lyrics library " + Library();
        // clang-format on
    }
    void Ask() {
        QFETCH(int, consent);
        QFETCH(bool, yes);
        QFETCH(QString, song);
        QFETCH(LrclibStandIn::Mode, mode);
        QFETCH(bool, blocked);
        QFETCH(int, kind);
        standIn->Answer = mode;
        if (blocked) {
            QVERIFY(QFile(Library()).open(QIODevice::WriteOnly));
        }
        online::LrclibClient client;
        player::OnlineLyrics lyrics(client, platform::ConfFilePath());
        lyrics.SetFolder(Library());
        lyrics.SetAllowed(consent < 0 ? std::nullopt : std::optional<bool>(consent == 1));
        int questions = 0;
        lyrics.SetQuestion([&] { return ++questions, yes; });
        QSignalSpy answered(&lyrics, &player::OnlineLyrics::Answered);
        for (const QString& ask : song.split(u';')) {
            const QStringList parts = ask.split(u'|');
            QCOMPARE(lyrics.Ask("Lost Band", parts[0], {}, parts[1].toDouble()), kind >= 0);
        }
        QTEST(questions, "questions");
        if (questions > 0) {
            QCOMPARE(lyrics::ReadConfFile(platform::ConfFilePath()).SearchOnline,
                     std::optional<bool>(yes));
        }
        if (kind < 0) {
            QTest::qWait(100);
            QVERIFY(standIn->UserAgents.isEmpty());  // nothing left the machine
            QVERIFY(answered.isEmpty());
            return;
        }
        // Synced lyrics are in the library within a second of the question.
        QVERIFY(answered.wait(1000));
        QTest::qWait(50);  // an answer to an older question would come now
        QCOMPARE(answered.size(), 1);
        const auto answer = answered.first().first().value<player::OnlineAnswer>();
        QCOMPARE(int(answer.What), kind);
        QTEST(answer.Message + u'|' + answer.Reason, "message");
        QCOMPARE(answer.Path.isEmpty(), kind != int(Kind::Synced));
        if (kind == int(Kind::Synced)) {
            QCOMPARE(QFileInfo(answer.Path).dir().path(), Library());
            QCOMPARE(lyrics::ReadLyricsFile(answer.Path).Lines.LyricsTitle,
                     "Night Song - Lost Band");
        }
    }

    // The dialog's list: synced lyrics first, then plain, then none; the length
    // closest to the song's first among equals.
    void Matches() {
        QList<online::LyricsRecord> records;
        QJsonObject none = Song("E", 214, "  ", "");
        none["instrumental"] = false;
        for (const QJsonObject& song :
             {Song("D", 61.5, QJsonValue::Null, QJsonValue::Null), none,
              Song("C", 214, "Words", QJsonValue::Null, ""),
              Song("A", 300, QJsonValue::Null, Synced), Song("B", 215, "x", Synced)}) {
            records.append(*online::ParseRecord(song));
        }
        player::OnlineMatches model;
        model.SetMatches(records, 214);
        QStringList rows;
        for (int r = 0; r < model.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model.columnCount(); ++c) {
                cells << model.index(r, c).data().toString();
            }
            rows << cells.join(u'|');
        }
        QCOMPARE(rows, QStringList({"Lost Band|B|Dusk|3:35|synced", "Lost Band|A|Dusk|5:00|synced",
                                    "Lost Band|C||3:34|plain", "Lost Band|E|Dusk|3:34|none",
                                    "Lost Band|D|Dusk|1:02|instrumental"}));
        // Synced lyrics alone still give the encoder their words.
        QCOMPARE(player::TextToTime(model.Matches()[1]), "Out in the night\nWe sing");
    }

    // Search Online...: cancelled, nothing; a plain match handed to the encoder; a synced one
    // shown and kept in the library. The consent is only kept by its Settings item.
    void SearchOnline() {
        NamedWinamp winamp;
        testsupport::ScriptedModal modal;
        testsupport::ScriptedBoxes boxes;
        player::frmMain w;
        w.Form_Load();
        QStringList started;
        w.Online().SetEncoderStarter([&](const QString& title, const QString& text) {
            started = QStringList{title, text};
            return true;
        });
        QStringList listed;
        // The title shown and the library's files after the match chosen, "" for Cancel.
        const auto search = [&](const QString& match, bool time) {
            listed.clear();
            modal.Next([&](QDialog* d) {
                auto* dialog = qobject_cast<player::frmOnline*>(d);
                dialog->cmdSearch_Click();  // the words come from Winamp's window title
                QTRY_VERIFY(dialog->GetStatus() != "Searching...");
                for (const auto& record : dialog->Matches().Matches()) {
                    listed << record.TrackName;
                }
                if (!match.isEmpty()) {
                    dialog->SelectMatch(int(listed.indexOf(match)));
                    time ? dialog->cmdTime_Click() : dialog->cmdShow_Click();
                }
            });
            testsupport::Child<QAction>(&w, "itmLOnline")->trigger();
            return w.findChild<player::Session*>()->Lyrics().LyricsTitle + '|' +
                   QDir(Library()).entryList(QDir::Files).join(',');
        };
        QCOMPARE(search({}, false), "|");
        QCOMPARE(listed, QStringList({"Night Song", "Night Song (Live)"}));
        QCOMPARE(search("Night Song (Live)", true), "|");
        QCOMPARE(started,
                 QStringList({"Night Song (Live) - Lost Band", "Out in the night\nWe sing"}));
        QCOMPARE(search("Night Song", false), "Night Song - Lost Band|Lost Band - Night Song.lrc");
        QCOMPARE(boxes.Unexpected(), 0);
        QCOMPARE(lyrics::ReadConfFile(platform::ConfFilePath()).SearchOnline, std::nullopt);
        auto* allow = testsupport::Child<QAction>(&w, "itmSOnline");
        QVERIFY(!allow->isChecked());
        allow->trigger();
        QCOMPARE(lyrics::ReadConfFile(platform::ConfFilePath()).SearchOnline, true);
    }

    // Following the real winamp-sim: the first song without local lyrics asks whether the
    // database may be asked; a 404 leaves the session's words; synced lyrics are shown in step,
    // kept in the library; an answer that arrives after the song changed to one with local
    // lyrics is not shown; a database that stalls for the whole 10 s limit never holds the
    // window, whose timers keep firing, and says so.
    void FollowAsksOnline() {
        standIn->Songs = {
            Song("Night Song", 214, "One", "[00:01.00]One\n[00:15.00]Two\n[00:40.00]Three"),
            Song("Morning Call", 180, "Late", "[00:00.00]Late")};
        QVERIFY(QDir().mkpath(Library()));
        QVERIFY(testsupport::WriteBytes(Library() + "/Other Folk - Here We Are.lrc",
                                        "[00:00.00]Here\n"));
        const QString m3u = dir.filePath("songs.m3u");
        QVERIFY(testsupport::WriteBytes(m3u,
                                        "#EXTM3U\n#EXTINF:230,Lost Band - Night Song\n1.mp3\n"
                                        "#EXTINF:214,Lost Band - Night Song\n2.mp3\n"
                                        "#EXTINF:180,Lost Band - Morning Call\n3.mp3\n"
                                        "#EXTINF:100,Other Folk - Here We Are\n4.mp3\n"
                                        "#EXTINF:100,Lost Band - Hum\n5.mp3\n"));
        QProcess sim;
        const platform::HWND winamp = testsupport::StartWindowProcess(
            sim, CANTORIX_BIN_DIR "/winamp-sim", {"--headless", m3u}, "Winamp v1.x");
        QVERIFY(winamp != 0);
        const auto post = [winamp](platform::UINT message, platform::WPARAM w, platform::LPARAM l) {
            platform::PostMessageA(winamp, message, w, l);
        };
        testsupport::ScriptedBoxes boxes;
        boxes.Answer(platform::MsgResult::Yes);
        player::frmMain w;
        w.Form_Load();
        const QLabel* current = testsupport::Child<QLabel>(&w, "lblCurrLine");
        const QLabel* next = testsupport::Child<QLabel>(&w, "lblNextLine");
        post(winamp::MsgCommand, winamp::CmdPlay, 0);
        testsupport::Child<QAction>(&w, "itmPFollow")->trigger();
        QTRY_COMPARE(current->text(), "No lyrics for Lost Band - Night Song");
        QTRY_COMPARE(standIn->UserAgents.size(), 1);  // 230 s: 404
        QTest::qWait(200);
        QCOMPARE(current->text() + '|' + next->text(),
                 "No lyrics for Lost Band - Night Song|Click above to time them now");
        QVERIFY(boxes.Asked().size() == 1 && boxes.Asked()[0].Icon == platform::MsgIcon::Question);
        QVERIFY(testsupport::Child<QAction>(&w, "itmSOnline")->isChecked());
        post(winamp::MsgCommand, winamp::CmdNext, 0);
        post(winamp::MsgUser, 20000, winamp::SeekTo);
        QTRY_COMPARE_WITH_TIMEOUT(current->text() + '|' + next->text(), "Two|Three", 1000);
        QVERIFY(QFile::exists(Library() + "/Lost Band - Night Song.lrc"));
        standIn->Answer = LrclibStandIn::Mode::Slow;
        standIn->SlowMs = 800;
        post(winamp::MsgCommand, winamp::CmdNext, 0);
        QTRY_COMPARE(current->text(), "No lyrics for Lost Band - Morning Call");
        post(winamp::MsgCommand, winamp::CmdNext, 0);
        QTRY_COMPARE(current->text(), "Here");
        QTRY_VERIFY(QFile::exists(Library() + "/Lost Band - Morning Call.lrc"));
        QTest::qWait(300);
        QCOMPARE(current->text(), "Here");
        standIn->Answer = LrclibStandIn::Mode::Stall;
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(40);
        post(winamp::MsgCommand, winamp::CmdNext, 0);
        QTRY_COMPARE_WITH_TIMEOUT(current->text() + '|' + next->text(),
                                  "No lyrics for Lost Band - Hum|the lyrics database did not "
                                  "answer in time",
                                  15000);
        QVERIFY2(ticks > 100, qPrintable(QString::number(ticks)));
        QCOMPARE(boxes.Unexpected(), 0);
        sim.kill();
        sim.waitForFinished();
    }
};

QTEST_MAIN(OnlinePlayerTest)
#include "tst_online_player.moc"
