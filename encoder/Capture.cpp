#include "encoder/Capture.h"

#include "encoder/SourceText.h"
#include "lyrics/Offsets.h"
#include "winamp/Messages.h"

namespace encoder {

Capture::Capture() {
    Load({});
}

bool Capture::Load(const QStringList& lines) {
    if (lines.size() > MaxSourceLines) {
        return false;
    }
    SourceLines.clear();
    SourceLines.reserve(size_t(lines.size()) + 1);
    for (const QString& line : lines) {
        SourceLines.push_back({std::nullopt, line});
    }
    SourceLines.push_back({std::nullopt, EndMarker});
    LastSourceLine = qint16(lines.size() - 1);
    CaptureLine = 0;
    running = false;
    return true;
}

bool Capture::Start() {
    if (LastSourceLine < 0) {
        return false;
    }
    CaptureLine = 0;
    running = true;
    lastStampMs.reset();
    return true;
}

QString Capture::TextAt(int row) const {
    return row < int(SourceLines.size()) ? SourceLines[size_t(row)].Text : EndMarker;
}

QString Capture::CurrentText() const {
    return TextAt(CaptureLine);
}

QString Capture::NextText() const {
    return TextAt(CaptureLine + 1);
}

Capture::Press Capture::Next(qint64 positionMs, const std::function<qint64()>& playState) {
    if (!running || CaptureLine > LastSourceLine) {
        return Press::Ignored;
    }
    const auto lost = [this](Press why) {
        running = false;
        return why;
    };
    if (positionMs < 0) {
        return lost(Press::NoPosition);
    }
    if (positionMs == 0) {
        const qint64 state = playState();
        if (state != winamp::StatePlaying && state != winamp::StatePaused) {
            return lost(Press::NoPosition);
        }
    }
    if (lastStampMs && positionMs < *lastStampMs) {
        return lost(Press::WentBack);
    }
    lastStampMs = positionMs;
    SourceLines[size_t(CaptureLine)].Seconds =
        double(lyrics::HeardPosition(positionMs, OutputDelayMs)) / 1000;
    ++CaptureLine;
    return CaptureLine > LastSourceLine ? Press::Finished : Press::Stamped;
}

bool Capture::Stop() {
    running = false;
    return CaptureLine < LastSourceLine;
}

int Capture::RowToFix(int selected) const {
    if (LastSourceLine < 0) {
        return -1;
    }
    return IsLine(selected) ? selected : 0;
}

bool Capture::Full() const {
    return LastSourceLine + 1 >= MaxSourceLines;
}

bool Capture::InsertLine(int row, const QString& text) {
    if (Full() || !IsLine(row)) {
        return false;
    }
    const auto at = SourceLines.begin() + row;
    SourceLines.insert(at, {at->Seconds, QString(text).remove(u'"')});
    ++LastSourceLine;
    return true;
}

bool Capture::SetLineText(int row, const QString& text) {
    if (!IsLine(row)) {
        return false;
    }
    SourceLines[size_t(row)].Text = QString(text).remove(u'"');
    return true;
}

bool Capture::RemoveLine(int row) {
    if (!IsLine(row)) {
        return false;
    }
    SourceLines.erase(SourceLines.begin() + row);
    --LastSourceLine;
    return true;
}

void Capture::KeepTimes(const std::vector<lyrics::SourceRow>& rows) {
    for (size_t i = 0; i < rows.size() && IsLine(int(i)); ++i) {
        SourceLines[i].Seconds = rows[i].Seconds;
    }
}

}  // namespace encoder
