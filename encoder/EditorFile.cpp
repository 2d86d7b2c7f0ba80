#include "encoder/EditorFile.h"

#include <QByteArray>
#include <QFileInfo>

#include "encoder/SourceText.h"
#include "lyrics/DelimitedFile.h"
#include "lyrics/RegularFile.h"
#include "platform/Folders.h"

namespace encoder {

namespace {

// CR LF, CR and LF each become LF.
QString WithLf(const QString& text) {
    return QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
}

const QByteArray ByteOrderMark("\xEF\xBB\xBF");

// The layout of a file's bytes.
TextLayout LayoutOf(const QByteArray& bytes) {
    TextLayout layout;
    const qsizetype cr = bytes.indexOf('\r');
    const qsizetype lf = bytes.indexOf('\n');
    if (cr >= 0 && (lf < 0 || cr < lf)) {
        layout.LineEnd = lf == cr + 1 ? QStringLiteral("\r\n") : QStringLiteral("\r");
    }
    layout.ByteOrderMark = bytes.startsWith(ByteOrderMark);
    layout.Windows1252 = !lyrics::ReadsAsUtf8(bytes);
    return layout;
}

// text as the bytes of a file laid out as layout. Windows-1252 only when those bytes read
// back as the same text: every character has a byte there, and the bytes do not pass for
// UTF-8.
QByteArray TextBytes(const QString& text, const TextLayout& layout) {
    const QString laidOut = WithLf(text).replace(u'\n', layout.LineEnd);
    if (layout.Windows1252) {
        const std::optional<QByteArray> bytes = lyrics::EncodeCp1252(laidOut);
        if (bytes && lyrics::DecodeText(*bytes) == laidOut) {
            return *bytes;
        }
    }
    return (layout.ByteOrderMark ? ByteOrderMark : QByteArray()) + laidOut.toUtf8();
}

}  // namespace

std::optional<QString> EditorFile::Open(const QString& path) {
    const std::optional<QByteArray> bytes =
        lyrics::ReadRegularFile(path, lyrics::FieldReader::MaxFileSize);
    std::optional<QString> text = bytes ? SourceTextOf(*bytes) : std::nullopt;
    if (text) {
        FileName = path;
        Confirmed = false;
        kept = WithLf(*text);
        layout = LayoutOf(*bytes);
    }
    return text;
}

void EditorFile::New() {
    FileName.clear();
    kept.clear();
    layout = TextLayout();
}

bool EditorFile::Changed(const QString& text) const {
    return WithLf(text) != kept;
}

bool EditorFile::Save(const QString& text) {
    const bool hasFile = !FileName.isEmpty();
    if (hasFile && !Changed(text) && QFileInfo::exists(FileName)) {
        Confirmed = true;
        return true;
    }
    const QString target = hasFile ? FileName : TemporaryFilePath();
    const TextLayout written = hasFile ? layout : TextLayout();
    if (!lyrics::SaveBytes(target, TextBytes(text, written))) {
        return false;
    }
    FileName = target;
    Confirmed = true;
    kept = WithLf(text);
    layout = written;
    return true;
}

QString EditorFile::TemporaryFilePath() {
    return platform::SettingsFolder() + platform::PathSeparator() +
           QStringLiteral("--undefined--.tmp");
}

}  // namespace encoder
