#include "platform/ListBox.h"

#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include "platform/TextRows.h"

namespace platform {

namespace {

// With uniform row sizes the view measures one row; this one measures the widest instead.
class WidestRowDelegate : public QStyledItemDelegate {
  public:
    WidestRowDelegate(const TextRows& rows, QObject* parent)
        : QStyledItemDelegate(parent), rows(rows) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int widest = rows.WidestRow();
        return QStyledItemDelegate::sizeHint(option,
                                             widest >= 0 ? index.siblingAtRow(widest) : index);
    }

  private:
    const TextRows& rows;
};

}  // namespace

ListBox::ListBox(TextRows* rows, QWidget* parent) : QListView(parent), rows(rows) {
    rows->setParent(this);
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
    setItemDelegate(new WidestRowDelegate(*rows, this));
    setModel(rows);
}

int ListBox::count() const {
    return rows->rowCount();
}

int ListBox::currentRow() const {
    return currentIndex().row();
}

void ListBox::setCurrentRow(int row) {
    setCurrentIndex(rows->index(row));
}

void ListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    emit currentRowChanged(current.row());
}

void ListBox::rowsAboutToBeRemoved(const QModelIndex& parent, int first, int last) {
    // The view would make a neighbour current; nothing is, and no one is told.
    const QSignalBlocker quiet(this);
    setCurrentIndex({});
    QListView::rowsAboutToBeRemoved(parent, first, last);
}

}  // namespace platform
