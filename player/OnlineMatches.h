#pragma once
// The database's matches for the Search Online dialog: one row a record, with its artist,
// title, album, length and what lyrics it has.
#include <QAbstractTableModel>
#include <QList>

#include "online/Record.h"

namespace player {

class OnlineMatches : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Artist, Title, Album, Length, Lyrics, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // The records in the order OrderMatches gives for a song songS seconds long.
    void SetMatches(const QList<online::LyricsRecord>& records, double songS);
    const QList<online::LyricsRecord>& Matches() const { return matches; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    QList<online::LyricsRecord> matches;
};

}  // namespace player
