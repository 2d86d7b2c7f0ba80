// The delimited-field reader and writer that every file of the system goes through.
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <cstring>
#include <limits>

#include "TestFiles.h"
#include "lyrics/DelimitedFile.h"

using lyrics::DecodeText;
using lyrics::EncodeText;
using lyrics::FieldReader;
using lyrics::FieldWriter;
using lyrics::FormatNumber;
using lyrics::test::GermanLocale;
using lyrics::test::ReadBytes;
using lyrics::test::WriteBytes;

namespace {

const QString NoField = QStringLiteral("<none>");

// Every field of the data as text, read until the reader reports the end.
QStringList ReadAll(const QByteArray& bytes) {
    FieldReader reader(bytes);
    QStringList fields;
    while (!reader.AtEnd()) {
        const std::optional<QString> field = reader.ReadString();
        if (!field) {
            fields << NoField;
            break;
        }
        fields << *field;
    }
    return fields;
}

QByteArray Utf8(const char8_t* text) {
    return QByteArray(reinterpret_cast<const char*>(text));
}

QString Chars(std::initializer_list<QChar> chars) {
    return QString(chars.begin(), qsizetype(chars.size()));
}

}  // namespace

class TestFields : public QObject {
    Q_OBJECT

  private slots:
    void decodeText_data();
    void decodeText();
    void decodeTextKeepsEveryCp1252Byte();
    void encodeTextRoundTrip_data();
    void encodeTextRoundTrip();

    void formatNumber_data();
    void formatNumber();
    void formatNumberReadsBackExactly_data();
    void formatNumberReadsBackExactly();

    void readFields_data();
    void readFields();
    void readNumber_data();
    void readNumber();
    void readPastEnd_data();
    void readPastEnd();
    void hostileInput_data();
    void hostileInput();
    void openFile_data();
    void openFile();
    void openFailureDropsEarlierData();

    void writeFields_data();
    void writeFields();
    void writeReadRoundTrip_data();
    void writeReadRoundTrip();
    void saveReplacesFile();
    void saveFailureKeepsOldFile_data();
    void saveFailureKeepsOldFile();
};

void TestFields::decodeText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("ascii") << QByteArray("12.48,\"wire\"\r\n")
                           << QStringLiteral("12.48,\"wire\"\r\n");
    QTest::newRow("utf-8 mixed scripts") << Utf8(u8"Café Ψυχή Москва 東京 مرحبا 🎵")
                                         << QStringLiteral(u"Café Ψυχή Москва 東京 مرحبا 🎵");
    QTest::newRow("utf-8 byte-order mark dropped")
        << Utf8(u8"\uFEFF\"Café\"") << QStringLiteral(u"\"Café\"");
    QTest::newRow("only a byte-order mark") << QByteArray("\xEF\xBB\xBF") << QString();
    QTest::newRow("byte-order mark inside kept")
        << Utf8(u8"a\uFEFFb") << QStringLiteral(u"a\uFEFFb");
    QTest::newRow("1252 letters") << QByteArray(
                                         "Caf\xE9 Ren\xE9"
                                         "e \xFF\xC0")
                                  << QStringLiteral(u"Café Renée ÿÀ");
    QTest::newRow("1252 punctuation")
        << QByteArray(
               "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8B\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9B")
        << QStringLiteral(u"€‚ƒ„…†‡ˆ‰‹‘’“”•–—˜™›");
    QTest::newRow("1252 letters of the high half")
        << QByteArray("\x8A\x8C\x8E\x9A\x9C\x9E\x9F") << QStringLiteral(u"ŠŒŽšœžŸ");
    QTest::newRow("1252 undefined bytes keep their C1 controls")
        << QByteArray("\x81\x8D\x8F\x90\x9D")
        << Chars({QChar(0x81), QChar(0x8D), QChar(0x8F), QChar(0x90), QChar(0x9D)});
    QTest::newRow("1252 no-break space and soft hyphen")
        << QByteArray(
               "a\xA0"
               "b\xAD")
        << Chars({u'a', QChar(0xA0), u'b', QChar(0xAD)});
    QTest::newRow("overlong utf-8 is 1252") << QByteArray("\xC0\x80") << QStringLiteral(u"À€");
    QTest::newRow("encoded surrogate is 1252")
        << QByteArray("\xED\xA0\x80") << QStringLiteral(u"í\u00A0€");
    QTest::newRow("beyond U+10FFFF is 1252")
        << QByteArray("\xF4\x90\x80\x80") << QStringLiteral(u"ô\u0090€€");
    QTest::newRow("truncated sequence at the end is 1252")
        << QByteArray("caf\xC3") << QStringLiteral(u"cafÃ");
    QTest::newRow("one bad byte makes the whole text 1252")
        << QByteArray("\xC3\xA9 \xE9") << QStringLiteral(u"Ã© é");
    QTest::newRow("byte-order mark before 1252 dropped")
        << QByteArray("\xEF\xBB\xBF\"Caf\xE9\"") << QStringLiteral(u"\"Café\"");
    QTest::newRow("nul bytes kept") << QByteArray("a\0b", 3) << Chars({u'a', QChar(0), u'b'});
}

