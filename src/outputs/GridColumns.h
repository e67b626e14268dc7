// A data grid as the CSV export sees it: an ordered list of columns (title caption and field
// name) over the dataset that the grid shows. No widget: the pivot form holds one over its query.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "context/Dataset.h"

namespace tarno::outputs {

struct GridColumn {
  QString title;  // the column's title caption; a title beginning "BLANKX" exports as an empty header item
  QString fieldName;  // the dataset field whose text the column shows
  // How the field's value is turned into text. Unset: by the type of the stored value (numbers
  // as numbers, everything else as text). Set to Date for fields stored as ISO text that are dates.
  std::optional<db::FieldKind> kind;
};

struct DataGrid {
  std::vector<GridColumn> columns;
  db::Dataset* dataset = nullptr;  // the grid's data source; not owned
};

}  // namespace tarno::outputs
