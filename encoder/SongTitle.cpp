#include "encoder/SongTitle.h"

#include "encoder/SourceText.h"

namespace encoder {

namespace {

const QString Separator = QStringLiteral(" - ");

}  // namespace

bool IsBlankField(const QString& field) {
    return TrimSpaces(field).isEmpty();
}

QString SongTitle(const QString& artist, const QString& song) {
    return TrimSpaces(song) + Separator + TrimSpaces(artist);
}

QString ProposedFileName(const QString& artist, const QString& song) {
    QString name = TrimSpaces(artist) + Separator + TrimSpaces(song);
    for (QChar& c : name) {
        if (c == u'/' || c == QChar::Null) {
            c = u'-';
        }
    }
    return name;
}

TitleFields SplitSongTitle(const QString& title) {
    const qsizetype at = title.indexOf(Separator);
    if (at < 0) {
        return {title, QString()};
    }
    return {title.left(at), title.mid(at + Separator.size())};
}

}  // namespace encoder