void TestFields::decodeText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(DecodeText(bytes), text);
}

void TestFields::decodeTextKeepsEveryCp1252Byte() {
    // A byte of the high half standing alone is never UTF-8, so it is read as 1252: every one
    // must become its own character and none may turn into a replacement mark.
    QSet<QChar> seen;
    for (int b = 0x80; b <= 0xFF; ++b) {
        const QString text = DecodeText(QByteArray(1, static_cast<char>(b)));
        QCOMPARE(text.size(), 1);
        QVERIFY2(text[0] != QChar::ReplacementCharacter && text[0] != u'?',
                 qPrintable(QString::number(b, 16)));
        seen.insert(text[0]);
    }
    QCOMPARE(seen.size(), 128);
}

void TestFields::encodeTextRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("latin") << QStringLiteral(u"Grüße, Renée — “quoted”");
    QTest::newRow("greek and cyrillic") << QStringLiteral(u"Ψυχή и душа");
    QTest::newRow("cjk") << QStringLiteral(u"東京の夜、서울의 밤");
    QTest::newRow("right to left") << QStringLiteral(u"שלום مرحبا");
    QTest::newRow("beyond the basic plane") << QStringLiteral(u"🎵𝄞 music");
    QTest::newRow("text made only of 1252 characters") << QStringLiteral(u"€ café");
}

void TestFields::encodeTextRoundTrip() {
    QFETCH(QString, text);
    const QByteArray bytes = EncodeText(text);
    QCOMPARE(bytes, text.toUtf8());
    QCOMPARE(DecodeText(bytes), text);
}

void TestFields::formatNumber_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("german");

    for (const bool german : {false, true}) {
        const char* tag = german ? "de: " : "c: ";
        auto row = [&](const char* name) {
            return &(QTest::newRow((QByteArray(tag) + name).constData()));
        };
        *row("three decimals") << 83.456 << "83.456" << german;
        *row("whole") << 120.0 << "120" << german;
        *row("half") << 0.5 << "0.5" << german;
        *row("negative") << -3.0 << "-3" << german;
        *row("negative fraction") << -0.25 << "-0.25" << german;
        *row("worked example") << 17.952 << "17.952" << german;
        *row("millisecond") << 0.001 << "0.001" << german;
        *row("no thousands separator") << 1234567.5 << "1234567.5" << german;
        *row("large without exponent") << 1e21 << "1000000000000000000000" << german;
        *row("small without exponent") << 1e-7 << "0.0000001" << german;
        *row("shortest that reads back") << 0.1 + 0.2 << "0.30000000000000004" << german;
        *row("zero") << 0.0 << "0" << german;
        *row("negative zero") << -0.0 << "0" << german;
        *row("infinity") << std::numeric_limits<double>::infinity() << "0" << german;
        *row("nan") << std::numeric_limits<double>::quiet_NaN() << "0" << german;
    }
}

void TestFields::formatNumber() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QFETCH(bool, german);
    GermanLocale locale(german);
    if (german) {
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    }
    QCOMPARE(FormatNumber(value), text);

    FieldWriter writer;
    writer.WriteNumber(value);
    QCOMPARE(QString::fromLatin1(writer.Bytes()), text);
}

