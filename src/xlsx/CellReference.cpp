// A1-style addresses: conversions between column letters and numbers, and parsing of cell and
// range texts as defined names and formulas write them.
#include "xlsx/CellReference.h"

#include <QRegularExpression>

#include "context/Errors.h"

namespace tarno::xlsx {
namespace {
constexpr int kMaxColumn = 16384;  // "XFD"
constexpr int kMaxRow = 1048576;

bool SheetNeedsQuotes(const QString& sheet) {
  static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.]*$"));
  return !plain.match(sheet).hasMatch();
}
}  // namespace

QString ColumnLetters(int oneBasedColumn) {
  if (oneBasedColumn < 1 || oneBasedColumn > kMaxColumn) {
    throw OutputError(QStringLiteral("The column number %1 is outside the columns of a worksheet (1 to %2).")
                          .arg(oneBasedColumn)
                          .arg(kMaxColumn));
  }
  QString letters;
  int n = oneBasedColumn;
  while (n > 0) {
    const int remainder = (n - 1) % 26;
    letters.prepend(QChar(u'A' + remainder));
    n = (n - 1) / 26;
  }
  return letters;
}

int ColumnNumber(const QString& letters) {
  if (letters.isEmpty() || letters.size() > 3) return 0;
  int n = 0;
  for (const QChar c : letters) {
    const QChar u = c.toUpper();
    if (u < u'A' || u > u'Z') return 0;
    n = n * 26 + (u.unicode() - u'A' + 1);
  }
  return n <= kMaxColumn ? n : 0;
}

QString CellAddress::ToString() const {
  return ColumnLetters(column) + QString::number(row);
}

QString CellAddress::ToAbsoluteString() const {
  return u'$' + ColumnLetters(column) + u'$' + QString::number(row);
}

CellAddress ParseCellAddress(const QString& text) {
  CellAddress address;
  int i = 0;
  const int size = text.size();
  if (i < size && text[i] == u'$') ++i;
  const int lettersStart = i;
  while (i < size && text[i].isLetter() && text[i].unicode() < 128) ++i;
  const int column = ColumnNumber(text.mid(lettersStart, i - lettersStart));
  if (i < size && text[i] == u'$') ++i;
  const int digitsStart = i;
  while (i < size && text[i].isDigit() && text[i].unicode() < 128) ++i;
  if (i != size || i == digitsStart || column == 0) return address;
  bool ok = false;
  const int row = text.mid(digitsStart).toInt(&ok);
  if (!ok || row < 1 || row > kMaxRow) return address;
  address.row = row;
  address.column = column;
  return address;
}

CellAddress RequireCellAddress(const QString& text) {
  const CellAddress address = ParseCellAddress(text);
  if (!address.IsValid()) {
    throw OutputError(QStringLiteral("\"%1\" is not a cell address such as \"B9\".").arg(text));
  }
  return address;
}

QString RangeAddress::ToAbsoluteString() const {
  QString text;
  if (!sheet.isEmpty()) {
    if (SheetNeedsQuotes(sheet)) {
      QString escaped = sheet;
      escaped.replace(u'\'', QStringLiteral("''"));
      text = u'\'' + escaped + QStringLiteral("'!");
    } else {
      text = sheet + u'!';
    }
  }
  return text + first.ToAbsoluteString() + u':' + last.ToAbsoluteString();
}

RangeAddress ParseRangeAddress(const QString& input) {
  RangeAddress range;
  QString text = input.trimmed();
  if (text.startsWith(u'=')) text.remove(0, 1);
  const int bang = text.lastIndexOf(u'!');
  if (bang >= 0) {
    QString sheet = text.left(bang);
    if (sheet.size() >= 2 && sheet.startsWith(u'\'') && sheet.endsWith(u'\'')) {
      sheet = sheet.mid(1, sheet.size() - 2);
      sheet.replace(QStringLiteral("''"), QStringLiteral("'"));
    }
    range.sheet = sheet;
    text = text.mid(bang + 1);
  }
  const int colon = text.indexOf(u':');
  const CellAddress first = ParseCellAddress(colon >= 0 ? text.left(colon) : text);
  const CellAddress last = colon >= 0 ? ParseCellAddress(text.mid(colon + 1)) : first;
  if (!first.IsValid() || !last.IsValid()) return RangeAddress{};
  range.first = {qMin(first.row, last.row), qMin(first.column, last.column)};
  range.last = {qMax(first.row, last.row), qMax(first.column, last.column)};
  return range;
}

}  // namespace tarno::xlsx
