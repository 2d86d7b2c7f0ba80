#include "encoder/TimingTable.h"

#include <algorithm>
#include <cstdlib>

namespace encoder {

namespace {

// v held between lo and hi (when there is one); where the two have crossed, lo wins.
qint64 Bounded(qint64 v, qint64 lo, std::optional<qint64> hi) {
    v = std::max(v, lo);
    return hi ? std::min(v, std::max(*hi, lo)) : v;
}

}  // namespace

QString TimingTable::FormatTime(std::optional<qint64> ms) {
    if (!ms) {
        return QStringLiteral("--:--.---");
    }
    const qint64 a = std::llabs(*ms);
    return QString::asprintf("%s%02lld:%02lld.%03lld", *ms < 0 ? "-" : "", a / 60000, a / 1000 % 60,
                             a % 1000);
}

void TimingTable::Load(std::vector<TimingRow> newRows) {
    const bool wasModified = Modified();
    beginResetModel();
    rows = std::move(newRows);
    sung = -1;
    edits.clear();
    done = savedAt = 0;
    selected = rows.empty() ? -1 : 0;
    endResetModel();
    emit SelectedChanged(selected);
    if (wasModified) {
        emit ModifiedChanged(false);
    }
}

void TimingTable::Select(int row) {
    if (row < 0 || row >= Count() || row == selected) {
        return;
    }
    selected = row;
    emit SelectedChanged(row);
}

int TimingTable::RowAt(qint64 positionMs) const {
    for (int i = 0; i < Count(); ++i) {
        const std::optional<qint64>& time = rows[size_t(i)].TimeMs;
        if (time && *time > positionMs) {
            return i;
        }
    }
    return Count() - 1;
}

bool TimingTable::SetSung(std::optional<qint64> positionMs) {
    const int row = positionMs ? RowAt(*positionMs) : -1;
    if (row == sung) {
        return false;
    }
    const int old = sung;
    sung = row;
    for (int r : {old, row}) {
        if (r >= 0) {
            emit dataChanged(index(r, 0), index(r, ColumnCount - 1), {SungRole});
        }
    }
    return true;
}

std::optional<qint64> TimingTable::TimeBefore(int row) const {
    for (int i = row - 1; i >= 0; --i) {
        if (rows[size_t(i)].TimeMs) {
            return rows[size_t(i)].TimeMs;
        }
    }
    return std::nullopt;
}

std::optional<qint64> TimingTable::TimeAfter(int row) const {
    for (int i = row + 1; i < Count(); ++i) {
        if (rows[size_t(i)].TimeMs) {
            return rows[size_t(i)].TimeMs;
        }
    }
    return std::nullopt;
}

qint64 TimingTable::PlayFromMs() const {
    const qint64 start = selected < 0 ? 0 : TimeBefore(selected).value_or(0);
    return std::max<qint64>(0, start - LeadInMs);
}

bool TimingTable::Tap(qint64 positionMs) {
    if (selected < 0) {
        return false;
    }
    const int next = std::min(selected + 1, Count() - 1);
    const qint64 lo = std::max<qint64>(0, TimeBefore(selected).value_or(0));
    if (Apply(selected, {Bounded(positionMs, lo, TimeAfter(selected))}, next)) {
        return true;
    }
    Select(next);
    return false;
}

bool TimingTable::Nudge(qint64 deltaMs) {
    if (selected < 0 || !rows[size_t(selected)].TimeMs) {
        return false;
    }
    // A line already out of order may come back, never go further.
    const qint64 now = *rows[size_t(selected)].TimeMs;
    const qint64 lo = std::min(now, std::max<qint64>(0, TimeBefore(selected).value_or(0)));
    std::optional<qint64> hi = TimeAfter(selected);
    if (hi) {
        hi = std::max(*hi, now);
    }
    return Apply(selected, {Bounded(now + deltaMs, lo, hi)}, selected);
}

bool TimingTable::ShiftFrom(qint64 deltaMs) {
    if (selected < 0) {
        return false;
    }
    // The lines from here on move together; only the line before them holds them back.
    const qint64 lo = std::max<qint64>(0, TimeBefore(selected).value_or(0));
    std::vector<std::optional<qint64>> after;
    after.reserve(size_t(Count() - selected));
    for (int i = selected; i < Count(); ++i) {
        const std::optional<qint64>& now = rows[size_t(i)].TimeMs;
        after.push_back(now ? std::optional(Bounded(*now + deltaMs, std::min(lo, *now), {}))
                            : std::nullopt);
    }
    return Apply(selected, std::move(after), selected);
}

bool TimingTable::Apply(int first, std::vector<std::optional<qint64>> after, int selectedAfter) {
    Edit edit{first, {}, std::move(after), selected, selectedAfter};
    edit.Before.reserve(edit.After.size());
    for (size_t k = 0; k < edit.After.size(); ++k) {
        edit.Before.push_back(rows[size_t(first) + k].TimeMs);
    }
    if (edit.Before == edit.After) {
        return false;
    }
    const bool wasModified = Modified();
    edits.resize(size_t(done));
    if (savedAt > done) {
        savedAt = -1;  // the saved state was undone and is now out of reach
    }
    edits.push_back(std::move(edit));
    ++done;
    Put(first, edits.back().After, selectedAfter);
    SetModifiedFrom(wasModified);
    return true;
}

bool TimingTable::Undo() {
    return Step(true);
}

bool TimingTable::Redo() {
    return Step(false);
}

bool TimingTable::Step(bool back) {
    if (back ? !CanUndo() : !CanRedo()) {
        return false;
    }
    const bool wasModified = Modified();
    const Edit& edit = edits[size_t(back ? --done : done++)];
    Put(edit.First, back ? edit.Before : edit.After,
        back ? edit.SelectedBefore : edit.SelectedAfter);
    SetModifiedFrom(wasModified);
    return true;
}

void TimingTable::MarkSaved() {
    const bool wasModified = Modified();
    savedAt = done;
    SetModifiedFrom(wasModified);
}

void TimingTable::Put(int first, const std::vector<std::optional<qint64>>& times, int select) {
    for (size_t k = 0; k < times.size(); ++k) {
        rows[size_t(first) + k].TimeMs = times[k];
    }
    emit dataChanged(index(first, TimeColumn), index(first + int(times.size()) - 1, TimeColumn),
                     {Qt::DisplayRole});
    Select(select);
}

void TimingTable::SetModifiedFrom(bool before) {
    if (Modified() != before) {
        emit ModifiedChanged(!before);
    }
}

int TimingTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

int TimingTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TimingTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count()) {
        return {};
    }
    const TimingRow& row = rows[size_t(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return index.column() == TimeColumn ? FormatTime(row.TimeMs) : row.Text;
        case Qt::TextAlignmentRole:
            return index.column() == TimeColumn ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                                : QVariant();
        case SungRole:
            return index.row() == sung;
        default:
            return {};
    }
}

QVariant TimingTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return section == TimeColumn ? QStringLiteral("Time") : QStringLiteral("Line");
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace encoder
