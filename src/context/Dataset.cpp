// Navigation, field access and the edit cycle common to tables and queries, over the rows that
// Table::DoOpen and Query::DoOpen fetch into memory (see DatasetPrivate.h for the layout).
#include "context/Dataset.h"

#include <QSqlQuery>
#include <algorithm>
#include <cmath>

#include "context/DatasetPrivate.h"
#include "context/Errors.h"
#include "context/FieldValues.h"
#include "context/StoredRowWriter.h"

namespace tarno::db {

using detail::CompareValues;

// --- Private ------------------------------------------------------------------------------------

void Dataset::Private::ResetData() {
  open = false;
  state = DatasetState::Inactive;
  fields.clear();
  dataCount = 0;
  fieldIndex.clear();
  std::vector<QVariant>().swap(cells);
  std::vector<qint64>().swap(rowIds);
  std::vector<int>().swap(order);
  keyColumns.clear();
  hasRange = false;
  rangeStart.clear();
  rangeEnd.clear();
  lo = hi = pos = 0;
  buffer.clear();
  changed.clear();
  editRow = -1;
  calcValues.clear();
  calcRow = -2;
  inCalc = false;
  lockedMessage.clear();
  sharedTexts.clear();
  onClose = nullptr;
  fetchRows = nullptr;
}

std::vector<char> Dataset::Private::FetchRows(QSqlQuery& query, int first) {
  const int count = dataCount;
  std::vector<char> seen(count, 0);
  std::vector<QVariant> values;
  while (query.next()) {
    values.clear();
    values.reserve(count);
    for (int i = 0; i < count; ++i) {
      QVariant value = query.value(i + first);
      if (seen[i] != 2 && !value.isNull()) seen[i] = detail::IsNumberValue(value) ? 1 : 2;
      values.push_back(std::move(value));
    }
    AddRow(values, first ? query.value(0).toLongLong() : -1);
  }
  return seen;
}

void Dataset::Private::EnsureFetched() {
  if (!fetchRows) return;
  const std::function<void()> fetch = std::move(fetchRows);
  fetchRows = nullptr;
  fetch();
  sharedTexts.clear();
  Sort();
  ApplyRange();
  pos = lo;
}

void Dataset::Private::SetDataFields(std::vector<FieldInfo> dataFields) {
  fields = std::move(dataFields);
  dataCount = static_cast<int>(fields.size());
  fieldIndex.clear();
  for (int i = 0; i < dataCount; ++i) {
    fieldIndex.insert(fields[i].name, i);
    fieldIndex.insert(fields[i].name.toUpper(), i);
  }
}

void Dataset::Private::AddRow(std::vector<QVariant>& values, qint64 rowId) {
  // Codes repeat across rows: sharing equal texts saves most of their memory. A field with too
  // many distinct texts (names, descriptions) stops being shared, to keep the cost bounded.
  constexpr qsizetype kMaxSharedTexts = 4096;
  if (!open && sharedTexts.size() != values.size()) sharedTexts.assign(values.size(), {});
  for (size_t i = 0; i < values.size(); ++i) {
    QVariant& value = values[i];
    detail::TrimTextValue(value);
    if (open || value.typeId() != QMetaType::QString) continue;
    QHash<QString, QString>& shared = sharedTexts[i];
    if (shared.size() >= kMaxSharedTexts) continue;
    const QString& text = *static_cast<const QString*>(value.constData());
    const auto found = shared.constFind(text);
    if (found != shared.constEnd())
      value = found.value();
    else
      shared.insert(text, text);
  }
  cells.insert(cells.end(), std::make_move_iterator(values.begin()), std::make_move_iterator(values.end()));
  rowIds.push_back(rowId);
}

int Dataset::Private::FieldIndex(const QString& name) const {
  auto found = fieldIndex.constFind(name);
  if (found != fieldIndex.constEnd()) return found.value();
  found = fieldIndex.constFind(name.trimmed().toUpper());
  return found != fieldIndex.constEnd() ? found.value() : -1;
}

int Dataset::Private::CurrentRow() const {
  if (state == DatasetState::Insert) return -1;
  if (state == DatasetState::Edit) return editRow;
  if (pos < hi) return order[pos];
  if (hi > lo) return order[hi - 1];
  return -1;
}

void Dataset::Private::ResolveKeyColumns(const QString& owner) {
  keyColumns.clear();
  const QStringList names = indexFieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (const QString& raw : names) {
    const QString name = raw.trimmed();
    if (name.isEmpty()) continue;
    const int index = FieldIndex(name);
    if (index < 0 || index >= dataCount)
      throw DatabaseError(QStringLiteral("%1 has no field %2, which its index fields \"%3\" name.")
                              .arg(owner, name, indexFieldNames));
    keyColumns.push_back(index);
  }
}

void Dataset::Private::Sort() {
  const int rows = RowCount();
  order.resize(rows);
  for (int i = 0; i < rows; ++i) order[i] = i;
  if (keyColumns.empty()) return;
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    for (int column : keyColumns) {
      const int result = CompareValues(Cell(a, column), Cell(b, column), fields[column].numeric);
      if (result != 0) return result < 0;
    }
    return false;
  });
}

