// A font of the costing report as designed (family, points, bold) and its measures in
// millimetres, taken on a fixed 1200 dpi reference so that the layout does not depend on the
// screen or the device that will paint it.
#pragma once

#include <QFont>
#include <QString>

namespace tarno::costing {

struct CostingFont {
  QString family;
  double pointSize = 8;
  bool bold = false;

  QFont ToQFont() const;
  double TextWidthMm(const QString& text) const;
  double LineHeightMm() const;  // ascent + descent
  bool operator==(const CostingFont&) const = default;
};

// Maps the designed families that this system lacks ("Microsoft Sans Serif") to metric-compatible
// ones; called before any font of the report is resolved. Safe to call repeatedly.
void InstallCostingFontSubstitutions();

}  // namespace tarno::costing
