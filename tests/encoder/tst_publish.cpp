// Publishing from the encoder against the stand-in on 127.0.0.1: the draft, then the dialog.
#include <QAction>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "encoder/PublishDraft.h"
#include "encoder/frmMain.h"
#include "encoder/frmPublish.h"
#include "support/Files.h"
#include "support/Find.h"
#include "support/LrclibStandIn.h"
#include "support/Scripted.h"
#include "support/SimWinamp.h"

using testsupport::LrclibStandIn;
Q_DECLARE_METATYPE(LrclibStandIn::Mode)

namespace {
const QByteArray Timed =
    "\"Night Song - Lost Band\"\r\n1.5,\"Out in the night\"\r\n3,\"We sing\"\r\n";
}  // namespace

class PublishTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        testsupport::WriteBytes(path, bytes);
        return path;
    }

  private slots:
    void Draft_data() {
        QTest::addColumn<QString>("file");  // name in the folder; empty: none written yet
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lengthS");
        QTest::addColumn<QString>("sent");  // song|artist|seconds|synced|plain, or the problem
        // clang-format off
        QTest::newRow("timed song") << "a.cx3" << Timed << 214
            << "Night Song|Lost Band|214|[00:00.00]Out in the night\n[00:01.50]We sing|Out in the night\nWe sing";
        QTest::newRow("the last line may go untimed") << "b.cx3" << QByteArray("\"S - A\"\r\n1,\"one\"\r\n,\"two\"\r\n") << 60
            << "S|A|60|[00:00.00]one\n[00:01.00]two|one\ntwo";
        QTest::newRow("LRC with a blank line first") << "c.lrc" << QByteArray("[ti:S]\n[ar:A]\n[00:02.00]one\n[00:04.50]two\n") << 60
            << "S|A|60|[00:02.00]one\n[00:04.50]two|one\ntwo";
        QTest::newRow("capture stopped early") << "d.cx3" << QByteArray("\"S - A\"\r\n1,\"one\"\r\n,\"two\"\r\n,\"three\"\r\n") << 60
            << "Some lines of the song have no time yet. Time the whole song, then publish it.";
        QTest::newRow("no artist") << "e.cx3" << QByteArray("\"Song\"\r\n1,\"one\"\r\n") << 60
            << "The song's title does not name its artist. Give it as \"Song - Artist\" (Quickfix > Title...), then publish it.";
        QTest::newRow("Winamp gives no length") << "f.cx3" << Timed << 0
            << "Winamp gives no length for the song. Play it in Winamp, then publish it.";
        QTest::newRow("nothing written yet") << "" << QByteArray() << 60 << "There is no timed lyrics file to publish yet.";
        QTest::newRow("file gone") << "gone.cx3" << QByteArray() << 60 << "Could not read the lyrics file:\n<dir>/gone.cx3";
        // clang-format on
    }
    void Draft() {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(int, lengthS);
        const QString path = file.isEmpty()    ? QString()
                             : bytes.isEmpty() ? dir.filePath(file)
                                               : Write(file, bytes);
        encoder::PublishDraft draft = encoder::DraftForPublish(path, lengthS);
        const online::LyricsRecord& s = draft.Song;
        const QString sent = QStringList{s.TrackName, s.ArtistName, QString::number(s.Duration),
                                         s.SyncedLyrics.value_or("-"), s.PlainLyrics.value_or("-")}
                                 .join(u'|');
        QTEST(draft.Problem.isEmpty() ? sent : draft.Problem.replace(dir.path(), "<dir>"), "sent");
    }

    // "&Publish...": nothing leaves before Publish; the stand-in checks the nonce.
    void Publish_data() {
        QTest::addColumn<QString>("action");  // publish, cancel (while solving), close
        QTest::addColumn<LrclibStandIn::Mode>("mode");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("sent");
        QTest::addColumn<int>("requests");
        const QByteArray easy = "0fff" + QByteArray(60, 'f');
        const auto normal = LrclibStandIn::Mode::Normal;
        // clang-format off
        QTest::newRow("published") << "publish" << normal << easy << "The lyrics database took the song. Thank you!" << true << 2;
        QTest::newRow("refused") << "publish" << LrclibStandIn::Mode::TooMany << easy
            << "The lyrics database did not take the song: too many requests, try again later." << false << 1;
        QTest::newRow("cancelled while the challenge is solved") << "cancel" << normal << QByteArray(64, '0')
            << "Cancelled. Nothing was sent." << false << 1;
        QTest::newRow("closed without publishing") << "close" << normal << easy << "" << false << 0;
        // clang-format on
    }
    void Publish() {
        QFETCH(QString, action);
        QFETCH(LrclibStandIn::Mode, mode);
        QFETCH(QByteArray, target);
        LrclibStandIn standIn;
        standIn.Answer = mode;
        standIn.TargetHex = target;
        qputenv("CANTORIX_LRCLIB_URL", standIn.Url().toUtf8());
        SimWinamp sim(1, 214);
        testsupport::ScriptedModal modal;
        testsupport::ScriptedBoxes boxes;
        encoder::frmMain w;
        w.Form_Load();
        QVERIFY(w.TakeUpSong(Write("source.txt", "Out in the night\nWe sing"),
                             Write("song.cx3", Timed), "Night Song - Lost Band"));
        QString status;
        modal.Next([&](QDialog* d) {
            auto* publish = qobject_cast<encoder::frmPublish*>(d);
            testsupport::Child<QLineEdit>(publish, "txtAlbum")->setText("Dusk");
            if (action == "close") {
                publish->reject();
                return;
            }
            publish->cmdPublish_Click();
            publish->cmdPublish_Click();  // one dialog publishes once
            if (action == "cancel") {
                QTRY_COMPARE(standIn.Issued.size(), 1);
                QTest::qWait(2 * online::ChallengeSolver::ProgressIntervalMs);  // solving now
                publish->reject();
            }
            QTRY_VERIFY_WITH_TIMEOUT(publish->GetStatus().startsWith("The lyrics database") ||
                                         publish->GetStatus().startsWith("Cancelled"),
                                     20000);
            status = publish->GetStatus();
            QCOMPARE(publish->ReturnState(), status.contains("took"));
        });
        testsupport::Child<QAction>(&w, "itmFPublish")->trigger();
        QCOMPARE(modal.Shown().size(), 1);
        QTEST(status, "status");
        QFETCH(bool, sent);
        // clang-format off
        const QList<QJsonObject> expected{{{"trackName", "Night Song"}, {"artistName", "Lost Band"},
            {"albumName", "Dusk"}, {"duration", 214}, {"plainLyrics", "Out in the night\nWe sing"},
            {"syncedLyrics", "[00:00.00]Out in the night\n[00:01.50]We sing"}}};
        // clang-format on
        QCOMPARE(standIn.Published, sent ? expected : QList<QJsonObject>{});
        QTEST(int(standIn.UserAgents.size()), "requests");
        QCOMPARE(boxes.Unexpected(), 0);
    }
};

QTEST_MAIN(PublishTest)
#include "tst_publish.moc"
