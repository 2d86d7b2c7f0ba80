// The playlist model: play order, playback, Sort against the double exchange loop, Shift, .cxp.
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <vector>

#include "playlist/Playlist.h"
#include "playlist/PlaylistFile.h"
#include "playlist/SortShift.h"
#include "support/Files.h"

using playlist::Playlist;
using playlist::PlaylistEntry;
using playlist::PlaylistTable;
using playlist::PlayOrder;
using playlist::SortBy;
using Rows = QList<int>;
using Entries = QList<PlaylistEntry>;

Q_DECLARE_METATYPE(playlist::ReadFailure)

namespace {

QString DataFile(const QString& name) {
    return QStringLiteral(CANTORIX_TEST_DATA "/playlist/") + name;
}

PlaylistTable Tracks(const std::vector<int>& tracks) {
    PlaylistTable table;
    for (size_t k = 0; k < tracks.size(); ++k) {
        table.Append({QStringLiteral("/l/%1.cx3").arg(k), qint16(tracks[k]), QString::number(k)});
    }
    return table;
}

// The playlists' own Sort, n² comparisons: the oracle for the order of equal keys.
std::vector<PlaylistEntry> OracleSort(const PlaylistTable& table, SortBy by) {
    const auto key = [by](const PlaylistEntry& e) {
        const qsizetype p = e.Title.indexOf(QStringLiteral(" - "));
        return (by == SortBy::Artist && p >= 0 ? e.Title.mid(p + 3) : e.Title).toUpper();
    };
    std::vector<PlaylistEntry> items(table.begin(), table.end());
    for (PlaylistEntry& a : items) {
        for (PlaylistEntry& b : items) {
            if (by == SortBy::Track ? a.TrackNumber < b.TrackNumber : key(a) < key(b)) {
                std::swap(a, b);
            }
        }
    }
    return items;
}

}  // namespace

class TestPlaylist : public QObject {
    Q_OBJECT

  private slots:
    // The rows played from start, at most seven; rowsLeft below count: rows removed since.
    void playOrder() {
        // clang-format off
        for (const auto& [start, count, rowsLeft, repeat, played] : std::initializer_list<std::tuple<int, int, int, bool, Rows>>{
                 {2, 5, 5, false, {2, 3, 4, 0, 1}}, {1, 3, 3, true, {1, 2, 0, 1, 2, 0, 1}},
                 {1, 5, 3, false, {1, 2, 0}}, {3, 5, 2, true, {3, 0, 1, 0, 1, 0, 1}}, {0, 3, 0, true, {0}}}) {
            // clang-format on
            PlayOrder order;
            order.BuildInOrder(start, count);
            Rows rows{order.Row()};
            while (rows.size() < 7 && order.Advance(repeat, rowsLeft)) {
                rows << order.Row();
            }
            QCOMPARE(rows, played);
        }
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
                    QCOMPARE(rows.first(), first >= 0 ? first : rows.first());
                    firsts.insert(rows.first());
                    orders.insert(rows);
                    std::sort(rows.begin(), rows.end());
                    QCOMPARE(QSet<int>(rows.begin(), rows.end()).size(), count);
                    QVERIFY(rows.first() == 0 && rows.last() == count - 1);
                }
            }
            QCOMPARE(firsts.size(), count);
            QVERIFY(orders.size() > (count > 2 ? count * 2 : count - 1));
        }
    }

    // At random the selected row comes first (in order: the player session's table).
    void randomPlaybackStartsAtTheSelection() {
        Playlist model;
        model.Replace(Tracks({1, 2, 3, 4, 5, 6, 7, 8, 9}), QString());
        model.SetRandomizeList(true);
        for (quint32 seed = 1; seed <= 5; ++seed) {
            QRandomGenerator random(seed);
            model.Select(4);
            QVERIFY(model.StartPlayback(random) && model.SelectedEntry() == 4);
        }
    }

    // Random tables, a third of them with up to 79 different track numbers.
    void tablesMatchTheDoubleLoopByEveryKey() {
        const QStringList titles{"a - X", "A - x", "b - Y", "B", "c - x - y", "", " - ", "ab"};
        QRandomGenerator random(7);
        for (int round = 0; round < 3000; ++round) {
            PlaylistTable table;
            const int tracks = round % 3 == 0 ? 40 : 3;
            for (int k = int(random.bounded(0, 40)); k > 0; --k) {
                table.Append({QString::number(k), qint16(random.bounded(1 - tracks, tracks)),
                              titles[random.bounded(titles.size())]});
            }
            for (SortBy by : {SortBy::Artist, SortBy::Title, SortBy::Track}) {
                PlaylistTable sorted = table;
                playlist::SortTable(sorted, by);
                QCOMPARE(std::vector<PlaylistEntry>(sorted.begin(), sorted.end()),
                         OracleSort(table, by));
            }
        }
    }

    // Track numbers from the location on moved: up, below 1, held at the top and the bottom.
    void shift() {
        using T = std::vector<int>;
        // clang-format off
        for (const auto& [location, amount, before, after] : std::initializer_list<std::tuple<int, int, T, T>>{
                 {3, 2, {1, 3, 4}, {1, 5, 6}}, {1, -1, {1, 2}, {0, 1}}, {1, 1000, {32000, 5}, {32767, 1005}},
                 {-32768, -1000, {-32000, -1000}, {-32768, -2000}}}) {
            // clang-format on
            PlaylistTable table = Tracks(before);
            playlist::ShiftTable(table, location, amount);
            QCOMPARE(table.Entries(), Tracks(after).Entries());
        }
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
        good("stream_layout.cxp", both, "worked_example.cxp");
        good("windows_1252.cxp",
             {{QStringLiteral(u"C:\\Lyrics\\café.cx3"), 7, QStringLiteral(u"Café Noir - Léa")}},
             "windows_1252_saved.cxp");
        // clang-format off
        for (const auto& [file, failure] : QList<std::pair<const char*, F>>{
                 {"<missing>", F::CannotOpen}, {"<32769 entries>", F::TooManyEntries},
                 {"track_not_a_number.cxp", F::BadTrackNumber}, {"track_empty.cxp", F::BadTrackNumber},
                 {"track_fraction.cxp", F::BadTrackNumber}, {"track_quoted.cxp", F::BadTrackNumber},
                 {"binary_junk.cxp", F::BadTrackNumber}, {"track_too_big.cxp", F::TrackOutOfRange},
                 {"track_too_small.cxp", F::TrackOutOfRange}, {"ends_after_path.cxp", F::EndInEntry},
                 {"ends_after_track.cxp", F::EndInEntry}}) {
            QTest::newRow(file) << file << failure << Entries{} << QString();
        }
        // clang-format on
    }
    void files() {
        QFETCH(QString, file);
        QFETCH(QString, saved);
        QTemporaryDir dir;
        const QString path = file.startsWith(u'<') ? dir.filePath("made.cxp")
                             : saved.isEmpty()     ? DataFile("bad/" + file)
                                                   : DataFile(file);
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
};

QTEST_GUILESS_MAIN(TestPlaylist)
#include "tst_playlist.moc"