void TestFields::formatNumberReadsBackExactly_data() {
    QTest::addColumn<bool>("german");
    QTest::newRow("c locale") << false;
    QTest::newRow("german locale") << true;
}

void TestFields::formatNumberReadsBackExactly() {
    QFETCH(bool, german);
    GermanLocale locale(german);

    std::vector<double> values = {std::numeric_limits<double>::max(),
                                  -std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::min(),
                                  std::numeric_limits<double>::denorm_min(),
                                  12.48,
                                  1.001,
                                  3599.999,
                                  32767};
    // Arbitrary bit patterns reach every exponent and digit count.
    QRandomGenerator random(20240611);
    while (values.size() < 20000) {
        const quint64 bits = random.generate64();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            values.push_back(value);
        }
    }
    for (int i = 0; i < 2000; ++i) {
        values.push_back(random.bounded(3600000) / 1000.0);  // Winamp positions in seconds
    }

    for (const double value : values) {
        const QString text = FormatNumber(value);
        QVERIFY2(!text.contains(u'e') && !text.contains(u'E') && !text.contains(u','),
                 qPrintable(text));
        FieldReader reader(text.toLatin1());
        const std::optional<double> back = reader.ReadNumber();
        QVERIFY2(back.has_value(), qPrintable(text));
        QVERIFY2(*back == value, qPrintable(text));
        QVERIFY(reader.AtEnd());
    }
}

void TestFields::readFields_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("fields");

    const QStringList record = {"T", "12.48", "a, b", "", "c"};
    QTest::newRow("CR LF") << QByteArray("\"T\"\r\n12.48,\"a, b\"\r\n,\"c\"\r\n") << record;
    QTest::newRow("LF") << QByteArray("\"T\"\n12.48,\"a, b\"\n,\"c\"\n") << record;
    QTest::newRow("CR") << QByteArray("\"T\"\r12.48,\"a, b\"\r,\"c\"\r") << record;
    QTest::newRow("mixed line ends") << QByteArray("\"T\"\n12.48,\"a, b\"\r,\"c\"\r\n") << record;
    QTest::newRow("no line end after the last field")
        << QByteArray("\"T\"\r\n12.48,\"a, b\"\r\n,\"c\"") << record;
    QTest::newRow("trailing blank lines")
        << QByteArray("\"T\"\r\n12.48,\"a, b\"\r\n,\"c\"\r\n\r\n  \r\n\t\n\r") << record;
    QTest::newRow("blanks before fields")
        << QByteArray("  \"T\"\r\n\t12.48, \t\"a, b\"\r\n  ,  \"c\"\r\n") << record;
    QTest::newRow("blanks after a closing quote")
        << QByteArray("\"T\"  \r\n12.48,\"a, b\" \t,\"\"\t,\"c\" \r\n") << record;
    QTest::newRow("bare fields trimmed at the end")
        << QByteArray("  T  ,12.48\t,\"a, b\",,c \r\n") << record;

    QTest::newRow("blanks inside quotes kept")
        << QByteArray("\"  a  \",\" \"") << QStringList{"  a  ", " "};
    QTest::newRow("blanks inside a bare field kept")
        << QByteArray("a  b,c") << QStringList{"a  b", "c"};
    QTest::newRow("quote spanning lines")
        << QByteArray("\"one\r\ntwo\nthree\",4\r\n") << QStringList{"one\r\ntwo\nthree", "4"};
    QTest::newRow("missing closing quote runs to the end")
        << QByteArray("1,\"never closed\r\n2,x\r\n\r\n") << QStringList{"1", "never closed\r\n2,x"};
    QTest::newRow("empty fields between commas")
        << QByteArray("a,,b,\"\",c") << QStringList{"a", "", "b", "", "c"};
    QTest::newRow("leading comma is an empty field")
        << QByteArray(",\"x\"") << QStringList{"", "x"};
    QTest::newRow("blank line inside is an empty field")
        << QByteArray("\"a\"\r\n\r\n\"b\"") << QStringList{"a", "", "b"};
    QTest::newRow("CR CR LF is two line ends")
        << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("text after a closing quote dropped")
        << QByteArray("\"He said \"hi\" to me\",3\r\n\"next\"")
        << QStringList{"He said ", "3", "next"};
    QTest::newRow("quote inside a bare field is plain text")
        << QByteArray("ab\"c,d\"") << QStringList{"ab\"c", "d\""};
    QTest::newRow("byte-order mark before the first field")
        << QByteArray("\xEF\xBB\xBF\"Title\",1") << QStringList{"Title", "1"};
    QTest::newRow("1252 text") << QByteArray("\"Caf\xE9\",\"\x93x\x94\"")
                               << QStringList{QStringLiteral(u"Café"), QStringLiteral(u"“x”")};
    QTest::newRow("nul inside a field")
        << QByteArray("\"a\0b\",1", 7) << QStringList{Chars({u'a', QChar(0), u'b'}), "1"};
    QTest::newRow("empty data") << QByteArray() << QStringList();
    QTest::newRow("only blank lines") << QByteArray(" \r\n\t\r\n\n") << QStringList();
}

