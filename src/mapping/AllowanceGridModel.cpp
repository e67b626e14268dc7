// Rows of AdsQueryAW for the grid, and the edit / post cycle of PAYCODE2.
#include "mapping/AllowanceGridModel.h"

#include "context/Connection.h"
#include "context/Errors.h"
#include "context/TableLock.h"
#include "context/UserInterface.h"
#include "mapping/PayCode2Choices.h"

namespace tarno::mapping {

namespace {

const QString kPayCode2Field = QStringLiteral("PAYCODE2");
const QString kAllowanceTable = QStringLiteral("ALLOWNCE");

struct ColumnInfo {
  const char* field;
  const char* title;
  int widthInCharacters;
};
constexpr ColumnInfo kColumns[] = {
    {"ALLOW_CODE", "ALLOW_CODE", 12}, {"DESC", "DESCRIPTION", 35}, {"PAYCODE2", "PAYCODE2", 15}};

}  // namespace

AllowanceGridModel::AllowanceGridModel(db::Query& query, QObject* parent)
    : QAbstractTableModel(parent), m_query(query) {}

void AllowanceGridModel::Reload() {
  beginResetModel();
  m_rows.clear();
  m_pendingRow = -1;
  if (m_query.IsOpen()) {
    for (m_query.First(); !m_query.Eof(); m_query.Next()) {
      m_rows.push_back({m_query.FieldAsString(QStringLiteral("ALLOW_CODE")),
                        m_query.FieldAsString(QStringLiteral("DESC")),
                        m_query.FieldAsString(kPayCode2Field)});
    }
    m_query.First();
  }
  endResetModel();
}

int AllowanceGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int AllowanceGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(std::size(kColumns));
}

int AllowanceGridModel::WidthInCharacters(int column) {
  return kColumns[column].widthInCharacters;
}

QVariant AllowanceGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const Row& row = m_rows[static_cast<std::size_t>(index.row())];
  if (role == Qt::DisplayRole) {
    switch (index.column()) {
      case kAllowCode:
        return row.allowCode;
      case kDescription:
        return row.description;
      case kPayCode2:
        return DisplayedPayCode2(row.payCode2);
    }
  }
  if (role == Qt::EditRole && index.column() == kPayCode2) return row.payCode2;
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

QVariant AllowanceGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  if (role == Qt::DisplayRole) return QString::fromLatin1(kColumns[section].title);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags AllowanceGridModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() == kPayCode2) flags |= Qt::ItemIsEditable;
  return flags;
}

bool AllowanceGridModel::HasPendingEdit() const {
  return m_pendingRow >= 0 && m_query.IsOpen() && m_query.State() == db::DatasetState::Edit;
}

void AllowanceGridModel::MoveQueryTo(int row) {
  m_query.First();
  for (int i = 0; i < row && !m_query.Eof(); ++i) m_query.Next();
}

bool AllowanceGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.column() != kPayCode2 || index.row() >= rowCount())
    return false;
  const QString stored = value.toString();
  Row& row = m_rows[static_cast<std::size_t>(index.row())];
  try {
    if (HasPendingEdit() && m_pendingRow != index.row()) PostPendingEdit();
    if (!HasPendingEdit()) {
      if (stored == row.payCode2) return true;  // nothing changes, nothing to post
      MoveQueryTo(index.row());
      m_query.Edit();
      m_pendingRow = index.row();
    }
    m_query.SetFieldString(kPayCode2Field, stored);
  } catch (const Error& e) {
    CurrentUserInterface().ShowError(e.Text());
    return false;
  }
  row.payCode2 = stored;
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

void AllowanceGridModel::PostPendingEdit() {
  if (!HasPendingEdit()) return;
  // A live statement writes behind the table's back: it respects the table locks as an open table
  // does, so a table that another connection holds for exclusive use refuses the write.
  db::TableLock lock;
  const QString lockDirectory = m_query.connection().LockDirectory();
  if (!lockDirectory.isEmpty()) lock.Acquire(lockDirectory, kAllowanceTable, false);
  m_query.Post();
  m_pendingRow = -1;
}

}  // namespace tarno::mapping
