#pragma once
// The source text whose lines are timed: its lines as the encoder takes them.
#include <QString>
#include <QStringList>
#include <optional>

#include "lyrics/DelimitedFile.h"

namespace encoder {

// The table holds at most this many lines; the end marker takes the index after them.
inline constexpr int MaxSourceLines = 32766;

// line without the spaces at either end; tabs and other blanks stay.
QString TrimSpaces(const QString& line);

// The lines of a text: a CR LF pair, a lone LF and a lone CR each end a line; double quotes
// are dropped (a lyrics file keeps its texts between quotes); spaces, not tabs, are trimmed
// from both ends; lines left blank are skipped. nullopt for more than MaxSourceLines lines.
std::optional<QStringList> SplitSourceText(const QString& text);

// The text of a file's bytes: a rich text document for its text alone, anything else as
// plain text decoded as the lyrics files are. nullopt when they hold a NUL byte (a binary
// file, not a text).
std::optional<QString> SourceTextOf(const QByteArray& bytes);

// The text of the file at path (SourceTextOf); nullopt also when it is not a readable
// regular file or is larger than maxSize.
std::optional<QString> ReadSourceText(const QString& path,
                                      qint64 maxSize = lyrics::FieldReader::MaxFileSize);

// The lines of the source file at path; nullopt when ReadSourceText fails or there are
// too many lines.
std::optional<QStringList> ReadSourceLines(const QString& path);

}  // namespace encoder
