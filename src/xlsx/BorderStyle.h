// Line styles of cell borders, as the styles part names them.
#pragma once

namespace tarno::xlsx {

enum class BorderStyle {
  None,
  Thin,
  Medium,
  Thick,
  Double,  // a double line; the thickest double line a cell border has
  Dashed,
  Dotted,
};

}  // namespace tarno::xlsx