void TestFields::readFields() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, fields);
    QCOMPARE(ReadAll(bytes), fields);
}

void TestFields::readNumber_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("german");

    for (const bool german : {false, true}) {
        const char* tag = german ? "de: " : "c: ";
        auto row = [&](const char* name) {
            return &(QTest::newRow((QByteArray(tag) + name).constData()));
        };
        *row("decimal") << QByteArray("12.48\r\n") << true << 12.48 << false << german;
        *row("whole") << QByteArray("120,") << true << 120.0 << false << german;
        *row("zero before the point") << QByteArray("0.5") << true << 0.5 << false << german;
        *row("no zero before the point") << QByteArray(".5") << true << 0.5 << false << german;
        *row("nothing after the point") << QByteArray("5.") << true << 5.0 << false << german;
        *row("negative") << QByteArray("-3") << true << -3.0 << false << german;
        *row("negative fraction") << QByteArray("-.25") << true << -0.25 << false << german;
        *row("plus sign") << QByteArray("+7.5") << true << 7.5 << false << german;
        *row("leading zeros") << QByteArray("007") << true << 7.0 << false << german;
        *row("blanks around") << QByteArray("  \t83.456 \t,x") << true << 83.456 << false << german;
        *row("many digits") << QByteArray("0.123456789012345678901234567890") << true
                            << 0.123456789012345678901234567890 << false << german;
        *row("empty before a comma") << QByteArray(",\"x\"") << true << 0.0 << true << german;
        *row("blanks before a comma") << QByteArray("  ,\"x\"") << true << 0.0 << true << german;
        *row("empty before a line end") << QByteArray("\r\n\"x\"") << true << 0.0 << true << german;

        *row("decimal comma") << QByteArray("12,48") << true << 12.0 << false << german;
        *row("exponent") << QByteArray("1e3") << false << 0.0 << false << german;
        *row("capital exponent") << QByteArray("1.5E2") << false << 0.0 << false << german;
        *row("hex") << QByteArray("0x1A") << false << 0.0 << false << german;
        *row("thousands with periods") << QByteArray("1.000.5") << false << 0.0 << false << german;
        *row("thousands with apostrophe") << QByteArray("1'000") << false << 0.0 << false << german;
        *row("blank inside") << QByteArray("1 000") << false << 0.0 << false << german;
        *row("letters after digits") << QByteArray("12a") << false << 0.0 << false << german;
        *row("word") << QByteArray("abc") << false << 0.0 << false << german;
        *row("sign alone") << QByteArray("-") << false << 0.0 << false << german;
        *row("period alone") << QByteArray(".") << false << 0.0 << false << german;
        *row("two signs") << QByteArray("+-1") << false << 0.0 << false << german;
        *row("infinity") << QByteArray("inf") << false << 0.0 << false << german;
        *row("nan") << QByteArray("nan") << false << 0.0 << false << german;
        *row("arabic-indic digits") << Utf8(u8"١٢") << false << 0.0 << false << german;
        *row("full-width digits") << Utf8(u8"１２") << false << 0.0 << false << german;
        *row("too large for a double")
            << QByteArray("1" + QByteArray(400, '0')) << false << 0.0 << false << german;
        *row("quoted number") << QByteArray("\"12\"") << false << 0.0 << false << german;
        *row("quoted empty") << QByteArray("\"\",1") << false << 0.0 << false << german;
        *row("past the end") << QByteArray(" \r\n") << false << 0.0 << false << german;
    }
}

