// Value rules of the dataset layer: key comparison, numbers from text, trailing blanks.
#include "context/FieldValues.h"

#include <QStringView>

namespace tarno::db::detail {

bool IsNumberValue(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
      return true;
    default:
      return false;
  }
}

double NumberOf(const QVariant& value, bool* ok) {
  if (IsNumberValue(value)) {
    *ok = true;
    return value.toDouble();
  }
  if (value.typeId() == QMetaType::QString) {
    const QString& text = *static_cast<const QString*>(value.constData());
    return QStringView(text).trimmed().toDouble(ok);
  }
  if (value.isNull()) {
    *ok = false;
    return 0;
  }
  return value.toString().trimmed().toDouble(ok);
}

QString WithoutTrailingBlanks(const QString& text) {
  qsizetype end = text.size();
  while (end > 0 && text.at(end - 1) == QLatin1Char(' ')) --end;
  return end == text.size() ? text : text.left(end);
}

void TrimTextValue(QVariant& value) {
  if (value.typeId() != QMetaType::QString) return;
  const QString& text = *static_cast<const QString*>(value.constData());
  if (!text.isEmpty() && text.back() == QLatin1Char(' ')) value = WithoutTrailingBlanks(text);
}

namespace {

QStringView TextView(const QVariant& value, QString& holder) {
  if (value.typeId() == QMetaType::QString) {
    const QString& text = *static_cast<const QString*>(value.constData());
    QStringView view(text);
    while (!view.isEmpty() && view.back() == QLatin1Char(' ')) view.chop(1);
    return view;
  }
  if (value.isNull()) return QStringView();
  holder = IsNumberValue(value) && value.typeId() == QMetaType::Double
               ? QString::number(value.toDouble(), 'g', 15)
               : value.toString();
  QStringView view(holder);
  while (!view.isEmpty() && view.back() == QLatin1Char(' ')) view.chop(1);
  return view;
}

}  // namespace

namespace {

// In a numeric column: 0 == null or blank, 1 == a number (also a text that reads as one),
// 2 == any other text. Ranks first, so that the order stays total whatever the column holds.
int NumericRank(const QVariant& value, double* number) {
  if (value.isNull()) return 0;
  bool ok = false;
  *number = NumberOf(value, &ok);
  if (ok) return 1;
  return value.toString().trimmed().isEmpty() ? 0 : 2;
}

}  // namespace

int CompareValues(const QVariant& a, const QVariant& b, bool numericColumn) {
  if (numericColumn) {
    double x = 0;
    double y = 0;
    const int aRank = NumericRank(a, &x);
    const int bRank = NumericRank(b, &y);
    if (aRank != bRank) return aRank < bRank ? -1 : 1;
    if (aRank == 0) return 0;
    if (aRank == 1) return x < y ? -1 : (x > y ? 1 : 0);
  }
  QString aHolder;
  QString bHolder;
  const int result = TextView(a, aHolder).compare(TextView(b, bHolder));
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

QVariant NumberFromText(const QString& text, bool* ok) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) {
    *ok = true;
    return QVariant();
  }
  const qlonglong whole = trimmed.toLongLong(ok);
  if (*ok) return whole;
  const double number = trimmed.toDouble(ok);
  if (*ok) return number;
  return QVariant();
}

}  // namespace tarno::db::detail
