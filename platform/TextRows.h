#pragma once
#include <QAbstractListModel>
#include <functional>

namespace platform {

// The rows of a list box as a model over a table kept elsewhere: a view asks only for the
// rows it shows, so a list of any length shows at once. The table's owner changes the table
// first and then says what changed, so that a change redraws only its row.
class TextRows : public QAbstractListModel {
    Q_OBJECT
  public:
    TextRows(std::function<int()> count, std::function<QString(int)> text,
             QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The row with the longest text, -1 with none: a view sizes every row by it.
    int WidestRow() const { return widestRow; }

    void Reload();
    void RowInserted(int row);
    void RowChanged(int row);
    void RowRemoved(int row);

  private:
    void FindWidestRow();
    qsizetype Width(int row) const { return text(row).size(); }

    std::function<int()> count;
    std::function<QString(int)> text;
    // The table has changed before a notice comes, so the rows shown are counted here.
    int rows = 0;
    int widestRow = -1;
};

}  // namespace platform
