// Sort against the playlists' double exchange loop, ties included; Shift's renumbering.
#include <QRandomGenerator>
#include <QtTest>
#include <functional>
#include <vector>

#include "playlist/SortShift.h"

using playlist::PlaylistEntry;
using playlist::PlaylistTable;
using playlist::SortBy;

namespace {

// The procedure itself, n² comparisons: the oracle for the order of equal keys.
template <typename T, typename Less>
void DoubleLoop(std::vector<T>& items, Less less) {
    for (size_t i = 0; i < items.size(); ++i) {
        for (size_t j = 0; j < items.size(); ++j) {
            if (less(items[i], items[j])) {
                std::swap(items[i], items[j]);
            }
        }
    }
}

QString OracleKey(const PlaylistEntry& e, SortBy by) {
    const qsizetype p = e.Title.indexOf(QStringLiteral(" - "));
    return (by == SortBy::Artist && p >= 0 ? e.Title.mid(p + 3) : e.Title).toUpper();
}

std::vector<PlaylistEntry> OracleSort(const PlaylistTable& table, SortBy by) {
    std::vector<PlaylistEntry> items(table.begin(), table.end());
    DoubleLoop(items, [by](const PlaylistEntry& a, const PlaylistEntry& b) {
        return by == SortBy::Track ? a.TrackNumber < b.TrackNumber
                                   : OracleKey(a, by) < OracleKey(b, by);
    });
    return items;
}

PlaylistTable Table(const std::vector<int>& tracks) {
    PlaylistTable table;
    for (size_t k = 0; k < tracks.size(); ++k) {
        table.Append({QStringLiteral("/l/%1.cx3").arg(k), qint16(tracks[k]), QString::number(k)});
    }
    return table;
}

QStringList Titles(const PlaylistTable& table) {
    QStringList out;
    for (const PlaylistEntry& e : table) {
        out << e.Title;
    }
    return out;
}

std::vector<int> Tracks(const PlaylistTable& table) {
    std::vector<int> out;
    for (const PlaylistEntry& e : table) {
        out.push_back(e.TrackNumber);
    }
    return out;
}

}  // namespace

class tst_sort : public QObject {
    Q_OBJECT
  private slots:
    void orderMatchesTheDoubleLoop() {
        QRandomGenerator random(11);
        for (int round = 0; round < 4000; ++round) {
            const int n = int(random.bounded(0, 40));
            const int distinct = int(random.bounded(1, round % 3 == 0 ? 40 : 5));
            std::vector<int> keys;
            for (int k = 0; k < n; ++k) {
                keys.push_back(int(random.bounded(distinct)));
            }
            std::vector<int> expected(keys.size());
            std::iota(expected.begin(), expected.end(), 0);
            DoubleLoop(expected, [&keys](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
            QCOMPARE(playlist::ExchangeSortOrder(keys), expected);
        }
    }

    void tablesMatchTheDoubleLoopByEveryKey() {
        const QStringList titles{"a - X", "A - x", "b - Y", "B", "c - x - y", "", " - ", "ab"};
        QRandomGenerator random(7);
        for (int round = 0; round < 1500; ++round) {
            PlaylistTable table;
            const int n = int(random.bounded(0, 25));
            for (int k = 0; k < n; ++k) {
                table.Append({QString::number(k), qint16(random.bounded(-2, 3)),
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

    void sortingTwiceKeepsToTheDoubleLoop() {
        PlaylistTable table = Table({5, 2, 2, 5, 9, 5, 2});
        // Equal track numbers trade places again on the second sort.
        for (const QStringList& order : {QStringList{"1", "2", "6", "0", "5", "3", "4"},
                                         QStringList{"2", "6", "1", "5", "3", "0", "4"}}) {
            const std::vector<PlaylistEntry> expected = OracleSort(table, SortBy::Track);
            playlist::SortTable(table, SortBy::Track);
            QCOMPARE(std::vector<PlaylistEntry>(table.begin(), table.end()), expected);
            QCOMPARE(Titles(table), order);
        }
    }

    void shift_data() {
        QTest::addColumn<int>("location");
        QTest::addColumn<int>("amount");
        QTest::addColumn<std::vector<int>>("before");
        QTest::addColumn<std::vector<int>>("after");
        QTest::newRow("up") << 3 << 2 << std::vector<int>{1, 3, 4} << std::vector<int>{1, 5, 6};
        QTest::newRow("down below 1") << 1 << -1 << std::vector<int>{1, 2} << std::vector<int>{0, 1};
        QTest::newRow("held at the top") << 1 << 1000 << std::vector<int>{32000, 5}
                                         << std::vector<int>{32767, 1005};
        QTest::newRow("held at the bottom") << -32768 << -1000 << std::vector<int>{-32000, -1000}
                                            << std::vector<int>{-32768, -2000};
    }
    void shift() {
        QFETCH(int, location);
        QFETCH(int, amount);
        QFETCH(std::vector<int>, before);
        QFETCH(std::vector<int>, after);
        PlaylistTable table = Table(before);
        playlist::ShiftTable(table, location, amount);
        QCOMPARE(Tracks(table), after);
    }
};

QTEST_APPLESS_MAIN(tst_sort)
#include "tst_sort.moc"
