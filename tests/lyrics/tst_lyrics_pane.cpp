// The lyrics pane of both windows: what of a line its labels show.
#include <QLabel>
#include <QtTest>

#include "lyrics/LineFit.h"
#include "lyrics/LyricsPane.h"

class tst_LyricsPane : public QObject {
    Q_OBJECT

  private slots:
    // Against a label that holds room characters; only the start of a long line is measured.
    void fitLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("room");
        QTest::addColumn<QString>("shown");
        // clang-format off
        QTest::newRow("exactly fits") << "one two three" << 13 << "one two three";
        QTest::newRow("cut after a word") << "one two three" << 12 << "one two…";
        QTest::newRow("blanks before the cut go") << "one   two three" << 9 << "one…";
        QTest::newRow("first word too long: its start") << "unbreakable words" << 6 << "unbre…";
        QTest::newRow("no room at all") << "one" << 0 << "…";
        QTest::newRow("empty") << "" << 0 << "";
        QTest::newRow("surrogate pair kept whole") << QStringLiteral("ab\U0001F3B5cd") << 4 << "ab…";
        QTest::newRow("long line, ample room: its start up to the limit")
            << QStringLiteral("la ").repeated(1000) << 100000 << QStringLiteral("la ").repeated(166) + "la…";
        QTest::newRow("ten megabytes in one word") << QString(10 * 1024 * 1024, u'x') << 40 << QString(39, u'x') + "…";
        // clang-format on
    }
    void fitLine() {
        QFETCH(QString, line);
        QFETCH(int, room);
        qsizetype longest = 0;
        QTEST(lyrics::FitLine(line,
                              [&](const QString& text) {
                                  longest = std::max(longest, text.size());
                                  return text.size() <= room;
                              }),
              "shown");
        QVERIFY(longest <= lyrics::MaxShownChars + 1);
    }

    // Both lines of the pane show the start of a line too long for them, in their own font.
    void thePaneFitsItsLines() {
        QWidget window;
        lyrics::LyricsPane pane(Qt::AlignRight | Qt::AlignVCenter, &window);
        const QString line = "Begin " + QStringLiteral("middle ").repeated(80) + "end";
        pane.ShowCurrent(line);
        pane.ShowNext(line);
        for (const char* name : {"lblCurrLine", "lblNextLine"}) {
            const QLabel* label = pane.findChild<QLabel*>(name);
            QVERIFY2(label->text().startsWith("Begin middle") && label->text().endsWith("…"),
                     qPrintable(label->text()));
            const QRect box = label->contentsRect();
            const QRect needed = label->fontMetrics().boundingRect(
                box, int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0),
                label->text());
            QVERIFY(needed.width() <= box.width() && needed.height() <= box.height());
        }
    }
};

QTEST_MAIN(tst_LyricsPane)
#include "tst_lyrics_pane.moc"
