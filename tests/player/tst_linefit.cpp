// What the lyric labels show of a line, against a label that holds a given number of
// characters; and once against a real label, where a long line must show its start.
#include <QLabel>
#include <QTest>

#include "player/LineFit.h"

using player::FitLine;

class TestLineFit : public QObject {
    Q_OBJECT

  private slots:
    void fitsWholeWordsFromTheStart_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("room");  // characters the label holds
        QTest::addColumn<QString>("shown");
        QTest::newRow("fits") << "one two three" << 20 << "one two three";
        QTest::newRow("exactly fits") << "one two three" << 13 << "one two three";
        QTest::newRow("cut after a word") << "one two three" << 12 << "one two…";
        QTest::newRow("blanks before the cut go") << "one   two three" << 9 << "one…";
        QTest::newRow("first word too long: its start") << "unbreakable words" << 6 << "unbre…";
        QTest::newRow("no room at all") << "one" << 0 << "…";
        QTest::newRow("empty") << "" << 0 << "";
        QTest::newRow("surrogate pair kept whole")
            << QStringLiteral("ab\U0001F3B5cd") << 4 << "ab…";
        const QString word = QStringLiteral("la ");
        QTest::newRow("long line, ample room: its start up to the limit")
            << word.repeated(1000) << 100000 << word.repeated(166) + "la…";
    }
    void fitsWholeWordsFromTheStart() {
        QFETCH(QString, line);
        QFETCH(int, room);
        QTEST(FitLine(line, [room](const QString& text) { return text.size() <= room; }), "shown");
    }

    // Ten megabytes in one word: only its start is ever measured.
    void hugeLineIsNeverMeasuredWhole() {
        const QString line(10 * 1024 * 1024, u'x');
        qsizetype longest = 0;
        const QString shown = FitLine(line, [&](const QString& text) {
            longest = std::max(longest, text.size());
            return text.size() <= 40;
        });
        QCOMPARE(shown, QString(39, u'x') + "…");
        QVERIFY(longest <= player::MaxShownChars + 1);
    }

    void labelShowsTheStartOfALongLine() {
        QLabel label;
        label.setGeometry(0, 0, 200, 30);
        label.setAlignment(Qt::AlignCenter);
        const QString line = QStringLiteral("Begin ") + QStringLiteral("middle ").repeated(50) +
                             QStringLiteral("end");
        player::ShowLine(label, line);
        QVERIFY2(label.text().startsWith("Begin middle") && label.text().endsWith("…"),
                 qPrintable(label.text()));
        QVERIFY(label.fontMetrics().horizontalAdvance(label.text()) <= 200);
        player::ShowLine(label, "Short");
        QCOMPARE(label.text(), "Short");
    }
};

QTEST_MAIN(TestLineFit)
#include "tst_linefit.moc"
