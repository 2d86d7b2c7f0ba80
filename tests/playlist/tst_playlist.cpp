// The playlist model with no widgets: the play order, the model's playback, entry commands
// and signals, and the .cxp file.
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <numeric>

#include "playlist/OpenedFileKind.h"
#include "playlist/Playlist.h"
#include "playlist/PlaylistFile.h"
#include "support/Files.h"

using playlist::Playlist;
using playlist::PlaylistEntry;
using playlist::PlayOrder;
using Rows = QList<int>;
using Entries = QList<PlaylistEntry>;

Q_DECLARE_METATYPE(playlist::ReadFailure)

namespace {

QString DataFile(const QString& name) {
    return QStringLiteral(CANTORIX_TEST_DATA "/playlist/") + name;
}

PlaylistEntry Entry(int n) {
    return {QStringLiteral("/l/%1.cx3").arg(n), qint16(n), QStringLiteral("Song %1 - A").arg(n)};
}

playlist::PlaylistTable TableOf(int count) {
    playlist::PlaylistTable table;
    for (int n = 0; n < count; ++n) {
        table.Append(Entry(n));
    }
    return table;
}

// The row at the start of the order, then every row Advance moves to, at most seven.
Rows Played(PlayOrder order, bool repeat, int rowsLeft) {
    Rows rows{order.Row()};
    while (rows.size() < 7 && order.Advance(repeat, rowsLeft)) {
        rows << order.Row();
    }
    return rows;
}

}  // namespace

class TestPlaylist : public QObject {
    Q_OBJECT

  private slots:
    // rowsLeft below count: rows removed after the order was built.
    void playOrder_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("rowsLeft");
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<Rows>("played");
        QTest::newRow("from row 2, wrapping round") << 2 << 5 << 5 << false << Rows{2, 3, 4, 0, 1};
        QTest::newRow("from row 0") << 0 << 5 << 5 << false << Rows{0, 1, 2, 3, 4};
        QTest::newRow("repeat plays the order again")
            << 1 << 3 << 3 << true << Rows{1, 2, 0, 1, 2, 0, 1};
        QTest::newRow("one row") << 0 << 1 << 1 << false << Rows{0};
        QTest::newRow("one row, repeat") << 0 << 1 << 1 << true << Rows{0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("stale rows passed over") << 1 << 5 << 3 << false << Rows{1, 2, 0};
        QTest::newRow("stale rows, repeat") << 3 << 5 << 2 << true << Rows{3, 0, 1, 0, 1, 0, 1};
        QTest::newRow("every row gone") << 0 << 3 << 0 << true << Rows{0};
    }
    void playOrder() {
        QFETCH(int, start);
        QFETCH(int, count);
        QFETCH(int, rowsLeft);
        QFETCH(bool, repeat);
        PlayOrder order;
        order.BuildInOrder(start, count);
        QTEST(Played(order, repeat, rowsLeft), "played");
    }

    // A permutation with the chosen row first; with no row chosen, any row may come first.
    void randomOrder() {
        for (const int count : {1, 2, 5, 9}) {
            QSet<Rows> orders;
            QSet<int> firsts;
            for (int first = -1; first < count; ++first) {
                for (quint32 seed = 1; seed <= 30; ++seed) {
                    QRandomGenerator random(seed);
                    PlayOrder order;
                    order.BuildRandom(first, count, random);
                    Rows rows(order.Rows.begin(), order.Rows.end());
                    if (first >= 0) {
                        QCOMPARE(rows.first(), first);
                    } else {
                        firsts.insert(rows.first());
                    }
                    orders.insert(rows);
                    std::sort(rows.begin(), rows.end());
                    Rows all(count);
                    std::iota(all.begin(), all.end(), 0);
                    QCOMPARE(rows, all);
                }
            }
            QCOMPARE(firsts.size(), count);
            QVERIFY(orders.size() > (count > 2 ? count * 2 : count - 1));
        }
    }

