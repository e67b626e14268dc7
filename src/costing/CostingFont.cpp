// Fonts of the costing report and their measures on a 1200 dpi reference image.
#include "costing/CostingFont.h"

#include <QFontMetricsF>
#include <QImage>

#include "costing/CostingPageGeometry.h"

namespace tarno::costing {

namespace {

constexpr int kReferenceDpi = 1200;

const QImage& ReferenceDevice() {
  static const QImage image = [] {
    QImage img(1, 1, QImage::Format_ARGB32);
    const int dotsPerMeter = qRound(kReferenceDpi / geometry::kMmPerInch * 1000.0);
    img.setDotsPerMeterX(dotsPerMeter);
    img.setDotsPerMeterY(dotsPerMeter);
    return img;
  }();
  return image;
}

double PixelsToMm(double pixels) {
  return pixels / kReferenceDpi * geometry::kMmPerInch;
}

}  // namespace

void InstallCostingFontSubstitutions() {
  static const bool installed = [] {
    QFont::insertSubstitution(QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    return true;
  }();
  (void)installed;
}

QFont CostingFont::ToQFont() const {
  InstallCostingFontSubstitutions();
  QFont font(family);
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

double CostingFont::TextWidthMm(const QString& text) const {
  const QFontMetricsF metrics(ToQFont(), &ReferenceDevice());
  return PixelsToMm(metrics.horizontalAdvance(text));
}

double CostingFont::LineHeightMm() const {
  const QFontMetricsF metrics(ToQFont(), &ReferenceDevice());
  return PixelsToMm(metrics.height());
}

}  // namespace tarno::costing
