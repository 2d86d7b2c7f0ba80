// The open lyrics database client against the stand-in server on 127.0.0.1:
// what each kind of answer becomes, the challenge rule and its solver, the
// token the database checks, and the LRC text saved from what arrives.
// Publishing as a whole is the encoder's test (tst_publish), finding lyrics the
// player's (tst_online_player).
#include <QCryptographicHash>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "lyrics/LrcFile.h"
#include "lyrics/LyricsFile.h"
#include "online/ChallengeSolver.h"
#include "online/LrclibClient.h"
#include "online/SyncedText.h"
#include "support/LrclibStandIn.h"

using online::Outcome;
using testsupport::LrclibStandIn;

Q_DECLARE_METATYPE(online::Result)
Q_DECLARE_METATYPE(LrclibStandIn::Mode)
Q_DECLARE_METATYPE(online::Outcome)

namespace {

const QString Synced = QStringLiteral(
    "[00:12.50] Out in the night\n[00:15.00]<00:15.00>We "
    "<00:15.40>sing\n[00:18.00]");

QJsonObject Song(int id, const QString& artist, const QString& title, double duration,
                 const QJsonValue& synced) {
    return {{"id", id},
            {"trackName", title},
            {"artistName", artist},
            {"albumName", "Dusk"},
            {"duration", duration},
            {"instrumental", false},
            {"plainLyrics", "Out in the night\nWe sing"},
            {"syncedLyrics", synced}};
}

// "Artist - Title (album, seconds, synced|plain|none)" for each record.
QStringList Summary(const QList<online::LyricsRecord>& records) {
    QStringList lines;
    for (const online::LyricsRecord& r : records) {
        const QString kind = r.SyncedLyrics  ? QStringLiteral("synced")
                             : r.PlainLyrics ? QStringLiteral("plain")
                                             : QStringLiteral("none");
        lines.append(QStringLiteral("%1 %2 - %3 (%4, %5, %6)")
                         .arg(r.Id)
                         .arg(r.ArtistName, r.TrackName, r.AlbumName)
                         .arg(r.Duration)
                         .arg(kind));
    }
    return lines;
}

// Waits for the request's result, checking it did not come before the call
// returned.
online::Result Await(online::LrclibRequest* request) {
    QSignalSpy finished(request, &online::LrclibRequest::Finished);
    if (!finished.isEmpty() || !finished.wait(5000)) {
        return {Outcome::Cancelled, -1, {}, std::nullopt};
    }
    return finished.first().first().value<online::Result>();
}

QByteArray HashHex(const QByteArray& text) {
    return QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex();
}

}  // namespace

class OnlineTest : public QObject {
    Q_OBJECT

    LrclibStandIn* standIn = nullptr;

  private slots:
    void init() {
        qRegisterMetaType<online::Result>();
        standIn = new LrclibStandIn(this);
        standIn->Songs = {Song(3, "Lost Band", "Night Song", 214, Synced),
                          Song(4, "Lost Band", "Night Song (Live)", 250, QJsonValue::Null)};
        qputenv("CANTORIX_LRCLIB_URL", standIn->Url().toUtf8());
    }
    void cleanup() { delete standIn; }

    void Client_data() {
        QTest::addColumn<QString>("call");  // get ARTIST|TITLE|SECONDS, search WORDS
        QTest::addColumn<LrclibStandIn::Mode>("mode");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("records");
        const QString found = QStringLiteral("3 Lost Band - Night Song (Dusk, 214, synced)");
        const QString live = QStringLiteral("4 Lost Band - Night Song (Live) (Dusk, 250, plain)");
        using M = LrclibStandIn::Mode;
        QTest::newRow("found, names in any case, length within 2 s")
            << "get lost band|NIGHT SONG|215.6" << M::Normal << Outcome::Ok << 200
            << QStringList{found};
        QTest::newRow("search lists every match")
            << "search night band" << M::Normal << Outcome::Ok << 200 << QStringList{found, live};
        QTest::newRow("search finding nothing")
            << "search nobody" << M::Normal << Outcome::Ok << 200 << QStringList{};
        QTest::newRow("slow answer") << "get Lost Band|Night Song|214" << M::Slow << Outcome::Ok
                                     << 200 << QStringList{found};
        QTest::newRow("429") << "get Lost Band|Night Song|214" << M::TooMany << Outcome::RateLimited
                             << 429 << QStringList{};
        QTest::newRow("invalid JSON") << "get Lost Band|Night Song|214" << M::InvalidJson
                                      << Outcome::InvalidAnswer << 200 << QStringList{};
        QTest::newRow("connection dropped mid-answer")
            << "get Lost Band|Night Song|214" << M::Dropped << Outcome::ConnectionLost << 200
            << QStringList{};
        QTest::newRow("answer too large to keep")
            << "search night" << M::Oversized << Outcome::InvalidAnswer << 200 << QStringList{};
    }
    void Client() {
        QFETCH(QString, call);
        QFETCH(LrclibStandIn::Mode, mode);
        standIn->Answer = mode;
        online::LrclibClient client;
        client.SetTimeoutMs(1000);
        const QStringList args = call.section(u' ', 1).split(u'|');
        online::LrclibRequest* request = call.startsWith(QLatin1String("get"))
                                             ? client.Get(args[0], args[1], {}, args[2].toDouble())
                                             : client.Search(args[0]);
        const online::Result result = Await(request);
        QTEST(result.What, "outcome");
        QTEST(result.HttpStatus, "status");
        QTEST(Summary(result.Records), "records");
        QCOMPARE(standIn->UserAgents.size(), 1);
        QVERIFY2(
            QRegularExpression(QStringLiteral("^Cantorix/\\d+\\.\\d+\\S* \\(https?://\\S+\\)$"))
                .match(QString::fromUtf8(standIn->UserAgents[0]))
                .hasMatch(),
            standIn->UserAgents[0]);
    }