    // The entries selected from Start through every Next until playback runs out.
    void playback_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("randomize");
        QTest::addColumn<Rows>("played");  // empty with randomize: any order, selected first
        QTest::newRow("in order from the selection") << 5 << 2 << false << Rows{2, 3, 4, 0, 1};
        QTest::newRow("nothing selected") << 3 << -1 << false << Rows{0, 1, 2};
        QTest::newRow("random from the selection") << 5 << 3 << true << Rows{};
        QTest::newRow("empty playlist") << 0 << -1 << false << Rows{};
    }
    void playback() {
        QFETCH(int, count);
        QFETCH(int, selected);
        QFETCH(bool, randomize);
        QFETCH(Rows, played);
        Playlist model;
        model.Replace(TableOf(count), QString());
        model.SetRandomizeList(randomize);
        model.Select(selected);
        QSignalSpy selections(&model, &Playlist::SelectionChanged);
        QRandomGenerator random(7);
        QCOMPARE(model.StartPlayback(random), count > 0);
        QCOMPARE(model.PlaylistPlaying(), count > 0);
        Rows rows;
        for (int step = 0; step < count; ++step) {
            rows << model.SelectedEntry();
            QCOMPARE(selections.takeFirst().at(0).toInt(), rows.last());
            QCOMPARE(model.NextEntry(), step < count - 1);
        }
        QVERIFY(!model.PlaylistPlaying());
        QVERIFY(selections.isEmpty());
        if (randomize) {
            QCOMPARE(rows.first(), selected);
            std::sort(rows.begin(), rows.end());
            QCOMPARE(rows, (Rows{0, 1, 2, 3, 4}));
        } else {
            QCOMPARE(rows, played);
        }
    }

    void entriesAndSignals() {
        Playlist model;
        QSignalSpy reloaded(&model, &Playlist::Reloaded),
            appended(&model, &Playlist::EntryAppended), replaced(&model, &Playlist::EntryReplaced),
            removed(&model, &Playlist::EntryRemoved), modified(&model, &Playlist::ModifiedChanged),
            switches(&model, &Playlist::SwitchesChanged);
        model.SetModified(true);
        model.Replace(TableOf(3), QStringLiteral("/l/a.cxp"));
        QCOMPARE(reloaded.size(), 1);
        QCOMPARE(modified.last().at(0).toBool(), false);
        QVERIFY(!model.PlaylistModified());
        model.Select(5);
        QCOMPARE(model.SelectedEntry(), -1);
        model.Select(2);
        model.RemoveEntry(0);
        QCOMPARE(removed.takeFirst().at(0).toInt(), 0);
        QCOMPARE(model.SelectedEntry(), -1);
        model.ReplaceEntry(1, Entry(9));
        QCOMPARE(replaced.takeFirst().at(0).toInt(), 1);
        QCOMPARE(model.Table().Entries(), (Entries{Entry(1), Entry(9)}));
        model.SetSaveMode(playlist::SaveMode::Manual);
        model.SetRepeatList(true);
        QCOMPARE(switches.size(), 2);
        QRandomGenerator random(1);
        QVERIFY(model.StartPlayback(random) && model.NextEntry() && model.NextEntry());
        model.StopPlayback();
        QVERIFY(!model.NextEntry());
        while (model.Append(Entry(4))) {
        }
        QCOMPARE(model.Table().Count(), playlist::PlaylistTable::MaxEntries);
        QCOMPARE(appended.size(), playlist::PlaylistTable::MaxEntries - 2);
        model.Clear();
        QVERIFY(model.Table().IsEmpty() && model.PlaylistPath().isEmpty());
        QCOMPARE(reloaded.size(), 2);
    }

    // Golden files read and written back byte for byte; bad files refused with nothing read.
    void files_data() {
        QTest::addColumn<QString>("file");  // under bad/ when it fails; "<...>" made by the test
        QTest::addColumn<playlist::ReadFailure>("failure");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QString>("saved");  // the golden file that writing it again gives
        using F = playlist::ReadFailure;
        const Entries both{
            {"C:\\Lyrics\\paper lanterns.cx3", 3, "Paper Lanterns - The Quiet Harbour"},
            {"C:\\Lyrics\\salt and cedar.cx3", 12, "Salt and Cedar - Mira Vale"}};
        const auto good = [](const char* file, const Entries& entries, const char* saved) {
            QTest::newRow(file) << file << F::None << entries << saved;
        };
        good("worked_example.cxp", both, "worked_example.cxp");
        good("empty.cxp", {}, "empty.cxp");
        good("comma_and_negative.cxp",
             {{"C:\\Lyrics\\salt, cedar.cx3", -4, "Salt, Cedar - Mira Vale"},
              {"/home/mira/lyrics/low.cx2", -32768, "Low, Lower - Mira Vale"},
              {"/home/mira/lyrics/high.cx3", 32767, "High - Mira Vale"}},
             "comma_and_negative.cxp");
        good("trailing_blank_lines.cxp", both, "worked_example.cxp");  // and LF line ends
        good("stream_layout.cxp", both, "worked_example.cxp");
        good("windows_1252.cxp",
             {{QStringLiteral(u"C:\\Lyrics\\café.cx3"), 7, QStringLiteral(u"Café Noir - Léa")}},
             "windows_1252_saved.cxp");
        const QList<std::pair<const char*, F>> bad = {{"<missing>", F::CannotOpen},
                                                      {"<32769 entries>", F::TooManyEntries},
                                                      {"track_not_a_number.cxp", F::BadTrackNumber},
                                                      {"track_empty.cxp", F::BadTrackNumber},
                                                      {"track_fraction.cxp", F::BadTrackNumber},
                                                      {"track_quoted.cxp", F::BadTrackNumber},
                                                      {"binary_junk.cxp", F::BadTrackNumber},
                                                      {"track_too_big.cxp", F::TrackOutOfRange},
                                                      {"track_too_small.cxp", F::TrackOutOfRange},
                                                      {"ends_after_path.cxp", F::EndInEntry},
                                                      {"ends_after_track.cxp", F::EndInEntry}};
        for (const auto& [file, failure] : bad) {
            QTest::newRow(file) << file << failure << Entries{} << QString();
        }
    }
    void files() {
        QFETCH(QString, file);
        QFETCH(QString, saved);
        QTemporaryDir dir;
        QString path = saved.isEmpty() ? DataFile("bad/" + file) : DataFile(file);
        if (file.startsWith(u'<')) {
            path = dir.filePath("made.cxp");
        }
        if (file == "<32769 entries>") {
            QVERIFY(testsupport::WriteBytes(path,
                                            QByteArray("\"/a.cx3\",1,\"A\"\r\n").repeated(32769)));
        }
        const playlist::PlaylistReadResult read = playlist::ReadPlaylistFile(path);
        QTEST(read.Failure, "failure");
        QTEST(read.Table.Entries(), "entries");
        if (!saved.isEmpty()) {
            QVERIFY(playlist::WritePlaylistFile(dir.filePath("out.cxp"), read.Table));
            QCOMPARE(testsupport::ReadBytes(dir.filePath("out.cxp")),
                     testsupport::ReadBytes(DataFile(saved)));
        }
    }

    // A drop on the player's window opens what Open would open, one local file at a time,
    // and only while Open is available; anything else is refused.
    void dropOpensWhatOpenWould_data() {
        QTest::addColumn<QStringList>("urls");
        QTest::addColumn<bool>("openAvailable");
        QTest::addColumn<QString>("opened");  // empty: refused
        // clang-format off
        QTest::newRow("lyrics file")        << QStringList{"file:///m/a%20b.cx3"} << true << "/m/a b.cx3";
        QTest::newRow("LRC in capitals")    << QStringList{"file:///m/A.LRC"} << true << "/m/A.LRC";
        QTest::newRow("playlist")           << QStringList{"file:///m/l.cxp"} << true << "/m/l.cxp";
        QTest::newRow("other file")         << QStringList{"file:///m/song.mp3"} << true << "";
        QTest::newRow("two lyrics files")   << QStringList{"file:///m/a.cx3", "file:///m/b.cx3"} << true << "";
        QTest::newRow("web address")        << QStringList{"https://example.org/a.lrc"} << true << "";
        QTest::newRow("no file")            << QStringList{} << true << "";
        QTest::newRow("while a song plays") << QStringList{"file:///m/a.cx3"} << false << "";
        // clang-format on
    }
    void dropOpensWhatOpenWould() {
        QFETCH(QStringList, urls);
        QFETCH(bool, openAvailable);
        QFETCH(QString, opened);
        QList<QUrl> dropped;
        for (const QString& url : urls) {
            dropped << QUrl(url);
        }
        QCOMPARE(playlist::DroppedFileToOpen(dropped, openAvailable).value_or(QString()), opened);
    }
};

QTEST_GUILESS_MAIN(TestPlaylist)
#include "tst_playlist.moc"
