// The delimited-field reader and writer that every file of the system goes through.
#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <clocale>
#include <limits>
#include <string>

#include "lyrics/DelimitedFile.h"
#include "support/Files.h"

using lyrics::DecodeText;
using lyrics::FieldReader;
using lyrics::FieldWriter;
using lyrics::FormatNumber;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

Q_DECLARE_METATYPE(std::optional<double>)

namespace {

// Every field of the data as text, read until the reader reports the end.
QStringList ReadAll(const QByteArray& bytes) {
    FieldReader reader(bytes);
    QStringList fields;
    while (!reader.AtEnd()) {
        fields << reader.ReadString().value_or("<none>");
    }
    return fields;
}

QByteArray Utf8(const char8_t* text) {
    return QByteArray(reinterpret_cast<const char*>(text));
}

// German number format (decimal comma) for Qt and, where installed, the C library, until
// the guard returned goes.
auto GermanLocale(bool on) {
    auto restore =
        qScopeGuard([oldQt = QLocale(), oldC = std::string(std::setlocale(LC_NUMERIC, nullptr))] {
            QLocale::setDefault(oldQt);
            std::setlocale(LC_NUMERIC, oldC.c_str());
        });
    if (on) {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    return restore;
}

}  // namespace

class TestFields : public QObject {
    Q_OBJECT

  private slots:
    void decodeText_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("utf-8 mixed scripts") << Utf8(u8"Café Ψυχή Москва 東京 مرحبا 🎵")
                                             << QStringLiteral(u"Café Ψυχή Москва 東京 مرحبا 🎵");
        QTest::newRow("utf-8 byte-order mark dropped")
            << Utf8(u8"\uFEFF\"Café\"") << QStringLiteral(u"\"Café\"");
        QTest::newRow("1252 punctuation")
            << QByteArray(
                   "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94"
                   "\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F")
            << QStringLiteral(u"€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
        QTest::newRow("overlong utf-8 is 1252") << QByteArray("\xC0\x80") << QStringLiteral(u"À€");
        QTest::newRow("one bad byte makes the whole text 1252")
            << QByteArray("\xC3\xA9 \xE9") << QStringLiteral(u"Ã© é");
        QTest::newRow("byte-order mark before 1252 dropped")
            << QByteArray("\xEF\xBB\xBF\"Caf\xE9\"") << QStringLiteral(u"\"Café\"");
    }
    void decodeText() {
        QFETCH(QByteArray, bytes);
        QTEST(DecodeText(bytes), "text");
    }