    void NoServer() {
        standIn->Close();
        online::LrclibClient client;
        QCOMPARE(Await(client.Search(QStringLiteral("night"))).What, Outcome::ConnectionLost);
    }

    void ParseRecords_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("list");
        QTest::addColumn<QStringList>("records");  // {"refused"} for nullopt
        QTest::newRow("null lyrics, missing album")
            << QByteArray(
                   R"({"id":9,"trackName":"T","artistName":"A","duration":61.5,"instrumental":true,"plainLyrics":null,"syncedLyrics":null})")
            << false << QStringList{"9 A - T (, 61.5, none)"};
        QTest::newRow("a name that is not text")
            << QByteArray(R"({"id":9,"trackName":7,"artistName":"A"})") << false
            << QStringList{"refused"};
        QTest::newRow("lyrics that are not text")
            << QByteArray(R"({"id":9,"trackName":"T","artistName":"A","syncedLyrics":[]})") << false
            << QStringList{"refused"};
        QTest::newRow("list where a record belongs")
            << QByteArray("[]") << false << QStringList{"refused"};
        QTest::newRow("record where a list belongs")
            << QByteArray(R"({"id":9})") << true << QStringList{"refused"};
        QTest::newRow("list with a number in it")
            << QByteArray("[1]") << true << QStringList{"refused"};
    }
    void ParseRecords() {
        QFETCH(QByteArray, body);
        QFETCH(bool, list);
        const auto records = online::ParseRecords(body, list);
        QTEST(records ? Summary(*records) : QStringList{"refused"}, "records");
    }

    void MeetsTarget_data() {
        // SHA-256 of "c0ffee42".
        const QString hash =
            QStringLiteral("28d695cc9d8433b1760ed06967e6aadaae2ed7b7ea0ce8ec1a27229f76dd6e57");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("meets");
        QTest::newRow("equal") << hash << true;
        QTest::newRow("last byte one less") << hash.left(62) + "56" << false;
        QTest::newRow("last byte one more") << hash.left(62) + "58" << true;
        QTest::newRow("first byte less, the rest all ones") << "27" + QString(62, u'f') << false;
        QTest::newRow("first byte more, the rest zeros") << "29" + QString(62, u'0') << true;
        QTest::newRow("upper-case hex") << hash.toUpper() << true;
        QTest::newRow("bytes compare unsigned: 0xd6 > 0x7f") << "287f" + QString(60, u'f') << false;
    }
    void MeetsTarget() {
        QFETCH(QString, target);
        const auto challenge = online::MakeChallenge(QStringLiteral("c0ffee"), target);
        QVERIFY(challenge);
        QTEST(online::MeetsTarget(*challenge, 42), "meets");
        QVERIFY(!online::MakeChallenge(QStringLiteral("c0ffee"), target.left(63)));
        QVERIFY(!online::MakeChallenge(QString(), target));
        QCOMPARE(online::ExpectedTries(
                     *online::MakeChallenge(QStringLiteral("p"), "00" + QString(62, u'f'))),
                 256.0);
    }

    // The solver works off the caller's thread, reports while it works, stops
    // when cancelled, and then finds a nonce the stand-in's own rule accepts.
    void Solver() {
        online::ChallengeSolver solver;
        QSignalSpy progress(&solver, &online::ChallengeSolver::Progress);
        QSignalSpy solved(&solver, &online::ChallengeSolver::Solved);
        QSignalSpy cancelled(&solver, &online::ChallengeSolver::Cancelled);
        QVERIFY(solver.Start(*online::MakeChallenge(QStringLiteral("ab"), QString(64, u'0'))));
        QVERIFY(!solver.Start(*online::MakeChallenge(QStringLiteral("ab"), QString(64, u'f'))));
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last().first().toULongLong() > 0,
                                 5000);
        solver.Cancel();
        QVERIFY(cancelled.wait(2000));
        QVERIFY(solved.isEmpty());
        const QByteArray target = "0007" + QByteArray(60, 'f');
        QVERIFY(solver.Start(
            *online::MakeChallenge(QStringLiteral("ab"), QString::fromLatin1(target))));
        QVERIFY(solved.wait(20000));
        QCOMPARE(cancelled.size(), 1);
        QVERIFY(HashHex("ab" + QByteArray::number(solved.first().first().toULongLong())) <= target);
    }

    // The stand-in refuses a token by the same rule, so a solver that is wrong
    // fails here.
    void PublishToken_data() {
        QTest::addColumn<QString>("token");  // "solved", or "wrong" for a nonce that misses
        QTest::addColumn<int>("status");
        QTest::newRow("solved") << "solved" << 201;
        QTest::newRow("a nonce that misses") << "wrong" << 400;
    }
    void PublishToken() {
        QFETCH(QString, token);
        online::LrclibClient client;
        standIn->TargetHex = "1fff" + QByteArray(60, 'f');
        online::Result issued = Await(client.RequestChallenge());
        QCOMPARE(issued.What, Outcome::Ok);
        online::Challenge challenge = *issued.Issued;
        std::atomic<bool> never{false};
        quint64 nonce = *online::SolveRange(challenge, 0, 100000, never);
        if (token == QLatin1String("wrong")) {
            nonce = 0;
            while (HashHex(challenge.Prefix + QByteArray::number(nonce)) <= standIn->TargetHex) {
                ++nonce;
            }
        }
        const online::LyricsRecord song{0, "T", "A", "", 1, false, "x", "[00:01.00]x"};
        const online::Result result = Await(client.Publish(song, challenge, nonce));
        QTEST(result.HttpStatus, "status");
        QCOMPARE(result.What, result.HttpStatus == 201 ? Outcome::Ok : Outcome::Refused);
    }

    void PlainFromSynced_data() {
        QTest::addColumn<QString>("synced");
        QTest::addColumn<QString>("plain");
        QTest::newRow("stamps and word stamps go") << Synced << "Out in the night\nWe sing";
        QTest::newRow("tags go, one blank between verses")
            << "[ar:A]\r\n[00:01.00]One\r\n[00:02.00]\r\n[00:03.00]\r\n[00:04.00]"
               "Two\r\n[00:05]"
            << "One\n\nTwo";
        QTest::newRow("several stamps on a line, CR LF") << "[00:01.00][01:01.00]Again\r\n"
                                                         << "Again";
        QTest::newRow("brackets in the text stay") << "[00:01.00]Say [yeah] <loud>"
                                                   << "Say [yeah] <loud>";
    }
    void PlainFromSynced() {
        QFETCH(QString, synced);
        QTEST(online::PlainFromSynced(synced), "plain");
    }

    void SaveSyncedLrc_data() {
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QJsonValue>("synced");
        QTest::addColumn<QString>("file");   // empty: nothing saved
        QTest::addColumn<QString>("shown");  // the title the player reads from it
        QTest::newRow("separators stay out of the path")
            << "AC/DC"
            << "..\\..\\x: y?" << QJsonValue(Synced) << "AC_DC - .._.._x_ y_.lrc"
            << "..\\..\\x: y? - AC/DC";
        QTest::newRow("no synced lyrics") << "Lost Band"
                                          << "Night Song" << QJsonValue(QJsonValue::Null) << ""
                                          << "";
        QTest::newRow("synced lyrics without a stamp")
            << "Lost Band"
            << "Night Song" << QJsonValue("just words") << ""
            << "";
    }
    void SaveSyncedLrc() {
        QFETCH(QString, artist);
        QFETCH(QString, title);
        QFETCH(QJsonValue, synced);
        QFETCH(QString, file);
        QTemporaryDir folder;
        const auto record = online::ParseRecord(Song(1, artist, title, 214, synced));
        const QString path = online::SaveSyncedLrc(*record, folder.path());
        QCOMPARE(path, file.isEmpty() ? QString() : folder.filePath(file));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
                 file.isEmpty() ? QStringList{} : QStringList{file});
        if (!file.isEmpty()) {
            const lyrics::LyricsRead read = lyrics::ReadLyricsFile(path);
            QVERIFY(read.Complete);
            const lyrics::LyricLines& table = read.Lines;
            QTEST(table.LyricsTitle, "shown");
            QCOMPARE(table.Rows.size(), size_t(4));
            QCOMPARE(table.Rows[2].Text, "We sing");
        }
    }
};

QTEST_GUILESS_MAIN(OnlineTest)
#include "tst_online.moc"
