// The lyrics database client against the stand-in on 127.0.0.1, the challenge, the LRC saved.
#include <QCryptographicHash>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "lyrics/LyricsFile.h"
#include "online/Challenge.h"
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
    "[00:12.50] Out in the night\n[00:15.00]<00:15.00>We <00:15.40>sing\n[00:18.00]");

QJsonObject Song(int id, const QString& artist, const QString& title, double duration,
                 const QJsonValue& synced) {
    // clang-format off
    return {{"id", id}, {"trackName", title}, {"artistName", artist}, {"albumName", "Dusk"},
            {"duration", duration}, {"instrumental", false},
            {"plainLyrics", "Out in the night\nWe sing"}, {"syncedLyrics", synced}};
    // clang-format on
}

// "id Artist - Title (album, seconds, synced|plain|none)" for each record.
QStringList Summary(const QList<online::LyricsRecord>& records) {
    QStringList lines;
    for (const online::LyricsRecord& r : records) {
        const char* kind = r.SyncedLyrics ? "synced" : r.PlainLyrics ? "plain" : "none";
        lines << QStringLiteral("%1 %2 - %3 (%4, %5, %6)")
                     .arg(QString::number(r.Id), r.ArtistName, r.TrackName, r.AlbumName,
                          QString::number(r.Duration), QLatin1String(kind));
    }
    return lines;
}