int Dataset::Private::CompareRowToKey(int row, const QVariantList& key) const {
  const size_t count = std::min(static_cast<size_t>(key.size()), keyColumns.size());
  for (size_t i = 0; i < count; ++i) {
    const int column = keyColumns[i];
    const int result =
        CompareValues(Cell(row, column), key[static_cast<qsizetype>(i)], fields[column].numeric);
    if (result != 0) return result;
  }
  return 0;
}

int Dataset::Private::LowerBound(const QVariantList& key) const {
  const auto found = std::partition_point(order.begin(), order.end(),
                                          [&](int row) { return CompareRowToKey(row, key) < 0; });
  return static_cast<int>(found - order.begin());
}

int Dataset::Private::UpperBound(const QVariantList& key) const {
  const auto found = std::partition_point(order.begin(), order.end(),
                                          [&](int row) { return CompareRowToKey(row, key) <= 0; });
  return static_cast<int>(found - order.begin());
}

void Dataset::Private::ApplyRange() {
  if (!hasRange) {
    lo = 0;
    hi = static_cast<int>(order.size());
    return;
  }
  lo = LowerBound(rangeStart);
  hi = std::max(lo, UpperBound(rangeEnd));
}

int Dataset::Private::PositionOfRow(int row) const {
  if (pos < static_cast<int>(order.size()) && order[pos] == row) return pos;
  const auto found = std::find(order.begin(), order.end(), row);
  return found == order.end() ? -1 : static_cast<int>(found - order.begin());
}

int Dataset::Private::InsertPosition(int row) const {
  const auto found = std::partition_point(order.begin(), order.end(), [&](int other) {
    for (int column : keyColumns) {
      const int result = CompareValues(Cell(other, column), Cell(row, column), fields[column].numeric);
      if (result != 0) return result < 0;
    }
    return true;
  });
  return static_cast<int>(found - order.begin());
}

void Dataset::Private::StoreEdit() {
  const int row = editRow;
  bool keyChanged = false;
  for (int column = 0; column < dataCount; ++column) {
    if (!changed[column]) continue;
    QVariant value = buffer[column];
    detail::TrimTextValue(value);
    cells[static_cast<size_t>(row) * dataCount + column] = std::move(value);
    if (std::find(keyColumns.begin(), keyColumns.end(), column) != keyColumns.end()) keyChanged = true;
  }
  state = DatasetState::Browse;
  editRow = -1;
  buffer.clear();
  calcRow = -2;
  if (!keyChanged) return;
  const int oldPosition = PositionOfRow(row);
  if (oldPosition >= 0) order.erase(order.begin() + oldPosition);
  const int newPosition = InsertPosition(row);
  order.insert(order.begin() + newPosition, row);
  ApplyRange();
  pos = (newPosition >= lo && newPosition < hi) ? newPosition : hi;
}