    // Plain decimal with a period in any locale, and read back as the very same double.
    void formatNumber_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");  // empty: only the read back is checked
        QTest::addColumn<bool>("german");
        const double inf = std::numeric_limits<double>::infinity();
        for (const bool german : {false, true}) {
            auto row = [german](const char* name, double value, const char* text) {
                QTest::addRow("%s%s", german ? "de: " : "c: ", name) << value << text << german;
            };
            row("three decimals", 83.456, "83.456");
            row("negative fraction", -0.25, "-0.25");
            row("large without exponent", 1e21, "1000000000000000000000");
            row("small without exponent", 1e-7, "0.0000001");
            row("shortest that reads back", 0.1 + 0.2, "0.30000000000000004");
            row("infinity", inf, "0");
            row("largest", std::numeric_limits<double>::max(), "");
        }
    }
    void formatNumber() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QFETCH(bool, german);
        const auto locale = GermanLocale(german);
        const QString written = FormatNumber(value);
        if (!text.isEmpty()) {
            QCOMPARE(written, text);
        }
        QVERIFY2(!written.contains(u'e') && !written.contains(u','), qPrintable(written));
        if (std::isfinite(value)) {
            QCOMPARE(FieldReader(written.toLatin1()).ReadNumber(), std::optional<double>(value));
        }
    }

    void readFields_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fields");
        const QStringList record = {"T", "12.48", "a, b", "", "c"};
        QTest::newRow("CR LF") << QByteArray("\"T\"\r\n12.48,\"a, b\"\r\n,\"c\"\r\n") << record;
        QTest::newRow("CR") << QByteArray("\"T\"\r12.48,\"a, b\"\r,\"c\"\r") << record;
        QTest::newRow("no line end after the last field")
            << QByteArray("\"T\"\r\n12.48,\"a, b\"\r\n,\"c\"") << record;
        QTest::newRow("trailing blank lines")
            << QByteArray("\"T\"\r\n12.48,\"a, b\"\r\n,\"c\"\r\n\r\n  \r\n\t\n\r") << record;
        QTest::newRow("blanks around fields")
            << QByteArray("  \"T\" \r\n\t12.48 , \t\"a, b\"\t\r\n  ,  \"c\"\r\n") << record;
        QTest::newRow("missing closing quote runs to the end")
            << QByteArray("1,\"never closed\r\n2,x\r\n\r\n")
            << QStringList{"1", "never closed\r\n2,x"};
        QTest::newRow("blank line inside is an empty field")
            << QByteArray("\"a\"\r\n\r\n\"b\"") << QStringList{"a", "", "b"};
        QTest::newRow("CR CR LF is two line ends")
            << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("empty field after the last comma is past the end")
            << QByteArray("1,\r\n\r\n") << QStringList{"1"};
        QTest::newRow("text after a closing quote dropped")
            << QByteArray("\"He said \"hi\" to me\",3\r\n\"next\"")
            << QStringList{"He said ", "3", "next"};
    }
    void readFields() {
        QFETCH(QByteArray, bytes);
        QTEST(ReadAll(bytes), "fields");
    }

    void readNumber_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<std::optional<double>>("value");
        QTest::addColumn<bool>("empty");
        QTest::addColumn<bool>("german");
        const std::optional<double> refused;
        for (const bool german : {false, true}) {
            auto row = [german](const char* name, const QByteArray& bytes,
                                std::optional<double> value, bool empty = false) {
                QTest::addRow("%s%s", german ? "de: " : "c: ", name)
                    << bytes << value << empty << german;
            };
            row("decimal", "12.48\r\n", 12.48);
            row("no zero before the point", ".5", 0.5);
            row("blanks around", "  \t83.456 \t,x", 83.456);
            row("empty before a comma", "  ,\"x\"", 0.0, true);
            row("decimal comma ends the field", "12,48", 12.0);
            row("exponent", "1e3", refused);
            row("other digits", Utf8(u8"١٢"), refused);
            row("quoted number", "\"12\"", refused);
            row("past the end", " \r\n", refused);
        }
    }
    void readNumber() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, german);
        const auto locale = GermanLocale(german);
        FieldReader reader(bytes);
        bool empty = true;
        QTEST(reader.ReadNumber(&empty), "value");
        QTEST(empty, "empty");
    }

    // Strings quoted, a double quote written as a single one since nothing is escaped;
    // numbers bare; empty fields nothing; CR LF after every line.
    void writeFields() {
        FieldWriter writer;
        writer.WriteNumber(8438015);
        writer.WriteEmpty();
        writer.WriteNumber(-0.0);
        writer.WriteString("");
        writer.EndLine();
        writer.WriteNumber(0.5);
        writer.WriteString(QStringLiteral(u"He said \"go\", then 東京\r\n"));
        writer.EndLine();
        QCOMPARE(writer.Bytes(),
                 Utf8(u8"8438015,,0,\"\"\r\n0.5,\"He said 'go', then 東京\r\n\"\r\n"));
    }

    // A save replaces the file whole; one that fails leaves the old file as it was, and no
    // half-written copy beside it.
    void save_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("ok");
        QTest::newRow("replaces the file") << "list.cxp" << true;
        // The longest name a folder entry takes: the file fits, but the temporary file an
        // atomic save writes beside it cannot be made.
        QTest::newRow("no room for the new copy") << QString(251, u'n') + ".cxp" << false;
        QTest::newRow("target is a folder") << "sub.cxp" << false;
    }
    void save() {
        QFETCH(QString, target);
        QFETCH(bool, ok);
        QTemporaryDir dir;
        const QString old = target.size() > 100 ? target : "list.cxp";
        QVERIFY(WriteBytes(dir.filePath(old), "\"old\",1\r\n"));
        QVERIFY(QDir(dir.path()).mkdir("sub.cxp"));
        FieldWriter writer;
        writer.WriteNumber(1200);
        writer.EndLine();
        QCOMPARE(writer.Save(dir.filePath(target)), ok);
        QCOMPARE(ReadBytes(dir.filePath(old)), ok ? QByteArray("1200\r\n") : "\"old\",1\r\n");
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({old, "sub.cxp"}));
    }
};

QTEST_GUILESS_MAIN(TestFields)
#include "tst_lyrics_fields.moc"
