#include "encoder/RichText.h"

#include <QSet>
#include <algorithm>
#include <vector>

#include "lyrics/DelimitedFile.h"

namespace encoder {

namespace {

struct Group {
    bool Skip = false;    // a destination whose text is not part of the document
    int UnicodeSkip = 1;  // characters standing in for each \u character (\uc)
};

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// A byte of text in the document's code page (Windows-1252).
QChar ByteChar(char c) {
    if (static_cast<unsigned char>(c) < 0x80) {
        return QChar::fromLatin1(c);
    }
    return lyrics::DecodeText(QByteArray(1, c)).at(0);
}

// Destinations whose content is not text of the document.
const QSet<QByteArray>& SkippedDestinations() {
    static const QSet<QByteArray> names{
        "fonttbl",   "colortbl",  "stylesheet", "info",      "pict",      "object",
        "header",    "headerl",   "headerr",    "headerf",   "footer",    "footerl",
        "footerr",   "footerf",   "footnote",   "fldinst",   "listtable", "listoverridetable",
        "rsidtbl",   "generator", "themedata",  "datastore", "xmlnstbl",  "latentstyles",
        "filetbl",   "revtbl",    "pgdsctbl",   "mmathPr",   "colorschememapping"};
    return names;
}

// Text characters of the document by control word.
std::optional<QChar> CharacterFor(const QByteArray& word) {
    static const QHash<QByteArray, QChar> chars{
        {"par", u'\n'},        {"line", u'\n'},       {"tab", u'\t'},
        {"emdash", u'\u2014'}, {"endash", u'\u2013'}, {"bullet", u'\u2022'},
        {"lquote", u'\u2018'}, {"rquote", u'\u2019'}, {"ldblquote", u'\u201C'},
        {"rdblquote", u'\u201D'}};
    const auto found = chars.constFind(word);
    return found == chars.cend() ? std::nullopt : std::optional<QChar>(*found);
}

class Reader {
  public:
    explicit Reader(const QByteArray& bytes) : in(bytes) {}

    std::optional<QString> Run() {
        while (at < in.size()) {
            const char c = in[at++];
            if (c == '{') {
                if (groups.size() == size_t(MaxRichTextDepth)) {
                    return std::nullopt;
                }
                groups.push_back(groups.empty() ? Group{} : groups.back());
            } else if (c == '}') {
                if (groups.size() <= 1) {
                    break;  // the document's own group has ended
                }
                groups.pop_back();
            } else if (c == '\\') {
                Control();
            } else if (c != '\r' && c != '\n') {
                Character(ByteChar(c));
            }
        }
        return out;
    }

  private:
    Group& Current() {
        if (groups.empty()) {
            groups.emplace_back();  // text before the first brace
        }
        return groups.back();
    }

    void Character(QChar c) {
        if (pendingSkip > 0) {
            --pendingSkip;
        } else if (!Current().Skip) {
            out.append(c);
        }
    }

    void Control() {
        if (at >= in.size()) {
            return;
        }
        const char c = in[at];
        if (!IsLetter(c)) {
            ++at;
            Symbol(c);
            return;
        }
        const qsizetype start = at;
        while (at < in.size() && IsLetter(in[at])) {
            ++at;
        }
        // No control word is longer; a longer one is nobody's and means nothing.
        const QByteArray word = in.mid(start, std::min<qsizetype>(at - start, 33));
        bool negative = false;
        if (at < in.size() && in[at] == '-') {
            negative = true;
            ++at;
        }
        qint64 number = 0;
        bool hasNumber = false;
        for (int digits = 0; at < in.size() && IsDigit(in[at]) && digits < 10; ++digits) {
            number = number * 10 + (in[at++] - '0');
            hasNumber = true;
        }
        if (negative) {
            number = -number;
        }
        if (at < in.size() && in[at] == ' ') {
            ++at;
        }
        Word(word, hasNumber ? std::optional<qint64>(number) : std::nullopt);
    }

    void Symbol(char c) {
        switch (c) {
            case '\\':
            case '{':
            case '}':
                Character(QChar::fromLatin1(c));
                break;
            case '~':
                Character(QChar(0x00A0));
                break;
            case '_':
                Character(QChar(0x2011));
                break;
            case '*':
                Current().Skip = true;
                break;
            case '\r':
            case '\n':
                Character(u'\n');
                break;
            case '\'': {
                const int high = at < in.size() ? HexValue(in[at]) : -1;
                const int low = at + 1 < in.size() ? HexValue(in[at + 1]) : -1;
                if (high >= 0 && low >= 0) {
                    at += 2;
                    Character(ByteChar(char(high * 16 + low)));
                }
                break;
            }
            default:
                break;  // the optional hyphen and the rest carry no text
        }
    }

    void Word(const QByteArray& word, std::optional<qint64> number) {
        if (word == "u" && number) {
            Character(QChar(char16_t(*number)));
            pendingSkip = Current().UnicodeSkip;
        } else if (word == "uc" && number) {
            Current().UnicodeSkip = int(std::clamp<qint64>(*number, 0, 16));
        } else if (word == "bin" && number) {
            at += std::clamp<qint64>(*number, 0, in.size() - at);
        } else if (SkippedDestinations().contains(word)) {
            Current().Skip = true;
        } else if (const std::optional<QChar> c = CharacterFor(word)) {
            Character(*c);
        }
    }

    const QByteArray& in;
    qsizetype at = 0;
    std::vector<Group> groups;
    int pendingSkip = 0;
    QString out;
};

}  // namespace

bool IsRichText(const QByteArray& bytes) {
    return bytes.startsWith("{\\rtf");
}

std::optional<QString> ReadRichText(const QByteArray& bytes) {
    return Reader(bytes).Run();
}

}  // namespace encoder
