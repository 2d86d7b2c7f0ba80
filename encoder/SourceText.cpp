#include "encoder/SourceText.h"

#include "encoder/RichText.h"
#include "lyrics/RegularFile.h"

namespace encoder {

QString TrimSpaces(const QString& line) {
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && line[begin] == u' ') {
        ++begin;
    }
    while (end > begin && line[end - 1] == u' ') {
        --end;
    }
    return line.mid(begin, end - begin);
}

std::optional<QStringList> SplitSourceText(const QString& text) {
    QStringList lines;
    QString buffer;
    auto endLine = [&]() {
        QString line = TrimSpaces(buffer);
        buffer.clear();
        if (line.isEmpty()) {
            return true;
        }
        if (lines.size() == MaxSourceLines) {
            return false;
        }
        lines.append(std::move(line));
        return true;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            if (!endLine()) {
                return std::nullopt;
            }
        } else if (c != u'"') {
            buffer.append(c);
        }
    }
    if (!endLine()) {
        return std::nullopt;
    }
    return lines;
}

std::optional<QString> SourceTextOf(const QByteArray& bytes) {
    if (bytes.contains('\0')) {
        return std::nullopt;
    }
    return IsRichText(bytes) ? ReadRichText(bytes) : lyrics::DecodeText(bytes);
}

std::optional<QString> ReadSourceText(const QString& path, qint64 maxSize) {
    const std::optional<QByteArray> bytes = lyrics::ReadRegularFile(path, maxSize);
    return bytes ? SourceTextOf(*bytes) : std::nullopt;
}

std::optional<QStringList> ReadSourceLines(const QString& path) {
    const std::optional<QString> text = ReadSourceText(path);
    return text ? SplitSourceText(*text) : std::nullopt;
}

}  // namespace encoder