void Dataset::Private::PostThrough(StoredRowWriter& writer) {
  if (state == DatasetState::Edit) {
    writer.Update(rowIds[editRow], buffer, changed);
    StoreEdit();
    return;
  }
  const qint64 rowId = writer.Insert(buffer, changed);
  StoreInsert(writer.Read(rowId), rowId);
}

void Dataset::Private::StoreInsert(std::vector<QVariant> values, qint64 rowId) {
  const int row = RowCount();
  AddRow(values, rowId);
  int position = static_cast<int>(order.size());
  if (keyColumns.empty())
    order.push_back(row);
  else {
    position = InsertPosition(row);
    order.insert(order.begin() + position, row);
  }
  ApplyRange();
  pos = (position >= lo && position < hi) ? position : hi;
  state = DatasetState::Browse;
  buffer.clear();
  calcRow = -2;
}

// --- Dataset ------------------------------------------------------------------------------------

namespace {

QString Capitalised(QString text) {
  if (!text.isEmpty()) text[0] = text[0].toUpper();
  return text;
}

}  // namespace

Dataset::Dataset(Connection& connection) : d(std::make_unique<Private>(connection)) {}

// The subclasses close themselves first: their close hooks must not run after they are gone.
Dataset::~Dataset() = default;

Connection& Dataset::connection() const {
  return d->connection;
}

void Dataset::Open() {
  if (d->open) return;
  d->ResetData();
  try {
    DoOpen();
    for (const FieldInfo& declared : d->calculatedDeclared) {
      const int index = static_cast<int>(d->fields.size());
      d->fields.push_back(declared);
      d->fieldIndex.insert(declared.name, index);
      d->fieldIndex.insert(declared.name.toUpper(), index);
    }
    for (FieldInfo& field : d->fields) {
      const auto width = d->declaredWidths.constFind(field.name.toUpper());
      if (width != d->declaredWidths.constEnd()) field.width = width.value();
    }
    d->ResolveKeyColumns(Capitalised(DisplayName()));
    if (!d->fetchRows) {
      d->sharedTexts.clear();
      d->Sort();
    }
  } catch (...) {
    if (d->onClose) d->onClose();
    d->ResetData();
    throw;
  }
  d->ApplyRange();
  d->pos = d->lo;
  d->open = true;
  d->state = DatasetState::Browse;
  if (AfterOpen) AfterOpen(*this);
}

void Dataset::Close() {
  if (!d->open) return;
  if (d->onClose) d->onClose();
  d->ResetData();
}

bool Dataset::IsOpen() const {
  return d->open;
}

namespace {

// Navigation posts a pending edit first, as the component layer always did.
void PostPending(Dataset& dataset) {
  if (dataset.InEditState()) dataset.Post();
}

}  // namespace

void Dataset::First() {
  if (!d->open) return;
  d->EnsureFetched();
  PostPending(*this);
  d->pos = d->lo;
}

void Dataset::Next() {
  if (!d->open) return;
  d->EnsureFetched();
  PostPending(*this);
  if (d->pos < d->hi) ++d->pos;
}

bool Dataset::Eof() const {
  if (d->open) d->EnsureFetched();
  return !d->open || d->pos >= d->hi;
}

int Dataset::RecordCount() const {
  if (d->open) d->EnsureFetched();
  return d->open ? d->hi - d->lo : 0;
}

