// Writes a grid's header and rows as comma-separated text (see ExportGridToCsv.h for the rules).
#include "outputs/ExportGridToCsv.h"

#include <QSaveFile>

#include "context/DataModule.h"
#include "context/Errors.h"
#include "context/TextUtils.h"
#include "context/UserInterface.h"
#include "outputs/CodePage.h"
#include "outputs/DatasetRecordSource.h"

namespace tarno::outputs {
namespace {

// The column whose field names the record in the progress text (EMP_NO in the pivot grid).
constexpr int kProgressColumn = 6;

bool NeedsQuotes(const QString& item) {
  for (const QChar ch : item) {
    const char16_t code = ch.unicode();
    if (code == u' ' || code == u'"' || code == u',' || (code >= 1 && code <= 31)) return true;
  }
  return false;
}

// Numbers in general format: up to 15 significant digits, no exponent below that, no trailing zeros.
QString GeneralNumberText(double value) {
  if (value == 0.0) return QStringLiteral("0");  // also turns -0 into 0
  return QString::number(value, 'g', 15);
}

// Currency held exactly: its four decimals without trailing zeros.
QString CurrencyText(const Currency& value) {
  QString text = value.ToString();
  if (text.contains(u'.')) {
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
  }
  if (text == QStringLiteral("-0")) text = QStringLiteral("0");
  return text;
}

QString ShortDateFormat() {
  return DataModule1 != nullptr ? DataModule1->QtShortDateFormat() : QStringLiteral("dd/MM/yyyy");
}

}  // namespace

QString JoinCsvItems(const QStringList& items) {
  if (items.size() == 1 && items.first().isEmpty()) return QStringLiteral("\"\"");
  QString line;
  for (qsizetype i = 0; i < items.size(); ++i) {
    if (i > 0) line.append(u',');
    const QString& item = items.at(i);
    if (NeedsQuotes(item)) {
      QString quoted = item;
      quoted.replace(u'"', QStringLiteral("\"\""));
      line.append(u'"').append(quoted).append(u'"');
    } else {
      line.append(item);
    }
  }
  return line;
}

QString CsvHeaderItem(const QString& title) {
  return SubText(title, 1, 6) == QStringLiteral("BLANKX") ? QString() : title;
}

QString CsvFieldText(const db::Dataset& dataset, const GridColumn& column) {
  const QVariant value = TypedFieldValue(dataset, column.fieldName, column.kind);
  if (value.isNull()) {
    // A null text reads as "" anyway; asking the layer keeps its error for a missing field.
    return column.kind == db::FieldKind::String ? dataset.FieldAsString(column.fieldName) : QString();
  }
  if (column.kind == db::FieldKind::Currency) return CurrencyText(dataset.FieldAsCurrency(column.fieldName));
  switch (value.typeId()) {
    case QMetaType::Double:
      return GeneralNumberText(value.toDouble());
    case QMetaType::LongLong:
      return QString::number(value.toLongLong());
    case QMetaType::QDate:
      return value.toDate().toString(ShortDateFormat());
    default:
      return value.toString();
  }
}

void ExportGridToCsv(int headerFlag, const DataGrid* grid, const QString& path) {
  if (grid == nullptr) return;
  QStringList lines;
  QStringList items;
  if (headerFlag == 1) {
    for (const GridColumn& column : grid->columns) items.append(CsvHeaderItem(column.title));
    lines.append(JoinCsvItems(items));
  }
  if (grid->dataset != nullptr) {
    db::Dataset& dataset = *grid->dataset;
    const int count = dataset.RecordCount();
    for (int row = 0; row < count; ++row) {
      // The answer is not looked at: the export runs to its end once started.
      (void)StepProgress();
      // A grid of fewer than seven columns names no record in the progress text.
      const QString employee = kProgressColumn < static_cast<int>(grid->columns.size())
                                   ? dataset.FieldAsString(grid->columns.at(kProgressColumn).fieldName)
                                   : QString();
      ShowProgress(1000, QStringLiteral("Export data in progress! Employee: ") + employee);
      items.clear();
      for (const GridColumn& column : grid->columns) items.append(CsvFieldText(dataset, column));
      lines.append(JoinCsvItems(items));
      dataset.Next();
    }
  }
  CloseProgress();

  QByteArray content;
  for (const QString& line : lines) content.append(EncodeWindows1252(line)).append("\r\n");
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
    throw OutputError(
        QStringLiteral("The CSV file '%1' cannot be written: %2.").arg(path, file.errorString()));
}

}  // namespace tarno::outputs
