// Value rules of the dataset layer: how stored values compare in keys and orders, how texts read
// as numbers, and how character values lose their trailing blanks.
//
// Key comparison, per field. In a column that holds numbers (declared numeric, or every value of
// a result a number) values compare as numbers whatever their type ("2024" == 2024), with nulls
// and blanks first and texts that are no number last. In any other column values compare as text
// with trailing blanks ignored (null reads as ""). Either way the order is total, which sorting
// and binary search rely on.
#pragma once

#include <QString>
#include <QVariant>

namespace tarno::db::detail {

// True for the integer and floating types a driver returns for numeric columns.
bool IsNumberValue(const QVariant& value);

// The value as a number: numbers as they are, texts when they read as one (blanks around allowed).
double NumberOf(const QVariant& value, bool* ok);

// A text without its trailing blanks (no copy when there are none).
QString WithoutTrailingBlanks(const QString& text);

// Drops trailing blanks of a text value in place; other values are left alone.
void TrimTextValue(QVariant& value);

// <0, 0, >0 as a sorts before, with, or after b; numericColumn says the column holds numbers.
int CompareValues(const QVariant& a, const QVariant& b, bool numericColumn);

// A number for SQL binding from a text written to a numeric column: integer when whole, else
// double; a blank text gives null. ok is false when the text is not a number.
QVariant NumberFromText(const QString& text, bool* ok);

}  // namespace tarno::db::detail