void Dataset::SetIndexFieldNames(const QString& names) {
  if (!d->open) {
    d->indexFieldNames = names;
    return;
  }
  d->EnsureFetched();
  PostPending(*this);
  const int currentRow = d->CurrentRow();
  const QString previous = d->indexFieldNames;
  d->indexFieldNames = names;
  try {
    d->ResolveKeyColumns(Capitalised(DisplayName()));
  } catch (...) {
    d->indexFieldNames = previous;
    d->ResolveKeyColumns(Capitalised(DisplayName()));
    throw;
  }
  d->Sort();
  d->hasRange = false;
  d->ApplyRange();
  const int position = currentRow >= 0 && d->pos < d->hi ? d->PositionOfRow(currentRow) : -1;
  d->pos = position >= 0 ? position : d->lo;
}

QString Dataset::IndexFieldNames() const {
  return d->indexFieldNames;
}

QStringList Dataset::FieldNames() const {
  QStringList names;
  for (const FieldInfo& field : d->fields) names << field.name;
  return names;
}

bool Dataset::HasField(const QString& name) const {
  return d->FieldIndex(name) >= 0;
}

int Dataset::Private::RequireField(const Dataset& dataset, const QString& name, const char* action) const {
  const Private& p = *this;
  if (!p.open)
    throw DatabaseError(QStringLiteral("%1 is not open: field %2 cannot be %3.")
                            .arg(Capitalised(dataset.DisplayName()), name, QString::fromLatin1(action)));
  if (!p.lockedMessage.isEmpty()) throw DatabaseError(p.lockedMessage);
  // Reading a field is a use of the rows: a table's deferred fetch happens here at the latest.
  const_cast<Private*>(this)->EnsureFetched();
  const int index = p.FieldIndex(name);
  if (index < 0)
    throw DatabaseError(QStringLiteral("%1 has no field %2.").arg(Capitalised(dataset.DisplayName()), name));
  return index;
}

void Dataset::Private::EnsureCalculated(Dataset& dataset) {
  Private& p = *this;
  if (p.inCalc) return;
  const int row = p.CurrentRow();
  const size_t count = p.fields.size() - static_cast<size_t>(p.dataCount);
  if (p.calcRow == row && p.calcValues.size() == count) return;
  p.calcValues.assign(count, QVariant());
  p.calcRow = row;
  if (!dataset.OnCalcFields || row < 0) return;
  p.inCalc = true;
  try {
    dataset.OnCalcFields(dataset);
  } catch (...) {
    p.inCalc = false;
    p.calcRow = -2;
    throw;
  }
  p.inCalc = false;
}

QVariant Dataset::FieldValue(const QString& name) const {
  const int index = d->RequireField(*this, name, "read");
  const FieldInfo& field = d->fields[index];
  QVariant value;
  if (field.calculated) {
    d->EnsureCalculated(const_cast<Dataset&>(*this));
    value = d->calcValues[index - d->dataCount];
  } else if (d->state == DatasetState::Edit || d->state == DatasetState::Insert) {
    value = d->buffer[index];
  } else {
    const int row = d->CurrentRow();
    if (row >= 0) value = d->Cell(row, index);
  }
  if (field.width > 0 && value.typeId() == QMetaType::QString) {
    const QString& text = *static_cast<const QString*>(value.constData());
    if (text.size() > field.width) value = text.left(field.width);
  }
  return value;
}

bool Dataset::FieldIsNull(const QString& name) const {
  return FieldValue(name).isNull();
}

QString Dataset::FieldAsString(const QString& name) const {
  const QVariant value = FieldValue(name);
  switch (value.typeId()) {
    case QMetaType::UnknownType:
      return QString();
    case QMetaType::QString:
      return detail::WithoutTrailingBlanks(*static_cast<const QString*>(value.constData()));
    case QMetaType::Double:
    case QMetaType::Float:
      return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QDate:
      return value.toDate().toString(Qt::ISODate);
    default:
      return value.isNull() ? QString() : detail::WithoutTrailingBlanks(value.toString());
  }
}

namespace {

[[noreturn]] void ThrowNotNumber(const Dataset& dataset, const QString& name, const QVariant& value) {
  throw DatabaseError(QStringLiteral("Field %1 of %2 holds '%3', which is not a number.")
                          .arg(name, dataset.DisplayName(), value.toString()));
}

bool IsBlankText(const QVariant& value) {
  return value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty();
}

}  // namespace

