// The lyrics pane of both windows: what of a line its labels show; the karaoke fill, how much
// of a line is sung, the position between queries, what is painted.
#include <QImage>
#include <QLabel>
#include <QtTest>

#include "lyrics/KaraokeFill.h"
#include "lyrics/LineFit.h"
#include "lyrics/LyricsPane.h"

using lyrics::LyricRow;
using Sung = std::vector<double>;

Q_DECLARE_METATYPE(LyricRow)
Q_DECLARE_METATYPE(Sung)

namespace {

// "one two three four", a word a second from 1 s, the line ending at 5 s.
LyricRow Words() {
    return {5000, "one two three four", {{1000, 0}, {2000, 4}, {3000, 8}, {4000, 14}}};
}

// Strongly red (the fill) or strongly blue (the text not yet sung).
bool Is(int strong, int weak1, int weak2) {
    return strong > 160 && weak1 < 90 && weak2 < 90;
}

}  // namespace

class tst_Karaoke : public QObject {
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
        const auto fits = [&](const QString& text) {
            longest = std::max(longest, text.size());
            return text.size() <= room;
        };
        QTEST(lyrics::FitLine(line, fits), "shown");
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
            QCOMPARE(label->text().left(12) + label->text().right(1), "Begin middle…");
            const QRect box = label->contentsRect();
            const QRect needed = label->fontMetrics().boundingRect(
                box, int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0),
                label->text());
            QVERIFY(needed.width() <= box.width() && needed.height() <= box.height());
        }
    }

    // At {the line's start, the next line's start, the position}.
    void sungChars_data() {
        QTest::addColumn<LyricRow>("row");
        QTest::addColumn<Sung>("at");
        QTest::addColumn<Sung>("sung");
        const LyricRow plain{3000, "abcdefghij", {}};
        // clang-format off
        QTest::newRow("no word times: evenly, half way") << plain << Sung{1000, 3000, 2000} << Sung{5};
        QTest::newRow("before the line starts") << plain << Sung{1000, 3000, 400} << Sung{0};
        QTest::newRow("after the next line's start") << plain << Sung{1000, 3000, 9000} << Sung{10};
        QTest::newRow("no later end: whole at once") << plain << Sung{1000, 0, 1000} << Sung{10};
        QTest::newRow("word times: half through the third word") << Words() << Sung{0, 5000, 3500} << Sung{11};
        QTest::newRow("word times: the first word waits for its stamp") << Words() << Sung{0, 5000, 900} << Sung{0};
        QTest::newRow("word times: the last word runs to the line's end") << Words() << Sung{0, 5000, 4500} << Sung{16};
        QTest::newRow("an end stamp after the last word")
            << LyricRow{5000, "la la", {{0, 0}, {1000, 3}, {2000, 5}}} << Sung{0, 5000, 1500} << Sung{4};
        QTest::newRow("a lead-in before the first stamp fills up to it")
            << LyricRow{5000, "oh, yeah", {{2000, 4}}} << Sung{1000, 5000, 1500} << Sung{2};
        QTest::newRow("times out of order never run backwards")
            << LyricRow{5000, "aa bb cc", {{1000, 0}, {3000, 3}, {2000, 6}}} << Sung{0, 5000, 3500} << Sung{6.5};
        QTest::newRow("a stamp past the line's end is held to it")
            << LyricRow{2000, "aa bb", {{0, 0}, {9000, 3}}} << Sung{0, 2000, 1000} << Sung{1.5};
        QTest::newRow("two lines sung together")
            << LyricRow{4000, "one two\nun deux", {{0, 0}, {2000, 4}}} << Sung{0, 4000, 3000} << Sung{5.5, 13.25};
        QTest::newRow("empty line") << LyricRow{} << Sung{0, 1000, 500} << Sung{0};
        // clang-format on
    }
    void sungChars() {
        QFETCH(LyricRow, row);
        QFETCH(Sung, at);
        QTEST(lyrics::SungChars(row, at[0], at[1], at[2]), "sung");
    }

    // Playing: on by the time since; paused: where it was; held after long; clock gone back.
    void extrapolated() {
        QCOMPARE(lyrics::ExtrapolatedMs(10000, 30, true), 10030.);
        QCOMPARE(lyrics::ExtrapolatedMs(10000, 30, false), 10000.);
        QCOMPARE(lyrics::ExtrapolatedMs(10000, 5000, true), 10250.);
        QCOMPARE(lyrics::ExtrapolatedMs(10000, -20, true), 10000.);
    }

    // Painted red up to where the table says, blue after, in the plain and the outlined label.
    void paintedFill_data() {
        QTest::addColumn<bool>("outlined");
        QTest::addColumn<double>("positionMs");
        QTest::addColumn<int>("sungChars");  // expected, counted by hand
        for (const bool outlined : {false, true}) {
            const char* look = outlined ? "outlined" : "plain";
            QTest::addRow("%s: before the line", look) << outlined << 500. << 0;
            QTest::addRow("%s: into the third word", look) << outlined << 3500. << 11;
            QTest::addRow("%s: sung", look) << outlined << 6000. << 18;
        }
    }
    void paintedFill() {
        QFETCH(bool, outlined);
        QFETCH(double, positionMs);
        QFETCH(int, sungChars);
        QWidget window;
        window.setAutoFillBackground(true);
        window.setPalette(QPalette(Qt::white));
        lyrics::LyricsPane pane(Qt::AlignCenter, &window);
        window.resize(pane.size());
        pane.SetColours(Qt::blue, Qt::red);
        pane.SetOutlined(outlined);
        const LyricRow row = Words();
        pane.ShowCurrent(row.Text);
        pane.ShowSung(lyrics::SungChars(row, 0, row.TimeMs, positionMs));
        auto* label = pane.findChild<QLabel*>("lblCurrLine");
        const QImage shot = label->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int fillRight = -1, textRight = -1;  // rightmost pixel of the fill, of the text after it
        for (int x = 0; x < shot.width(); ++x) {
            for (int y = 0; y < shot.height(); ++y) {
                const QRgb c = shot.pixel(x, y);
                fillRight = Is(qRed(c), qGreen(c), qBlue(c)) ? x : fillRight;
                textRight = Is(qBlue(c), qRed(c), qGreen(c)) ? x : textRight;
            }
        }
        const QFontMetricsF metrics(label->font());
        const double left = (label->width() - metrics.horizontalAdvance(row.Text)) / 2;
        const double edge = left + metrics.horizontalAdvance(row.Text.left(sungChars));
        if (sungChars == 0) {
            QVERIFY(fillRight == -1 && textRight > left);
            return;
        }
        QVERIFY2(
            std::abs(fillRight - edge) <= metrics.horizontalAdvance("three "),
            qPrintable(QStringLiteral("fill ends at %1, expected %2").arg(fillRight).arg(edge)));
        QCOMPARE(textRight > fillRight, sungChars < row.Text.size());
    }
};

QTEST_MAIN(tst_Karaoke)
#include "tst_karaoke.moc"
