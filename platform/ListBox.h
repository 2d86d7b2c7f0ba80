#pragma once
#include <QListView>

namespace platform {

class TextRows;

// A list box over TextRows, with the row calls of a Windows list box. Rows are all as high as
// the first and as wide as the widest, so a list of any length is laid out at once and
// scrolls sideways to its longest line. A removed row leaves no row current.
class ListBox : public QListView {
    Q_OBJECT
  public:
    // The list box takes rows over.
    ListBox(TextRows* rows, QWidget* parent);

    TextRows& Rows() const { return *rows; }
    int count() const;
    int currentRow() const;
    void setCurrentRow(int row);

  signals:
    void currentRowChanged(int row);

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int first, int last) override;

  private:
    TextRows* rows;
};

}  // namespace platform