double Dataset::FieldAsFloat(const QString& name) const {
  const QVariant value = FieldValue(name);
  if (value.isNull() || IsBlankText(value)) return 0;
  bool ok = false;
  const double number = detail::NumberOf(value, &ok);
  if (!ok) ThrowNotNumber(*this, name, value);
  return number;
}

Currency Dataset::FieldAsCurrency(const QString& name) const {
  const QVariant value = FieldValue(name);
  if (value.isNull() || IsBlankText(value)) return Currency();
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
      return Currency::FromUnits(value.toLongLong() * Currency::kScale);
    case QMetaType::QString:
      try {
        return Currency::FromString(value.toString().trimmed());
      } catch (const Error&) {
        // Not plain decimal text ("1e3", more than four decimals): read it as a number below.
      }
      break;
    default:
      break;
  }
  bool ok = false;
  const double number = detail::NumberOf(value, &ok);
  if (!ok) ThrowNotNumber(*this, name, value);
  return Currency::FromDouble(number);
}

int Dataset::FieldAsInteger(const QString& name) const {
  const QVariant value = FieldValue(name);
  if (value.isNull() || IsBlankText(value)) return 0;
  if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
    return static_cast<int>(value.toLongLong());
  bool ok = false;
  if (value.typeId() == QMetaType::QString) {
    const int whole = value.toString().trimmed().toInt(&ok);
    if (ok) return whole;
  }
  const double number = detail::NumberOf(value, &ok);
  if (!ok) ThrowNotNumber(*this, name, value);
  return static_cast<int>(std::llround(number));
}

QDate Dataset::FieldAsDate(const QString& name) const {
  const QVariant value = FieldValue(name);
  if (value.isNull()) return QDate();
  if (value.typeId() == QMetaType::QDate) return value.toDate();
  if (value.typeId() == QMetaType::QDateTime) return value.toDateTime().date();
  const QString text = value.toString().trimmed();
  if (text.isEmpty()) return QDate();
  const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
  if (!date.isValid())
    throw DatabaseError(QStringLiteral("Field %1 of %2 holds '%3', which is not a date (YYYY-MM-DD).")
                            .arg(name, DisplayName(), text));
  return date;
}

void Dataset::SetFieldString(const QString& name, const QString& value) {
  SetFieldValue(name, QVariant(value));
}

void Dataset::SetFieldFloat(const QString& name, double value) {
  SetFieldValue(name, QVariant(value));
}

void Dataset::SetFieldValue(const QString& name, const QVariant& value) {
  const int index = d->RequireField(*this, name, "written");
  const FieldInfo& field = d->fields[index];
  if (field.calculated) {
    d->EnsureCalculated(*this);
    d->calcValues[index - d->dataCount] = value;
    return;
  }
  if (d->state != DatasetState::Edit && d->state != DatasetState::Insert)
    throw DatabaseError(
        QStringLiteral("%1 is not being edited: field %2 cannot be written before Edit or Append.")
            .arg(Capitalised(DisplayName()), name));
  QVariant stored = value;
  if (value.typeId() == QMetaType::QDate)
    stored = value.toDate().isValid() ? QVariant(value.toDate().toString(Qt::ISODate)) : QVariant();
  else if (value.typeId() == QMetaType::QDateTime)
    stored = value.toDateTime().date().toString(Qt::ISODate);
  else if (field.numeric && value.typeId() == QMetaType::QString) {
    bool ok = false;
    stored = detail::NumberFromText(value.toString(), &ok);
    if (!ok)
      throw DatabaseError(QStringLiteral("Field %1 of %2 cannot hold '%3': it is not a number.")
                              .arg(name, DisplayName(), value.toString()));
  }
  d->buffer[index] = std::move(stored);
  d->changed[index] = 1;
}

