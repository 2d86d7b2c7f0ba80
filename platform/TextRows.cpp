#include "platform/TextRows.h"

namespace platform {

TextRows::TextRows(std::function<int()> count, std::function<QString(int)> text, QObject* parent)
    : QAbstractListModel(parent), count(std::move(count)), text(std::move(text)) {
    Reload();
}

int TextRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows;
}

QVariant TextRows::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    return text(index.row());
}

void TextRows::Reload() {
    beginResetModel();
    rows = count();
    FindWidestRow();
    endResetModel();
}

void TextRows::RowInserted(int row) {
    beginInsertRows({}, row, row);
    ++rows;
    if (widestRow >= row) {
        ++widestRow;
    }
    if (widestRow < 0 || Width(row) > Width(widestRow)) {
        widestRow = row;
    }
    endInsertRows();
}

void TextRows::RowChanged(int row) {
    if (row == widestRow) {
        FindWidestRow();
    } else if (Width(row) > Width(widestRow)) {
        widestRow = row;
    }
    emit dataChanged(index(row), index(row), {Qt::DisplayRole});
}

void TextRows::RowRemoved(int row) {
    beginRemoveRows({}, row, row);
    --rows;
    if (row == widestRow) {
        FindWidestRow();
    } else if (widestRow > row) {
        --widestRow;
    }
    endRemoveRows();
}

void TextRows::FindWidestRow() {
    widestRow = -1;
    qsizetype widest = -1;
    for (int row = 0; row < rows; ++row) {
        const qsizetype width = Width(row);
        if (width > widest) {
            widest = width;
            widestRow = row;
        }
    }
}

}  // namespace platform
