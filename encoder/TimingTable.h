#pragma once
// The lines of a timed song being corrected: each line's time (when the display leaves it, in
// ms), the selected line, and the edits with their undo. Every edit keeps the times in order:
// a line never passes the timed lines on either side of it, and no time goes below 0.
// As a table model it gives a view two columns, the time as mm:ss.mmm and the text, and tells
// it of exactly the rows an edit touched.
#include <QAbstractTableModel>
#include <QString>
#include <optional>
#include <vector>

namespace encoder {

struct TimingRow {
    std::optional<qint64> TimeMs;  // empty: never timed
    QString Text;
};

class TimingTable : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { TimeColumn, TextColumn, ColumnCount };
    // True for the row being sung.
    static constexpr int SungRole = Qt::UserRole;

    // "mm:ss.mmm", minutes as many as needed; "--:--.---" for a line never timed.
    static QString FormatTime(std::optional<qint64> ms);

    // New rows: nothing to undo, nothing modified, nothing sung, the first row selected.
    void Load(std::vector<TimingRow> rows);
    const std::vector<TimingRow>& Rows() const { return rows; }
    int Count() const { return int(rows.size()); }

    int Selected() const { return selected; }  // -1 with no rows
    void Select(int row);                      // a row that is not there is ignored

    // The row sung at positionMs: the first timed row whose time is later, else the last
    // row. Untimed rows are passed at once, as the player passes them.
    int RowAt(qint64 positionMs) const;
    int Sung() const { return sung; }
    // The row sung at positionMs, or none (-1) when nothing plays; true when it changed.
    bool SetSung(std::optional<qint64> positionMs);

    // Where "play from here" starts: LeadInMs before the selected line begins (the time of
    // the timed row before it), so the user hears it whole and taps where it ends.
    static constexpr qint64 LeadInMs = 3000;
    qint64 PlayFromMs() const;

    // The edits. Each answers whether a time changed; one that changes none leaves nothing
    // to undo.
    // The selected line takes positionMs, and the selection moves on to the next line.
    bool Tap(qint64 positionMs);
    // The selected line, when timed, by deltaMs.
    bool Nudge(qint64 deltaMs);
    // Every timed line from the selected one on by deltaMs.
    bool ShiftFrom(qint64 deltaMs);

    bool CanUndo() const { return done > 0; }
    bool CanRedo() const { return done < int(edits.size()); }
    bool Undo();
    bool Redo();

    // Changed since loaded or last saved.
    bool Modified() const { return done != savedAt; }
    void MarkSaved();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  signals:
    void SelectedChanged(int row);
    void ModifiedChanged(bool modified);

  private:
    // One edit: the times of rows First on before and after it, and the selection.
    struct Edit {
        int First = 0;
        std::vector<std::optional<qint64>> Before;
        std::vector<std::optional<qint64>> After;
        int SelectedBefore = -1;
        int SelectedAfter = -1;
    };

    // The nearest timed rows' times on either side of row.
    std::optional<qint64> TimeBefore(int row) const;
    std::optional<qint64> TimeAfter(int row) const;
    // Records and applies an edit of rows first on, whose new times are after; false, with
    // nothing recorded, when no time changes.
    bool Apply(int first, std::vector<std::optional<qint64>> after, int selectedAfter);
    // Undoes (back) or redoes one edit.
    bool Step(bool back);
    void Put(int first, const std::vector<std::optional<qint64>>& times, int select);
    void SetModifiedFrom(bool before);

    std::vector<TimingRow> rows;
    int selected = -1;
    int sung = -1;
    std::vector<Edit> edits;
    int done = 0;     // edits applied; those beyond are there to redo
    int savedAt = 0;  // done at the last save; -1 once that state cannot come back
};

}  // namespace encoder