void Dataset::Edit() {
  if (!d->open)
    throw DatabaseError(
        QStringLiteral("%1 is not open: it cannot be edited.").arg(Capitalised(DisplayName())));
  if (!d->lockedMessage.isEmpty()) throw DatabaseError(d->lockedMessage);
  if (InEditState()) return;
  d->EnsureFetched();
  const int row = d->CurrentRow();
  if (row < 0)
    throw DatabaseError(QStringLiteral("%1 has no current record to edit.").arg(Capitalised(DisplayName())));
  d->buffer.assign(d->cells.begin() + static_cast<qsizetype>(row) * d->dataCount,
                   d->cells.begin() + static_cast<qsizetype>(row + 1) * d->dataCount);
  d->changed.assign(d->dataCount, 0);
  d->editRow = row;
  d->state = DatasetState::Edit;
}

void Dataset::Append() {
  if (!d->open)
    throw DatabaseError(
        QStringLiteral("%1 is not open: no record can be appended.").arg(Capitalised(DisplayName())));
  if (!d->lockedMessage.isEmpty()) throw DatabaseError(d->lockedMessage);
  d->EnsureFetched();
  PostPending(*this);
  d->buffer.assign(d->dataCount, QVariant());
  d->changed.assign(d->dataCount, 0);
  d->editRow = -1;
  d->state = DatasetState::Insert;
  d->calcRow = -2;
}

void Dataset::Post() {
  if (!InEditState())
    throw DatabaseError(
        QStringLiteral("%1 is not being edited: there is nothing to post.").arg(Capitalised(DisplayName())));
  DoPost();
}

void Dataset::Cancel() {
  if (!InEditState()) return;
  d->state = DatasetState::Browse;
  d->buffer.clear();
  d->changed.clear();
  d->editRow = -1;
  d->calcRow = -2;
}

DatasetState Dataset::State() const {
  return d->state;
}

bool Dataset::InEditState() const {
  return d->state == DatasetState::Edit || d->state == DatasetState::Insert;
}

void Dataset::AddCalculatedField(const QString& name, FieldKind kind, int width) {
  FieldInfo field;
  field.name = name;
  field.kind = kind;
  field.calculated = true;
  field.width = width;
  auto same =
      std::find_if(d->calculatedDeclared.begin(), d->calculatedDeclared.end(),
                   [&](const FieldInfo& f) { return f.name.compare(name, Qt::CaseInsensitive) == 0; });
  if (same != d->calculatedDeclared.end())
    *same = field;
  else
    d->calculatedDeclared.push_back(field);
  if (d->open && d->FieldIndex(name) < 0) {
    const int index = static_cast<int>(d->fields.size());
    d->fields.push_back(field);
    d->fieldIndex.insert(name, index);
    d->fieldIndex.insert(name.toUpper(), index);
    d->calcRow = -2;
  }
}

void Dataset::SetFieldWidth(const QString& name, int width) {
  d->declaredWidths.insert(name.trimmed().toUpper(), width);
  for (FieldInfo& field : d->calculatedDeclared)
    if (field.name.compare(name, Qt::CaseInsensitive) == 0) field.width = width;
  if (d->open) {
    const int index = d->FieldIndex(name);
    if (index >= 0) d->fields[index].width = width;
  }
}

void Dataset::Private::RequireKeyed(const QString& table, const char* operation) const {
  if (!open)
    throw DatabaseError(QStringLiteral("Table %1 is not open: %2 needs an open table.")
                            .arg(table, QString::fromLatin1(operation)));
  if (!lockedMessage.isEmpty()) throw DatabaseError(lockedMessage);
  if (keyColumns.empty())
    throw DatabaseError(QStringLiteral("Table %1 has no index fields: %2 needs IndexFieldNames.")
                            .arg(table, QString::fromLatin1(operation)));
}

}  // namespace tarno::db
