#include "lyrics/DelimitedFile.h"

#include "lyrics/RegularFile.h"

#include <QSaveFile>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace lyrics {

namespace {

// 0x80-0x9F of Windows-1252. The five bytes the code page leaves undefined keep the C1
// control of the same number, so every byte still has a character and none is lost.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

// Strict: no overlong forms, no surrogates, nothing above U+10FFFF. Anything looser would
// take some Windows-1252 texts for UTF-8.
bool IsValidUtf8(const unsigned char* p, qsizetype n) {
    qsizetype i = 0;
    while (i < n) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length;
        char32_t cp;
        char32_t smallest;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
            smallest = 0x10000;
        } else {
            return false;
        }
        if (n - i < length) {
            return false;
        }
        for (int k = 1; k < length; ++k) {
            const unsigned char next = p[i + k];
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

QString DecodeCp1252(const unsigned char* p, qsizetype n) {
    QString text(n, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char b = p[i];
        out[i] = (b >= 0x80 && b < 0xA0) ? QChar(Cp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool IsLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}
bool IsDelimiter(QChar c) {
    return c == u',' || IsLineEnd(c);
}

// The bytes after a leading UTF-8 byte-order mark.
QByteArrayView WithoutByteOrderMark(const QByteArray& bytes) {
    return bytes.startsWith("\xEF\xBB\xBF") ? QByteArrayView(bytes).sliced(3) : bytes;
}

}  // namespace

QString DecodeText(const QByteArray& bytes) {
    const QByteArrayView text = WithoutByteOrderMark(bytes);
    const auto p = reinterpret_cast<const unsigned char*>(text.data());
    if (IsValidUtf8(p, text.size())) {
        return QString::fromUtf8(text);
    }
    return DecodeCp1252(p, text.size());
}

bool ReadsAsUtf8(const QByteArray& bytes) {
    const QByteArrayView text = WithoutByteOrderMark(bytes);
    return IsValidUtf8(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

QByteArray EncodeText(const QString& text) {
    return text.toUtf8();
}

std::optional<QByteArray> EncodeCp1252(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes += char(u);
            continue;
        }
        const auto high = std::find(Cp1252High.begin(), Cp1252High.end(), u);
        if (high == Cp1252High.end()) {
            return std::nullopt;
        }
        bytes += char(0x80 + (high - Cp1252High.begin()));
    }
    return bytes;
}

QString FormatNumber(double value) {
    if (value == 0 || !std::isfinite(value)) {
        return QStringLiteral("0");
    }
    // Fixed notation of the largest double is 309 digits; the smallest one is "0." and
    // 323 zeros before its digit.
    char buffer[400];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc()) {
        return QStringLiteral("0");
    }
    return QString::fromLatin1(buffer, end - buffer);
}

bool SaveBytes(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

FieldReader::FieldReader(const QByteArray& bytes) {
    SetText(DecodeText(bytes));
}

bool FieldReader::Open(const QString& path) {
    SetText({});
    const std::optional<QByteArray> bytes = ReadRegularFile(path, MaxFileSize);
    if (!bytes) {
        return false;
    }
    SetText(DecodeText(*bytes));
    return true;
}

void FieldReader::SetText(QString text) {
    content = std::move(text);
    pos = 0;
    contentEnd = content.size();
    while (contentEnd > 0 &&
           (IsBlank(content[contentEnd - 1]) || IsLineEnd(content[contentEnd - 1]))) {
        --contentEnd;
    }
}

bool FieldReader::AtEnd() const {
    return pos >= contentEnd;
}

void FieldReader::SkipDelimiter() {
    if (pos >= content.size()) {
        return;
    }
    const QChar c = content[pos];
    ++pos;
    if (c == u'\r' && pos < content.size() && content[pos] == u'\n') {
        ++pos;
    }
}

std::optional<QString> FieldReader::ReadField(bool& quoted) {
    quoted = false;
    if (AtEnd()) {
        return std::nullopt;
    }
    const qsizetype size = content.size();
    while (IsBlank(content[pos])) {
        ++pos;  // stops at the latest on the last character of content
    }
    if (content[pos] == u'"') {
        quoted = true;
        const qsizetype start = pos + 1;
        const qsizetype close = content.indexOf(u'"', start);
        if (close < 0) {
            pos = size;
            return content.mid(start, contentEnd - start);
        }
        pos = close + 1;
        while (pos < size && !IsDelimiter(content[pos])) {
            ++pos;
        }
        SkipDelimiter();
        return content.mid(start, close - start);
    }
    const qsizetype start = pos;
    while (pos < size && !IsDelimiter(content[pos])) {
        ++pos;
    }
    qsizetype end = pos;
    while (end > start && IsBlank(content[end - 1])) {
        --end;
    }
    SkipDelimiter();
    return content.mid(start, end - start);
}

std::optional<QString> FieldReader::ReadString() {
    bool quoted;
    return ReadField(quoted);
}

std::optional<double> FieldReader::ReadNumber(bool* empty) {
    if (empty) {
        *empty = false;
    }
    bool quoted;
    const std::optional<QString> field = ReadField(quoted);
    if (!field || quoted) {
        return std::nullopt;
    }
    if (field->isEmpty()) {
        if (empty) {
            *empty = true;
        }
        return 0.0;
    }
    // Checked by hand so that nothing a parser might also accept (exponents, hex, "inf",
    // thousands separators) gets through.
    qsizetype i = (field->front() == u'+' || field->front() == u'-') ? 1 : 0;
    int digits = 0;
    bool period = false;
    for (; i < field->size(); ++i) {
        const QChar c = field->at(i);
        if (c >= u'0' && c <= u'9') {
            ++digits;
        } else if (c == u'.' && !period) {
            period = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    const QByteArray ascii = field->toLatin1();
    const char* begin = ascii.constData();
    const char* end = begin + ascii.size();
    if (*begin == '+') {
        ++begin;  // from_chars takes no plus sign
    }
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

void FieldWriter::BeginField() {
    if (fieldsOnLine++ > 0) {
        bytes += ',';
    }
}

void FieldWriter::WriteString(const QString& text) {
    BeginField();
    QString inner = text;
    inner.replace(u'"', u'\'');
    bytes += '"';
    bytes += EncodeText(inner);
    bytes += '"';
}

void FieldWriter::WriteNumber(double value) {
    BeginField();
    bytes += FormatNumber(value).toLatin1();
}

void FieldWriter::WriteEmpty() {
    BeginField();
}

void FieldWriter::EndLine() {
    bytes += "\r\n";
    fieldsOnLine = 0;
}

const QByteArray& FieldWriter::Bytes() const {
    return bytes;
}

bool FieldWriter::Save(const QString& path) const {
    return SaveBytes(path, bytes);
}

}  // namespace lyrics
