#include "library/SongMatch.h"

#include <QStringList>
#include <algorithm>

namespace library {

namespace {

const QString Separator = QStringLiteral(" - ");

// The letters and digits of text, folded to lower case without their accents.
QString Folded(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.isLetterOrNumber()) {
            out += c.toCaseFolded();
        }
    }
    return out;
}

// text without what stands in (), [] or {}; an opening bracket left unclosed stays.
QString WithoutBracketed(const QString& text) {
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        const QChar close = c == u'(' ? u')' : c == u'[' ? u']' : c == u'{' ? u'}' : QChar();
        const qsizetype end = close.isNull() ? -1 : text.indexOf(close, i + 1);
        if (end < 0) {
            out += c;
            ++i;
        } else {
            out += u' ';
            i = end + 1;
        }
    }
    return out;
}

void AddCandidate(std::vector<SongCandidate>& out, const QString& artist, const QString& title,
                  SongSource source) {
    SongCandidate candidate{NormalKey(artist), NormalKey(title), source};
    if (candidate.TitleKey.isEmpty() || std::find(out.begin(), out.end(), candidate) != out.end()) {
        return;
    }
    out.push_back(candidate);
}

}  // namespace

QString NormalKey(const QString& name) {
    const QString key = Folded(WithoutBracketed(name));
    return key.isEmpty() ? Folded(name) : key;
}

std::vector<SongCandidate> TitleRecordCandidates(const QString& titleRecord) {
    std::vector<SongCandidate> out;
    const qsizetype at = titleRecord.indexOf(Separator);
    if (at < 0) {
        AddCandidate(out, QString(), titleRecord, SongSource::TitleRecord);
    } else {
        AddCandidate(out, titleRecord.mid(at + Separator.size()), titleRecord.left(at),
                     SongSource::TitleRecord);
    }
    return out;
}

std::vector<SongCandidate> FileNameCandidates(const QString& baseName) {
    QStringList parts = QString(baseName).replace(u'_', u' ').simplified().split(Separator);
    bool number = false;
    if (parts.size() > 2 && (parts.front().toUInt(&number), number)) {
        parts.removeFirst();  // a track number in front: "01 - Artist - Title"
    }
    std::vector<SongCandidate> out;
    if (parts.size() == 1) {
        AddCandidate(out, QString(), parts.front(), SongSource::FileName);
        return out;
    }
    const auto bothWays = [&out](const QString& one, const QString& other) {
        AddCandidate(out, one, other, SongSource::FileName);
        AddCandidate(out, other, one, SongSource::FileName);
    };
    const qsizetype last = parts.size() - 1;
    bothWays(parts.front(), parts.mid(1).join(Separator));
    bothWays(parts.mid(0, last).join(Separator), parts.back());
    bothWays(parts.front(), parts.back());
    return out;
}

int MatchRank(const SongCandidate& candidate, const QString& artistKey, const QString& titleKey) {
    if (titleKey.isEmpty() || candidate.TitleKey != titleKey) {
        return 0;
    }
    const bool bothArtists = !artistKey.isEmpty() && !candidate.ArtistKey.isEmpty();
    if (bothArtists && candidate.ArtistKey != artistKey) {
        return 0;
    }
    return (bothArtists ? 10 : 5) + static_cast<int>(candidate.Source);
}

}  // namespace library
