// Source texts into lines, source files into text, and rich text into its text alone.
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "encoder/RichText.h"
#include "encoder/SourceText.h"
#include "support/Files.h"

using encoder::MaxSourceLines;

class tst_SourceText : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

  private slots:
    void split_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        const QStringList three{"Oh my", "the tide", "goes out"};
        // clang-format off
        QTest::newRow("CR LF, a blank line, a line of spaces, quotes, no final end")
            << "Oh my\r\n\r\n   \r\nthe \"tide\"\r\n  goes out  " << three;
        QTest::newRow("LF only")      << "Oh my\n\n   \nthe \"tide\"\n  goes out  " << three;
        QTest::newRow("CR only")      << "Oh my\r\r   \rthe \"tide\"\r  goes out  " << three;
        QTest::newRow("mixed ends")   << "Oh my\r\nthe tide\rgoes out\n" << three;
        QTest::newRow("LF CR is two ends") << "Oh my\n\rthe tide\n\rgoes out" << three;
        QTest::newRow("final CR")     << "Oh my\rthe tide\rgoes out\r" << three;
        QTest::newRow("tabs stay")    << "\tOh my \t\r\n" << QStringList{"\tOh my \t"};
        QTest::newRow("only quotes")  << "\"\"\r\n \" \r\nx" << QStringList{"x"};
        QTest::newRow("nothing")      << "" << QStringList{};
        QTest::newRow("blank lines")  << "\r\n\n\r  \r\n" << QStringList{};
        // clang-format on
    }
    void split() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(encoder::SplitSourceText(text), std::optional<QStringList>(lines));
    }

    void atMostTheTableFull_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("full") << MaxSourceLines;
        QTest::newRow("one too many") << MaxSourceLines + 1;
    }
    void atMostTheTableFull() {
        QFETCH(int, count);
        // Blank lines do not count.
        const QString text = QString("line\n\n").repeated(count);
        const std::optional<QStringList> lines = encoder::SplitSourceText(text);
        QCOMPARE(lines.has_value(), count <= MaxSourceLines);
        if (lines) {
            QCOMPARE(lines->size(), count);
        }
    }

    void readFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");  // "-" for a failed read
        // clang-format off
        QTest::newRow("UTF-8")          << QByteArray("Gr\xc3\xbc\xc3\x9f" "e") << "Grüße";
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xef\xbb\xbfOh") << "Oh";
        QTest::newRow("Windows-1252")   << QByteArray("caf\xe9 \x93hi\x94") << "café “hi”";
        QTest::newRow("rich text")      << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\b Oh\\b0  my\\par caf\\'e9}")
                                        << "Oh my\ncafé";
        QTest::newRow("a NUL byte")     << QByteArray("Oh\0my", 5) << "-";
        QTest::newRow("nested too deep") << "{\\rtf1 " + QByteArray(encoder::MaxRichTextDepth, '{') << "-";
        // clang-format on
    }
    void readFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const QString path = dir.filePath(QTest::currentDataTag());
        QVERIFY(testsupport::WriteBytes(path, bytes));
        QCOMPARE(encoder::ReadSourceText(path).value_or("-"), text);
    }

    void richText_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("escapes")        << QByteArray("{\\rtf1 a\\{b\\}c\\\\d\\~e\\-f}") << "a{b}c\\d\u00A0ef";
        QTest::newRow("unicode, skip")  << QByteArray("{\\rtf1\\uc1 \\u8212?x\\u-3937?}") << "\u2014x\uF09F";
        QTest::newRow("uc2 skips two")  << QByteArray("{\\rtf1\\uc2\\u233\\'e9\\'e9y}") << "éy";
        QTest::newRow("starred group")  << QByteArray("{\\rtf1{\\*\\generator Me;}Hi}") << "Hi";
        QTest::newRow("skipped tables") << QByteArray("{\\rtf1{\\colortbl;\\red0;}{\\info{\\title T}}Hi}") << "Hi";
        QTest::newRow("binary skipped") << QByteArray("{\\rtf1\\bin3 {}}Hi}") << "Hi";
        QTest::newRow("tab, line")      << QByteArray("{\\rtf1 a\\tab b\\line c\r\nd}") << "a\tb\ncd";
        QTest::newRow("cut short")      << QByteArray("{\\rtf1 Oh {\\i my") << "Oh my";
        QTest::newRow("text after end") << QByteArray("{\\rtf1 Oh}junk") << "Oh";
        QTest::newRow("broken hex")     << QByteArray("{\\rtf1 a\\'zzb\\'") << "azzb";
        QTest::newRow("long word")      << "{\\rtf1 \\" + QByteArray(100, 'x') + " y}" << "y";
        QTest::newRow("at the limit")   << "{\\rtf1 " + QByteArray(encoder::MaxRichTextDepth - 1, '{') + "deep" << "deep";
        // clang-format on
    }
    void richText() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QVERIFY(encoder::IsRichText(rtf));
        QCOMPARE(encoder::ReadRichText(rtf), std::optional<QString>(text));
    }

    // Whatever the bytes, the reader ends, and its text is never longer than its input.
    void richTextSurvivesNoise() {
        QRandomGenerator random(12);
        const QByteArray alphabet("{}\\'*u-0123456789abcrtfpa \r\n\xe9");
        for (int run = 0; run < 2000; ++run) {
            QByteArray rtf("{\\rtf1");
            const int length = int(random.bounded(400));
            for (int i = 0; i < length; ++i) {
                rtf += alphabet[int(random.bounded(alphabet.size()))];
            }
            const std::optional<QString> text = encoder::ReadRichText(rtf);
            QVERIFY(!text || text->size() <= rtf.size());
        }
        QVERIFY(!encoder::ReadRichText("{\\rtf1" + QByteArray(1 << 20, '{')));
    }
};

QTEST_APPLESS_MAIN(tst_SourceText)
#include "tst_source_text.moc"
