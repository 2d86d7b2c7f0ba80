// The rules under the timing window: the table's edits in order with undo, redo and the
// modified flag; the line sung and where playing starts; the file in its own format.
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "encoder/TimingFile.h"
#include "encoder/TimingTable.h"
#include "support/Files.h"

using encoder::TimingFormat;
using encoder::TimingRow;
using encoder::TimingTable;

namespace {

// "1000 - 3000": one time per line, "-" for a line never timed.
std::vector<TimingRow> RowsOf(const QString& times) {
    std::vector<TimingRow> rows;
    for (const QString& t : times.split(u' ', Qt::SkipEmptyParts)) {
        rows.push_back({t == u"-" ? std::nullopt : std::optional<qint64>(t.toLongLong()),
                        QStringLiteral("line %1").arg(rows.size())});
    }
    return rows;
}

QString TimesOf(const std::vector<TimingRow>& rows) {
    QStringList times;
    for (const TimingRow& row : rows) {
        times << (row.TimeMs ? QString::number(*row.TimeMs) : QStringLiteral("-"));
    }
    return times.join(u' ');
}

}  // namespace

class tst_TimingRules : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

  private slots:
    // Edits on a table with a line selected, and the rows each told the view of: a line never
    // passes the timed lines beside it, nor 0.
    void edits_data() {
        QTest::addColumn<QString>("times");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("script");  // tap:ms nudge:ms shift:ms undo redo save
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("selectedAfter");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("touched");  // the rows of each change, "first-last"
        // clang-format off
        QTest::newRow("tap takes the moment, moves on")  << "1000 2000 3000" << 1 << "tap:2500" << "1000 2500 3000" << 2 << true << "1-1";
        QTest::newRow("tap held by the next line")       << "1000 2000 3000" << 1 << "tap:3500" << "1000 3000 3000" << 2 << true << "1-1";
        QTest::newRow("tap held by the line before")     << "1000 2000 3000" << 1 << "tap:500" << "1000 1000 3000" << 2 << true << "1-1";
        QTest::newRow("tap an untimed line, held by the timed ones") << "1000 - - 4000" << 2 << "tap:5000" << "1000 - 4000 4000" << 3 << true << "2-2";
        QTest::newRow("taps in a run")                   << "1000 2000 3000" << 0 << "tap:900 tap:2100 tap:2900" << "900 2100 2900" << 2 << true << "0-0 1-1 2-2";
        QTest::newRow("tap at its own time: moves on only") << "1000 2000 3000" << 1 << "tap:2000" << "1000 2000 3000" << 2 << false << "";
        QTest::newRow("nudge later")                     << "1000 2000 3000" << 1 << "nudge:100" << "1000 2100 3000" << 1 << true << "1-1";
        QTest::newRow("nudge held by the line before")   << "1000 1050 3000" << 1 << "nudge:-100" << "1000 1000 3000" << 1 << true << "1-1";
        QTest::newRow("nudge held by the line after")    << "1000 2995 3000" << 1 << "nudge:10 nudge:10" << "1000 3000 3000" << 1 << true << "1-1";
        QTest::newRow("nudge held at 0")                 << "50 2000" << 0 << "nudge:-100" << "0 2000" << 0 << true << "0-0";
        QTest::newRow("nudge an untimed line: nothing")  << "1000 - 3000" << 1 << "nudge:100" << "1000 - 3000" << 1 << false << "";
        QTest::newRow("out of order: back, never further") << "1000 500 3000" << 1 << "nudge:-100 nudge:100" << "1000 600 3000" << 1 << true << "1-1";
        QTest::newRow("shift from a line on")            << "1000 2000 - 4000" << 1 << "shift:500" << "1000 2500 - 4500" << 1 << true << "1-3";
        QTest::newRow("shift sooner held by the line before") << "1000 1200 1500 4000" << 1 << "shift:-400" << "1000 1000 1100 3600" << 1 << true << "1-3";
        QTest::newRow("shift the first line, held at 0") << "100 300" << 0 << "shift:-200" << "0 100" << 0 << true << "0-1";
        QTest::newRow("every kind undone")               << "1000 2000 3000" << 1 << "tap:2500 nudge:10 shift:100 undo undo undo" << "1000 2000 3000" << 1 << false << "1-1 2-2 2-2 2-2 2-2 1-1";
        QTest::newRow("every kind redone")               << "1000 2000 3000" << 1 << "tap:2500 nudge:10 shift:100 undo undo undo redo redo redo" << "1000 2500 3110" << 2 << true << "1-1 2-2 2-2 2-2 2-2 1-1 1-1 2-2 2-2";
        QTest::newRow("an edit after undo: no redo")     << "1000 2000 3000" << 1 << "nudge:100 undo nudge:-100 redo" << "1000 1900 3000" << 1 << true << "1-1 1-1 1-1";
        QTest::newRow("saved, undone, redone")           << "1000 2000 3000" << 1 << "nudge:100 save undo redo" << "1000 2100 3000" << 1 << false << "1-1 1-1 1-1";
        QTest::newRow("saved state undone out of reach") << "1000 2000 3000" << 1 << "nudge:100 save undo nudge:10" << "1000 2010 3000" << 1 << true << "1-1 1-1 1-1";
        QTest::newRow("nothing to undo or redo")         << "1000 2000" << 0 << "undo redo" << "1000 2000" << 0 << false << "";
        QTest::newRow("no lines")                        << "" << -1 << "tap:100 nudge:10 shift:10" << "" << -1 << false << "";
        // clang-format on
    }
    void edits() {
        QFETCH(QString, times);
        QFETCH(int, selected);
        QFETCH(QString, script);
        QFETCH(bool, modified);
        TimingTable table;
        table.Load(RowsOf(times));
        table.Select(selected);
        QSignalSpy changed(&table, &TimingTable::dataChanged);
        QSignalSpy flagged(&table, &TimingTable::ModifiedChanged);
        for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
            const qint64 ms = step.section(u':', 1).toLongLong();
            const QString kind = step.section(u':', 0, 0);
            kind == u"tap"     ? table.Tap(ms)
            : kind == u"nudge" ? table.Nudge(ms)
            : kind == u"shift" ? table.ShiftFrom(ms)
            : kind == u"undo"  ? table.Undo()
            : kind == u"redo"  ? table.Redo()
                               : (table.MarkSaved(), true);
        }
        QTEST(TimesOf(table.Rows()), "after");
        QTEST(table.Selected(), "selectedAfter");
        QCOMPARE(table.Modified(), modified);
        QStringList ranges;
        for (const QList<QVariant>& signal : changed) {
            ranges << QStringLiteral("%1-%2")
                          .arg(signal[0].toModelIndex().row())
                          .arg(signal[1].toModelIndex().row());
        }
        QTEST(ranges.join(u' '), "touched");
        // Every change of the flag was told, and it ends where it stands.
        QCOMPARE(flagged.isEmpty() ? false : flagged.last()[0].toBool(), modified);
    }

    // The line sung at a position; playing from the selected line starts 3 s before it begins.
    void positions_data() {
        QTest::addColumn<QString>("times");
        QTest::addColumn<qint64>("position");
        QTest::addColumn<int>("sung");
        QTest::addColumn<int>("selected");
        QTest::addColumn<qint64>("playFrom");
        // clang-format off
        QTest::newRow("before the first time")   << "1000 5000 9000" << qint64(0) << 0 << 0 << qint64(0);
        QTest::newRow("an equal time is reached") << "1000 5000 9000" << qint64(5000) << 2 << 2 << qint64(2000);
        QTest::newRow("just before it")          << "1000 5000 9000" << qint64(4999) << 1 << 1 << qint64(0);
        QTest::newRow("untimed lines passed")    << "1000 - 9000" << qint64(1000) << 2 << 2 << qint64(0);
        QTest::newRow("timed line above an untimed one") << "4000 - 9000" << qint64(3000) << 0 << 2 << qint64(1000);
        QTest::newRow("past the last time")      << "1000 5000" << qint64(99000) << 1 << 1 << qint64(0);
        QTest::newRow("no lines")                << "" << qint64(100) << -1 << -1 << qint64(0);
        // clang-format on
    }
    void positions() {
        QFETCH(QString, times);
        QFETCH(qint64, position);
        QFETCH(int, sung);
        QFETCH(int, selected);
        TimingTable table;
        table.Load(RowsOf(times));
        table.Select(selected);
        QVERIFY(table.SetSung(position) == (sung >= 0));
        QCOMPARE(table.Sung(), sung);
        if (sung >= 0) {
            QVERIFY(table.index(sung, 1).data(TimingTable::SungRole).toBool());
        }
        QVERIFY(table.SetSung(std::nullopt) == (sung >= 0));
        QCOMPARE(table.Sung(), -1);
        QTEST(table.PlayFromMs(), "playFrom");
    }

    void formatTime() {
        QStringList texts;
        for (std::optional<qint64> ms : {std::optional<qint64>(83456), {6000000}, {-2500}, {}}) {
            texts << TimingTable::FormatTime(ms);
        }
        QCOMPARE(texts.join(' '), "01:23.456 100:00.000 -00:02.500 --:--.---");
    }

    // Read and written back: our own files byte for byte, another program's LRC anew; a file
    // that cannot be read whole is not read at all.
    void files_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("times");  // "<none>": the file is refused
        QTest::addColumn<bool>("differs");
        // clang-format off
        QTest::newRow("cx3, untimed lines")   << "a.cx3" << QByteArray("\"S - A\"\r\n4.03,\"one\"\r\n,\"two, too\"\r\n83.456,\"three\"\r\n,\"four\"\r\n") << "4030 - 83456 -" << false;
        QTest::newRow("cx2")                  << "a.cx2" << QByteArray("\"S - A\"\r\n0.5,\"one\"\r\n") << "500" << false;
        QTest::newRow("cx3 cut short")        << "a.cx3" << QByteArray("\"S - A\"\r\n1,\"one\"\r\nsoon,\"two\"\r\n") << "<none>" << false;
        QTest::newRow("LRC as we write it")   << "a.lrc" << QByteArray("[ti:S]\r\n[ar:A]\r\n[00:00.00]one\r\n[00:04.03]two\r\n") << "4030 -" << false;
        QTest::newRow("LRC from elsewhere")   << "a.LRC" << QByteArray("[al:Album]\n[00:01.00]one\n[00:04.03]two\n") << "1000 4030 -" << true;
        QTest::newRow("LRC without a stamp")  << "a.lrc" << QByteArray("[ti:S]\r\n") << "<none>" << false;
        // clang-format on
    }
    void files() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, times);
        QFETCH(bool, differs);
        const QString path = dir.filePath(name);
        QVERIFY(testsupport::WriteBytes(path, bytes));
        const std::optional<encoder::TimingFile> file = encoder::ReadTimingFile(path);
        QCOMPARE(file ? TimesOf(file->Rows) : QStringLiteral("<none>"), times);
        if (!file) {
            return;
        }
        QCOMPARE(file->Format, lyrics::LyricsFormatOf(name));
        QCOMPARE(file->RewriteDiffers, differs);
        const QString copy = dir.filePath("copy." + name.section(u'.', -1));
        QVERIFY(encoder::WriteTimingFile(copy, file->Format, file->Title, file->Rows));
        if (!differs) {
            QCOMPARE(testsupport::ReadBytes(copy), bytes);
        }
        // The stamps of a capture and back, to the millisecond.
        QCOMPARE(TimesOf(encoder::TimingRowsOf(encoder::SourceRowsOf(file->Rows))), times);
    }
};

QTEST_APPLESS_MAIN(tst_TimingRules)
#include "tst_timing_rules.moc"