// The request's result, never before the call returned.
online::Result Await(online::LrclibRequest* request) {
    QSignalSpy finished(request, &online::LrclibRequest::Finished);
    if (!finished.isEmpty() || !finished.wait(5000)) {
        return {Outcome::Cancelled, -1, {}, std::nullopt};
    }
    return finished.first().first().value<online::Result>();
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
        QTest::addColumn<QStringList>("records");
        const QString found = QStringLiteral("3 Lost Band - Night Song (Dusk, 214, synced)");
        const QString live = QStringLiteral("4 Lost Band - Night Song (Live) (Dusk, 250, plain)");
        const QString get = QStringLiteral("get Lost Band|Night Song|214");
        using M = LrclibStandIn::Mode;
        // clang-format off
        QTest::newRow("found, names in any case, length within 2 s")
            << "get lost band|NIGHT SONG|215.6" << M::Normal << Outcome::Ok << QStringList{found};
        QTest::newRow("search lists every match") << "search night band" << M::Normal << Outcome::Ok << QStringList{found, live};
        QTest::newRow("search finding nothing") << "search nobody" << M::Normal << Outcome::Ok << QStringList{};
        QTest::newRow("429") << get << M::TooMany << Outcome::RateLimited << QStringList{};
        QTest::newRow("invalid JSON") << get << M::InvalidJson << Outcome::InvalidAnswer << QStringList{};
        QTest::newRow("connection dropped mid-answer") << get << M::Dropped << Outcome::ConnectionLost << QStringList{};
        QTest::newRow("answer too large to keep") << "search night" << M::Oversized << Outcome::InvalidAnswer << QStringList{};
        // clang-format on
    }
    void Client() {
        QFETCH(QString, call);
        QFETCH(LrclibStandIn::Mode, mode);
        standIn->Answer = mode;
        online::LrclibClient client;
        client.SetTimeoutMs(1000);
        const QStringList args = call.section(u' ', 1).split(u'|');
        const online::Result result =
            Await(call.startsWith(QLatin1String("get"))
                      ? client.Get(args[0], args[1], {}, args[2].toDouble())
                      : client.Search(args[0]));
        QTEST(result.What, "outcome");
        QTEST(Summary(result.Records), "records");
        QCOMPARE(standIn->UserAgents.size(), 1);
        const QString agent = QString::fromUtf8(standIn->UserAgents.value(0));
        QVERIFY2(
            agent.contains(QRegularExpression("^Cantorix/\\d+\\.\\d+\\S* \\(https?://\\S+\\)$")),
            qPrintable(agent));
    }

    void NoServer() {
        standIn->Close();
        online::LrclibClient client;
        QCOMPARE(Await(client.Search(QStringLiteral("night"))).What, Outcome::ConnectionLost);
    }

    void ParseRecords_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("list");
        QTest::addColumn<QString>("records");  // "refused" for nullopt
        // clang-format off
        QTest::newRow("null lyrics, missing album")
            << QByteArray(R"({"id":9,"trackName":"T","artistName":"A","duration":61.5,"plainLyrics":null,"syncedLyrics":null})")
            << false << "9 A - T (, 61.5, none)";
        QTest::newRow("a name that is not text") << QByteArray(R"({"id":9,"trackName":7,"artistName":"A"})") << false << "refused";
        QTest::newRow("lyrics that are not text") << QByteArray(R"({"id":9,"trackName":"T","syncedLyrics":[]})") << false << "refused";
        QTest::newRow("list where a record belongs") << QByteArray("[]") << false << "refused";
        QTest::newRow("record where a list belongs") << QByteArray(R"({"id":9})") << true << "refused";
        QTest::newRow("list with a number in it") << QByteArray("[1]") << true << "refused";
        // clang-format on
    }
    void ParseRecords() {
        QFETCH(QByteArray, body);
        QFETCH(bool, list);
        const auto records = online::ParseRecords(body, list);
        QTEST(records ? Summary(*records).join(u';') : "refused", "records");
    }

    // SHA-256 of "c0ffee42" against the target (equal, last byte one less, first byte more,
    // upper case, 0xd6 > 0x7f): bytes compared unsigned.
    void MeetsTarget() {
        const QString hash = "28d695cc9d8433b1760ed06967e6aadaae2ed7b7ea0ce8ec1a27229f76dd6e57";
        // clang-format off
        for (const auto& [target, meets] : std::initializer_list<std::pair<QString, bool>>{
                 {hash, true}, {hash.left(62) + "56", false}, {"29" + QString(62, u'0'), true},
                 {hash.toUpper(), true}, {"287f" + QString(60, u'f'), false}}) {
            // clang-format on
            const auto challenge = online::MakeChallenge("c0ffee", target);
            QVERIFY2(challenge && online::MeetsTarget(*challenge, 42) == meets, qPrintable(target));
        }
        QVERIFY(!online::MakeChallenge("c0ffee", hash.left(63)) &&
                !online::MakeChallenge("", hash));
    }

    // The stand-in checks the nonce by the database's rule: the solver's passes, a miss is refused.
    void PublishToken() {
        online::LrclibClient client;
        standIn->TargetHex = "1fff" + QByteArray(60, 'f');
        const online::LyricsRecord song{0, "T", "A", "", 1, false, "x", "[00:01.00]x"};
        for (const bool solved : {true, false}) {
            const online::Result issued = Await(client.RequestChallenge());
            QCOMPARE(issued.What, Outcome::Ok);
            const QByteArray prefix = issued.Issued->Prefix;
            std::atomic<bool> never{false};
            quint64 nonce = solved ? *online::SolveRange(*issued.Issued, 0, 100000, never) : 0;
            while (!solved && QCryptographicHash::hash(prefix + QByteArray::number(nonce),
                                                       QCryptographicHash::Sha256)
                                      .toHex() <= standIn->TargetHex) {
                ++nonce;
            }
            const online::Result result = Await(client.Publish(song, *issued.Issued, nonce));
            QCOMPARE(result.HttpStatus, solved ? 201 : 400);
            QCOMPARE(result.What, solved ? Outcome::Ok : Outcome::Refused);
        }
    }

    void PlainFromSynced_data() {
        QTest::addColumn<QString>("synced");
        QTest::addColumn<QString>("plain");
        // clang-format off
        QTest::newRow("stamps and word stamps go") << Synced << "Out in the night\nWe sing";
        QTest::newRow("tags go, one blank between verses")
            << "[ar:A]\r\n[00:01.00]One\r\n[00:02.00]\r\n[00:03.00]\r\n[00:04.00]Two\r\n[00:05]" << "One\n\nTwo";
        QTest::newRow("several stamps on a line, brackets in the text stay")
            << "[00:01.00][01:01.00]Say [yeah] <loud>\r\n" << "Say [yeah] <loud>";
        // clang-format on
    }
    void PlainFromSynced() {
        QFETCH(QString, synced);
        QTEST(online::PlainFromSynced(synced), "plain");
    }

    // Saved under a name with no path in it, titled as the player reads it; nothing without a
    // stamp.
    void SaveSyncedLrc_data() {
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QJsonValue>("synced");
        QTest::addColumn<QString>("file");  // empty: nothing saved
        QTest::newRow("separators stay out of the path")
            << "AC/DC" << QJsonValue(Synced) << "AC_DC - .._.._x_ y_.lrc";
        QTest::newRow("no synced lyrics") << "A" << QJsonValue(QJsonValue::Null) << "";
        QTest::newRow("synced lyrics without a stamp") << "A" << QJsonValue("just words") << "";
    }
    void SaveSyncedLrc() {
        QFETCH(QString, artist);
        QFETCH(QJsonValue, synced);
        QFETCH(QString, file);
        QTemporaryDir folder;
        const QString title = "..\\..\\x: y?";
        const QString path = online::SaveSyncedLrc(
            *online::ParseRecord(Song(1, artist, title, 214, synced)), folder.path());
        QCOMPARE(path, file.isEmpty() ? QString() : folder.filePath(file));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
                 file.isEmpty() ? QStringList{} : QStringList{file});
        QCOMPARE(lyrics::ReadLyricsFile(path).Lines.LyricsTitle,
                 file.isEmpty() ? QString() : title + " - " + artist);
    }
};

QTEST_GUILESS_MAIN(OnlineTest)
#include "tst_online.moc"
