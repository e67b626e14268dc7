// The CSV export of a data grid: a header line of the column titles (on request), then one line
// per record of the grid's dataset with the text of each column's field, in the module's 8-bit
// code page with CR LF line ends. The file is built in memory and written once at the end,
// beside its target and renamed into place, so a failed export never leaves a partial file.
#pragma once

#include <QString>
#include <QStringList>

#include "outputs/GridColumns.h"

namespace tarno::outputs {

// headerFlag 1 writes the header line first; any other value writes data lines only.
// A null grid writes nothing. Rows are read from the dataset's current record on, as many as its
// record count; errors while reading (a column naming a field the dataset lacks) propagate before
// the file is touched. Throws OutputError naming the file when it cannot be written.
void ExportGridToCsv(int headerFlag, const DataGrid* grid, const QString& path);

// One CSV line from its items: a list of exactly one empty item gives `""`; otherwise the items
// joined by commas, each item that holds a space, a control character (1-31), a double quote or a
// comma enclosed in double quotes with its inner quotes doubled.
QString JoinCsvItems(const QStringList& items);

// A header item: empty for a title whose first six characters are exactly "BLANKX".
QString CsvHeaderItem(const QString& title);

// The text of one field as the export writes it: character fields without trailing blanks;
// numbers in general format (up to 15 significant digits, no grouping, no trailing zeros, '.');
// dates in the module's short date format; null as an empty text.
QString CsvFieldText(const db::Dataset& dataset, const GridColumn& column);

}  // namespace tarno::outputs
