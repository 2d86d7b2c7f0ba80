#pragma once
// The delimited-field text convention that every file of the system uses: comma-separated
// fields, strings in double quotes with nothing escaped, numbers bare in plain decimal,
// CR LF after every line.
#include <QByteArray>
#include <QString>
#include <optional>

#include "lyrics/SaveFile.h"

namespace lyrics {

// Valid UTF-8 (a leading byte-order mark dropped) is read as UTF-8, anything else as
// Windows-1252. A byte-order mark is dropped in either case, so that a damaged UTF-8 file
// still starts with its first field.
QString DecodeText(const QByteArray& bytes);
// The machine's code page: UTF-8 here.
QByteArray EncodeText(const QString& text);
// Whether DecodeText reads bytes as UTF-8 (else as Windows-1252).
bool ReadsAsUtf8(const QByteArray& bytes);
// text in Windows-1252, each character back to the byte DecodeText reads it from; nullopt
// when a character has no byte there.
std::optional<QByteArray> EncodeCp1252(const QString& text);

// Plain decimal with a period, no exponent, no thousands separator, whatever the locale:
// 83.456, 120, 0.5. The shortest text that reads back as the same double. Zero of either
// sign is "0"; a value with no decimal form (infinity, NaN) is written as "0" too.
QString FormatNumber(double value);

// Reads fields as a stream: a comma or a line end (CR LF, LF or CR) ends a field, blanks
// before a field are skipped, a field that begins with a double quote runs to the next
// double quote. Trailing blank lines count as the end of the file.
//
// Hand-made files are taken as kindly as the stream allows: text between a closing quote
// and the next delimiter is dropped, so the fields after it keep their places, and a quote
// that is never closed runs to the end of the data.
class FieldReader {
  public:
    // Every file of the system is small; anything bigger is not one of ours and is refused
    // rather than read into memory.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    FieldReader() = default;
    // The bytes of a whole file, decoded as Open would.
    explicit FieldReader(const QByteArray& bytes);

    // Reads the whole file; false when it cannot be opened or read, is not a regular file
    // (a folder, FIFO, device or socket) or is larger than MaxFileSize. On failure the reader holds no data.
    bool Open(const QString& path);

    // True when nothing but blanks and line ends is left. So an empty field after the last
    // comma of the file (`3,` and then only line ends) is past the end, not a field.
    bool AtEnd() const;

    // The next field as text (a quoted field without its quotes, a bare field trimmed).
    // nullopt past the end of the data, that is whenever AtEnd() holds.
    std::optional<QString> ReadString();

    // The next field as a number: an empty field reads as 0 (empty set to true when given).
    // nullopt past the end of the data, for a quoted field, or for a field that is not a
    // plain decimal number (optional sign, digits with at most one period, no exponent).
    std::optional<double> ReadNumber(bool* empty = nullptr);

  private:
    void SetText(QString text);
    // The raw field at the current position; quoted tells whether it was in quotes.
    std::optional<QString> ReadField(bool& quoted);
    // Consumes one line end (CR LF counts as one) or comma at the current position.
    void SkipDelimiter();

    QString content;
    qsizetype pos = 0;
    // Just past the last character that is neither a blank nor a line end.
    qsizetype contentEnd = 0;
};

// Builds a file in memory, then writes it whole.
class FieldWriter {
  public:
    // Quoted. The format has no escape for a double quote, so each one is written as a
    // single quote: the text stays readable and the fields after it keep their places.
    void WriteString(const QString& text);
    void WriteNumber(double value);  // FormatNumber
    void WriteEmpty();               // an empty field: nothing between the commas
    void EndLine();                  // CR LF

    const QByteArray& Bytes() const;

    // SaveBytes of what was built.
    SaveResult Save(const QString& path) const;

  private:
    void BeginField();

    QByteArray bytes;
    int fieldsOnLine = 0;
};

}  // namespace lyrics
