#include "winamp/TrackTitle.h"

namespace winamp {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'*';  // Winamp puts "***" around a scrolling title
}

std::u16string Trimmed(const std::u16string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// "winamp", "Winamp 5.9", "WINAMP 2.95": the program's own name, any case, any version.
bool IsProgramName(const std::u16string& text) {
    const std::u16string name = u"winamp";
    if (text.size() < name.size()) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (Lower(text[i]) != name[i]) {
            return false;
        }
    }
    for (std::size_t i = name.size(); i < text.size(); ++i) {
        if (!IsDigit(text[i]) && text[i] != u'.' && text[i] != u' ') {
            return false;
        }
    }
    return true;
}

const std::u16string Separator = u" - ";

}  // namespace

NowPlayingTrack ParseWinampTitle(const std::u16string& windowTitle) {
    std::u16string text = Trimmed(windowTitle);
    // The state in brackets stands after the program's name only: "[Live]" of a song stays.
    const std::size_t open =
        text.empty() || text.back() != u']' ? std::u16string::npos : text.rfind(u'[');
    const std::u16string unbracketed =
        open == std::u16string::npos ? text : Trimmed(text.substr(0, open));
    const std::size_t suffix = unbracketed.rfind(Separator);
    if (IsProgramName(unbracketed)) {
        return {};
    }
    if (suffix != std::u16string::npos &&
        IsProgramName(unbracketed.substr(suffix + Separator.size()))) {
        text = Trimmed(unbracketed.substr(0, suffix));
    }
    std::size_t digits = 0;
    while (digits < text.size() && IsDigit(text[digits])) {
        ++digits;
    }
    if (digits > 0 && text.compare(digits, 2, u". ") == 0) {
        text = Trimmed(text.substr(digits + 2));
    }
    NowPlayingTrack track;
    const std::size_t at = text.find(Separator);
    if (at == std::u16string::npos) {
        track.Title = text;
    } else {
        track.Artist = Trimmed(text.substr(0, at));
        track.Title = Trimmed(text.substr(at + Separator.size()));
    }
    return track;
}

std::u16string WinampTitle(int number, const std::u16string& song, PlayState state) {
    std::u16string text;
    for (int rest = number; rest > 0; rest /= 10) {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + rest % 10));
    }
    text += (number > 0 ? u". " : u"") + song + u" - Winamp";
    return state == PlayState::Playing  ? text
           : state == PlayState::Paused ? text + u" [Paused]"
                                        : text + u" [Stopped]";
}

}  // namespace winamp