void TestFields::readNumber() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(double, value);
    QFETCH(bool, empty);
    QFETCH(bool, german);
    GermanLocale locale(german);

    FieldReader reader(bytes);
    bool wasEmpty = !empty;
    const std::optional<double> number = reader.ReadNumber(&wasEmpty);
    QCOMPARE(number.has_value(), ok);
    if (ok) {
        QVERIFY2(*number == value, qPrintable(QString::number(*number, 'g', 17)));
    }
    QCOMPARE(wasEmpty, empty);

    // Without the flag the answer is the same.
    FieldReader again(bytes);
    QCOMPARE(again.ReadNumber(), number);
}

void TestFields::readPastEnd_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("fields");
    QTest::newRow("nothing") << QByteArray() << 0;
    QTest::newRow("blank lines") << QByteArray("\r\n \r\n") << 0;
    QTest::newRow("one record") << QByteArray("1,\"a\"\r\n") << 2;
    QTest::newRow("trailing comma") << QByteArray("1,\r\n\r\n") << 1;
    QTest::newRow("unclosed quote") << QByteArray("\"a\r\n") << 1;
}

void TestFields::readPastEnd() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, fields);
    FieldReader reader(bytes);
    for (int i = 0; i < fields; ++i) {
        QVERIFY(!reader.AtEnd());
        QVERIFY(reader.ReadString().has_value());
    }
    for (int i = 0; i < 3; ++i) {
        QVERIFY(reader.AtEnd());
        QVERIFY(!reader.ReadString().has_value());
        bool empty = true;
        QVERIFY(!reader.ReadNumber(&empty).has_value());
        QVERIFY(!empty);
    }

    FieldReader nothing;
    QVERIFY(nothing.AtEnd());
    QVERIFY(!nothing.ReadString().has_value());
}

void TestFields::hostileInput_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("fields");  // -1 where the count does not matter

    const int big = 4 * 1024 * 1024;
    QRandomGenerator random(77);
    QByteArray garbage(big, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32*>(garbage.data()), big / 4);
    QTest::newRow("random bytes") << garbage << -1;

    // Delimiters only, quotes and blanks weighted heavily.
    QByteArray delimiters(big, Qt::Uninitialized);
    const char pool[] = {'"', '"', ',', '\r', '\n', ' ', '\t', 'x', '.', '-', '\0'};
    for (char& c : delimiters) {
        c = pool[random.bounded(int(sizeof pool))];
    }
    QTest::newRow("random delimiters") << delimiters << -1;

    QTest::newRow("one very long line") << QByteArray(big, 'x') << 1;
    QTest::newRow("very long quoted line") << QByteArray("\"" + QByteArray(big, 'y') + "\",1") << 2;
    QTest::newRow("commas only") << QByteArray(big, ',') << big;
    QTest::newRow("line ends then one field") << QByteArray(big, '\n') + "x" << big + 1;
    QTest::newRow("quotes only") << QByteArray(big, '"') << 1;
    QTest::newRow("blanks only") << QByteArray(big, ' ') << 0;
    QTest::newRow("unclosed quote then blanks") << "\"" + QByteArray(big, ' ') << 1;
    QTest::newRow("many short records")
        << QByteArray("1.5,\"la\"\r\n").repeated(big / 10) << 2 * (big / 10);
}

void TestFields::hostileInput() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, fields);

    // Every read must move on, so the count can never pass the number of characters.
    FieldReader reader(bytes);
    qsizetype count = 0;
    while (!reader.AtEnd() && count <= bytes.size()) {
        QVERIFY(reader.ReadString().has_value());
        ++count;
    }
    QVERIFY(reader.AtEnd());
    if (fields >= 0) {
        QCOMPARE(count, qsizetype(fields));
    }

    FieldReader numbers(bytes);
    count = 0;
    while (!numbers.AtEnd() && count <= bytes.size()) {
        numbers.ReadNumber();
        ++count;
    }
    QVERIFY(numbers.AtEnd());
}

