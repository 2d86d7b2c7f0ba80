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
#include "platform/Folders.h"
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
#include "winamp/Messages.h"

using Kind = player::OnlineAnswer::Kind;
using testsupport::LrclibStandIn;

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
        QTest::addColumn<int>("consent");      // cantorix.conf: -1 never asked, 0 no, 1 yes
        QTest::addColumn<QString>("answer");   // to the question; empty: it must not come
        QTest::addColumn<QString>("song");     // title|seconds, by Lost Band; ";" between two
        QTest::addColumn<QString>("server");   // broken; blocked: the library folder is a file
        QTest::addColumn<int>("kind");         // -1: nothing asked of the database
        QTest::addColumn<QString>("message");  // and the reason after a "|"
        const QString none = "No lyrics for Lost Band - ";
        // clang-format off
        QTest::newRow("first time, no") << -1 << "no" << "Night Song|214" << "" << -1 << "";
        QTest::newRow("first time, yes: synced") << -1 << "yes" << "Night Song|214" << "" << int(Kind::Synced) << "|";
        QTest::newRow("said no before") << 0 << "" << "Night Song|214" << "" << -1 << "";
        QTest::newRow("nothing playing") << -1 << "" << "|0" << "" << -1 << "";
        QTest::newRow("not found") << 1 << "" << "Night Song|230" << "" << int(Kind::None) << none + "Night Song|";
        QTest::newRow("instrumental") << 1 << "" << "Hum|100" << "" << int(Kind::None) << none + "Hum|";
        QTest::newRow("asked again") << 1 << "" << "Night Song|214;Hum|100" << "" << int(Kind::None) << none + "Hum|";
        QTest::newRow("plain only") << 1 << "" << "Night Song (Live)|250" << "" << int(Kind::PlainOnly) << "|";
        QTest::newRow("server error") << 1 << "" << "Night Song|214" << "broken" << int(Kind::Failed)
                                      << none + "Night Song|the lyrics database failed";
        QTest::newRow("library unwritable") << 1 << "" << "Night Song|214" << "blocked" << int(Kind::Failed)
                                            << none + "Night Song|could not keep them in the lyrics library " + Library();
        // clang-format on
    }
    void Ask() {
        QFETCH(int, consent);
        QFETCH(QString, answer);
        QFETCH(QString, song);
        QFETCH(QString, server);
        QFETCH(int, kind);
        standIn->Answer =
            server == "broken" ? LrclibStandIn::Mode::Broken : LrclibStandIn::Mode::Normal;
        if (server == "blocked") {
            QVERIFY(QFile(Library()).open(QIODevice::WriteOnly));
        }
        online::LrclibClient client;
        player::OnlineLyrics lyrics(client, platform::ConfFilePath());
        lyrics.SetFolder(Library());
        lyrics.SetAllowed(consent < 0 ? std::nullopt : std::optional<bool>(consent == 1));
        QStringList asked;
        lyrics.SetQuestion([&] { return asked << answer, answer == "yes"; });
        QSignalSpy answered(&lyrics, &player::OnlineLyrics::Answered);
        for (const QString& ask : song.split(u';')) {
            const QStringList parts = ask.split(u'|');
            QCOMPARE(lyrics.Ask("Lost Band", parts[0], {}, parts[1].toDouble()), kind >= 0);
        }
        QCOMPARE(asked.join(' '), answer);  // once, or not at all
        QCOMPARE(lyrics::ReadConfFile(platform::ConfFilePath()).SearchOnline,
                 answer.isEmpty() ? std::nullopt : std::optional<bool>(answer == "yes"));
        if (kind < 0) {
            QTest::qWait(100);
            QVERIFY(standIn->UserAgents.isEmpty() && answered.isEmpty());  // nothing went out
            return;
        }
        // Synced lyrics are in the library within a second of the question.
        QVERIFY(answered.wait(1000));
        QTest::qWait(50);  // an answer to an older question would come now
        QCOMPARE(answered.size(), 1);
        const auto got = answered.first().first().value<player::OnlineAnswer>();
        QCOMPARE(int(got.What), kind);
        QTEST(got.Message + u'|' + got.Reason, "message");
        QCOMPARE(got.Path,
                 kind == int(Kind::Synced) ? Library() + "/Lost Band - Night Song.lrc" : QString());
    }

    // The dialog's list: synced lyrics, then plain, then none; the closest length first.
    void Matches() {
        QList<online::LyricsRecord> records;
        for (const QJsonObject& song :
             {Song("D", 61.5, QJsonValue::Null, QJsonValue::Null), Song("E", 214, "  ", ""),
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

    // Following the real winamp-sim: the first song without local lyrics asks whether the
    // database may be asked; a 404 leaves the session's words; synced lyrics are shown in step,
    // kept in the library; an answer that arrives after the song changed to one with local
    // lyrics is not shown; a database that stalls for the whole 10 s limit never holds the
    // window, whose timers keep firing, and says so. Then Search Online... hands the words of
    // a match to the encoder; the Settings item takes the consent back.
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
        testsupport::ScriptedModal modal;
        boxes.Answer(platform::MsgResult::Yes);
        player::frmMain w;
        w.Form_Load();
        const QLabel* current = testsupport::Child<QLabel>(&w, "lblCurrLine");
        const QLabel* next = testsupport::Child<QLabel>(&w, "lblNextLine");
        const auto shown = [&] { return current->text() + '|' + next->text(); };
        post(winamp::MsgCommand, winamp::CmdPlay, 0);
        testsupport::Child<QAction>(&w, "itmPFollow")->trigger();
        QTRY_COMPARE(standIn->UserAgents.size(), 1);  // 230 s: 404
        QTest::qWait(200);
        QCOMPARE(shown(), "No lyrics for Lost Band - Night Song|Click above to time them now");
        post(winamp::MsgCommand, winamp::CmdNext, 0);
        post(winamp::MsgUser, 20000, winamp::SeekTo);
        QTRY_COMPARE_WITH_TIMEOUT(shown(), "Two|Three", 1000);
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
        QTRY_COMPARE_WITH_TIMEOUT(shown(),
                                  "No lyrics for Lost Band - Hum|the lyrics database did not "
                                  "answer in time",
                                  15000);
        QVERIFY2(ticks > 100, qPrintable(QString::number(ticks)));

        standIn->Answer = LrclibStandIn::Mode::Normal;
        standIn->Songs << Song("Hum", 100, "Hmm", QJsonValue::Null);
        QStringList started;
        w.Online().SetEncoderStarter([&](const QString& title, const QString& text) {
            started = QStringList{title, text};
            return true;
        });
        modal.Next([&](QDialog* d) {
            auto* dialog = qobject_cast<player::frmOnline*>(d);
            dialog->cmdSearch_Click();  // the words come from Winamp's window title
            QTRY_VERIFY(dialog->GetStatus() != "Searching...");
            dialog->SelectMatch(0);
            dialog->cmdTime_Click();
        });
        testsupport::Child<QAction>(&w, "itmLOnline")->trigger();
        QCOMPARE(started, QStringList({"Hum - Lost Band", "Hmm"}));
        testsupport::Child<QAction>(&w, "itmSOnline")->trigger();
        QCOMPARE(lyrics::ReadConfFile(platform::ConfFilePath()).SearchOnline, false);
        QCOMPARE(boxes.Unexpected() + modal.Unexpected(), 0);
        sim.kill();
        sim.waitForFinished();
    }
};

QTEST_MAIN(OnlinePlayerTest)
#include "tst_online_player.moc"
