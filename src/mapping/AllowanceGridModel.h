// The grid's view of the live query AdsQueryAW: columns ALLOW_CODE, DESC and PAYCODE2, of which
// only PAYCODE2 can be changed. The rows are read once when the query opens (a year has a few
// dozen codes); a change puts the query's record in the edit state, and the row is written to
// ALLOWNCE only by PostPendingEdit: when the grid leaves the row, or when the form closes.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "context/Query.h"

namespace tarno::mapping {

class AllowanceGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { kAllowCode = 0, kDescription = 1, kPayCode2 = 2 };

  AllowanceGridModel(db::Query& query, QObject* parent = nullptr);

  // Re-reads every row of the open query (none when it is closed).
  void Reload();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // PAYCODE2 only, with the value to store (Qt::EditRole). A change on another row than the
  // pending one posts that one first; an error of that post is shown and the change refused.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  // The column widths in characters: 12, 35 and 15.
  static int WidthInCharacters(int column);

  bool HasPendingEdit() const;
  int PendingRow() const { return HasPendingEdit() ? m_pendingRow : -1; }
  // Writes the pending row to ALLOWNCE. Errors of the layer (the table locked by another
  // connection, a refused write) propagate; the edit then stays pending.
  void PostPendingEdit();

 private:
  struct Row {
    QString allowCode;
    QString description;
    QString payCode2;  // as stored
  };
  void MoveQueryTo(int row);

  db::Query& m_query;
  std::vector<Row> m_rows;
  int m_pendingRow = -1;
};

}  // namespace tarno::mapping