void TestFields::openFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("ok");
    QTest::newRow("file") << "file" << true;
    QTest::newRow("empty file") << "empty" << true;
    QTest::newRow("missing file") << "missing" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("larger than any file of ours") << "huge" << false;
}

void TestFields::openFile() {
    QFETCH(QString, kind);
    QFETCH(bool, ok);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("f.cx3");
    if (kind == "file") {
        QVERIFY(WriteBytes(path, "\"Caf\xE9\",1\r\n"));
    } else if (kind == "empty") {
        QVERIFY(WriteBytes(path, {}));
    } else if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir("f.cx3"));
    } else if (kind == "huge") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(FieldReader::MaxFileSize + 1));  // sparse: costs no disk
    }

    FieldReader reader;
    QCOMPARE(reader.Open(path), ok);
    if (kind == "file") {
        QCOMPARE(reader.ReadString(), std::optional<QString>(QStringLiteral(u"Café")));
        QCOMPARE(reader.ReadNumber(), std::optional<double>(1));
    }
    QVERIFY(reader.AtEnd());
    QVERIFY(!reader.ReadString().has_value());
}

void TestFields::openFailureDropsEarlierData() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("a.cxp");
    QVERIFY(WriteBytes(path, "\"a\",1,\"b\"\r\n"));
    FieldReader reader;
    QVERIFY(reader.Open(path));
    QVERIFY(!reader.AtEnd());
    QVERIFY(!reader.Open(dir.filePath("missing.cxp")));
    QVERIFY(reader.AtEnd());
    QVERIFY(!reader.ReadString().has_value());
}

void TestFields::writeFields_data() {
    // Steps: "s:" a string, "n:" a number, "e" an empty field, "l" a line end.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("settings lines")
        << QStringList{"n:8438015", "n:16711680", "n:49152", "l", "n:0", "s:on top", "l", "s:", "l"}
        << QByteArray("8438015,16711680,49152\r\n0,\"on top\"\r\n\"\"\r\n");
    QTest::newRow("playlist line")
        << QStringList{"s:C:\\Lyrics\\paper lanterns.cx3", "n:3",
                       "s:Paper Lanterns - The Quiet Harbour", "l"}
        << QByteArray(
               "\"C:\\Lyrics\\paper lanterns.cx3\",3,\"Paper Lanterns - The Quiet Harbour\"\r\n");
    QTest::newRow("empty field first") << QStringList{"e", "s:x", "l"} << QByteArray(",\"x\"\r\n");
    QTest::newRow("empty field last") << QStringList{"s:x", "e", "l"} << QByteArray("\"x\",\r\n");
    QTest::newRow("empty fields only") << QStringList{"e", "e", "e", "l"} << QByteArray(",,\r\n");
    QTest::newRow("numbers") << QStringList{"n:83.456", "n:-3", "n:0.5", "n:-0", "l"}
                             << QByteArray("83.456,-3,0.5,0\r\n");
    QTest::newRow("commas and blanks kept in strings")
        << QStringList{"s: paper lanterns, burning low ", "l"}
        << QByteArray("\" paper lanterns, burning low \"\r\n");
    QTest::newRow("double quotes become single quotes")
        << QStringList{"s:He said \"go\", then \"left\"", "n:1", "l"}
        << QByteArray("\"He said 'go', then 'left'\",1\r\n");
    QTest::newRow("utf-8 text") << QStringList{"s:Café 東京 🎵", "l"}
                                << Utf8(u8"\"Café 東京 🎵\"\r\n");
    QTest::newRow("no line end until asked") << QStringList{"n:1", "s:a"} << QByteArray("1,\"a\"");
    QTest::newRow("empty line") << QStringList{"l", "n:2", "l"} << QByteArray("\r\n2\r\n");
}

void TestFields::writeFields() {
    QFETCH(QStringList, steps);
    QFETCH(QByteArray, bytes);
    FieldWriter writer;
    for (const QString& step : steps) {
        if (step.startsWith("s:")) {
            writer.WriteString(step.mid(2));
        } else if (step.startsWith("n:")) {
            writer.WriteNumber(step.mid(2).toDouble());
        } else if (step == "e") {
            writer.WriteEmpty();
        } else {
            writer.EndLine();
        }
    }
    QCOMPARE(writer.Bytes(), bytes);
}

