#pragma once
// The lines being timed with their stamps, and the capture over them: Start shows the
// first line, every Next Line stamps the line on display with Winamp's position.
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <vector>

#include "lyrics/SourceRow.h"

namespace encoder {

// Shown after the last line; never written and never listed.
inline const QString EndMarker = QStringLiteral("[end of file...]");

class Capture {
  public:
    // What a Next Line press did.
    enum class Press {
        Ignored,     // no capture runs
        Stamped,     // the line on display has its time; the next one shows
        Finished,    // the same, and that was the last line: the capture must stop
        NoPosition,  // Winamp gave no position: it is gone, frozen or stopped
        WentBack,    // the position lies behind the line stamped before: the song restarted
    };

    Capture();

    // Rows 0 to LastSourceLine are the source lines in order; one more row, the end
    // marker, follows them. Stamps stay until a later capture stamps the row again.
    std::vector<lyrics::SourceRow> SourceLines;
    qint16 LastSourceLine = -1;
    // The row on display during a capture, which the next Next Line stamps.
    qint16 CaptureLine = 0;
    // How far the listener's output lags behind Winamp: a press stamps the moment heard.
    qint64 OutputDelayMs = 0;

    // New lines, every stamp gone. At most MaxSourceLines; false, changing nothing, beyond.
    bool Load(const QStringList& lines);

    // Begins a capture at row 0; false, changing nothing, when there is no line to time.
    bool Start();
    bool Running() const { return running; }
    // The texts of the row on display and of the one after it; past the last line both are
    // the end marker.
    QString CurrentText() const;
    QString NextText() const;
    // Stamps the row on display with the moment heard at positionMs, in seconds, and moves on. A
    // position that cannot be the song's stops the capture instead and stamps nothing, so a lost
    // Winamp never leaves a row of zeros: a negative one, a 0 unless playState (asked only then)
    // says Winamp plays or is paused, as a gone, frozen or stopped Winamp answers 0, and one behind
    // the stamp before it in this capture.
    Press Next(qint64 positionMs, const std::function<qint64()>& playState);
    // Ends the capture. True when it ended before the last line was on display, so the
    // user is asked whether to save what there is.
    bool Stop();

    // Corrections between captures. A line's text never holds a double quote, which the
    // lyrics file could not keep inside a text, so every quote given is dropped.
    // The row Add, Edit and Remove act on: the selected one, else the first; -1 with no lines.
    int RowToFix(int selected) const;
    bool Full() const;
    // A new row above row, which keeps the time of the row it pushes down. False, changing
    // nothing, on a full table or a row that is not a line.
    bool InsertLine(int row, const QString& text);
    // The row's text; its time stays.
    bool SetLineText(int row, const QString& text);
    bool RemoveLine(int row);
    // The times of rows, corrected elsewhere, over the lines' own as far as both reach; the
    // end marker keeps none.
    void KeepTimes(const std::vector<lyrics::SourceRow>& rows);

  private:
    QString TextAt(int row) const;
    bool IsLine(int row) const { return row >= 0 && row <= LastSourceLine; }

    bool running = false;
    // The position the last press of this capture stamped.
    std::optional<qint64> lastStampMs;
};

}  // namespace encoder