void TestFields::writeReadRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");

    auto same = [](const char* name, const QString& text) { QTest::newRow(name) << text << text; };
    same("plain", "We hung our wishes on the wire");
    same("empty", "");
    same("commas", "paper lanterns, burning low, and, more,");
    same("blanks at both ends", "  \tindented\t  ");
    same("line ends inside", "one\r\ntwo\nthree\rfour");
    same("backslashes", "C:\\Lyrics\\a.cx3");
    same("mixed scripts", QStringLiteral(u"Grüße Ψυχή Москва 東京 مرحبا שלום हिन्दी 🎵"));
    same("typographic quotes", QStringLiteral(u"“smart” ‘quotes’"));
    same("text that looks like fields", "1,2\r\n3");
    QTest::newRow("double quotes") << "\"quoted\" and \"more"
                                   << "'quoted' and 'more";
    QTest::newRow("only a double quote") << "\""
                                         << "'";
    QTest::newRow("double quote before a comma") << "a\",\"b"
                                                 << "a','b";
}

void TestFields::writeReadRoundTrip() {
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    FieldWriter writer;
    writer.WriteNumber(1);
    writer.WriteString(text);
    writer.WriteNumber(2.5);
    writer.EndLine();
    writer.WriteString(text);
    writer.EndLine();
    writer.WriteNumber(3);
    writer.EndLine();

    FieldReader reader(writer.Bytes());
    QCOMPARE(reader.ReadNumber(), std::optional<double>(1));
    QCOMPARE(reader.ReadString(), std::optional<QString>(readBack));
    QCOMPARE(reader.ReadNumber(), std::optional<double>(2.5));
    QCOMPARE(reader.ReadString(), std::optional<QString>(readBack));
    QCOMPARE(reader.ReadNumber(), std::optional<double>(3));
    QVERIFY(reader.AtEnd());
}

void TestFields::saveReplacesFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("cantorix.ini");
    QVERIFY(WriteBytes(path, QByteArray(1000, 'o')));

    FieldWriter writer;
    writer.WriteNumber(1200);
    writer.WriteNumber(900);
    writer.EndLine();
    QVERIFY(writer.Save(path));
    QCOMPARE(ReadBytes(path), QByteArray("1200,900\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"cantorix.ini"});

    FieldWriter nothing;
    QVERIFY(nothing.Save(path));
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestFields::saveFailureKeepsOldFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing folder") << "missing";
    QTest::newRow("target is a folder") << "folder";
    QTest::newRow("read-only folder") << "readonly";
    QTest::newRow("empty path") << "empty";
}

void TestFields::saveFailureKeepsOldFile() {
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray old = "\"old\",1\r\n";
    const QString oldPath = dir.filePath("keep/list.cxp");
    QVERIFY(QDir(dir.path()).mkdir("keep"));
    QVERIFY(WriteBytes(oldPath, old));

    QString target;
    if (kind == "missing") {
        target = dir.filePath("keep/gone/list.cxp");
    } else if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir("keep/sub.cxp"));
        target = dir.filePath("keep/sub.cxp");
    } else if (kind == "readonly") {
        target = oldPath;
        QVERIFY(QFile::setPermissions(dir.filePath("keep"), QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(dir.filePath("keep/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(dir.filePath("keep"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("permissions do not stop this user from writing");
        }
    }

    FieldWriter writer;
    writer.WriteString("new");
    writer.EndLine();
    const bool saved = writer.Save(target);
    QFile::setPermissions(dir.filePath("keep"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!saved);
    QCOMPARE(ReadBytes(oldPath), old);
    // No half-written copy left beside it.
    QDir keep(dir.filePath("keep"));
    QStringList expected{"list.cxp"};
    if (kind == "folder") {
        expected << "sub.cxp";
        QVERIFY(QFileInfo(target).isDir());
        QVERIFY(QDir(target).isEmpty());
    }
    QCOMPARE(keep.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), expected);
}

QTEST_GUILESS_MAIN(TestFields)
#include "tst_lyrics_fields.moc"
