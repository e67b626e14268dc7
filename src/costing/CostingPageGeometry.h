// Paper, margins and band sizes of the costing report, in millimetres from the paper's top left
// unless a comment says "from the band's top". One place for the figures that the layout, the
// painter and the devices share.
#pragma once

namespace tarno::costing::geometry {

// Letter, portrait.
inline constexpr double kPaperWidthMm = 215.9;
inline constexpr double kPaperHeightMm = 279.401;
inline constexpr double kMarginMm = 6.35;  // on each side

// Band heights.
inline constexpr double kPageHeaderMm = 27.517;
inline constexpr double kGroupHeaderMm = 8.996;
inline constexpr double kDetailMm = 4.498;       // one line; a wrapped description adds this per line
inline constexpr double kPageFooterMm = 13.229;  // empty, but it keeps its room

// Where detail bands may go: below the page header, above the page footer.
inline constexpr double kBodyTopMm = kMarginMm + kPageHeaderMm;
inline constexpr double kBodyBottomMm = kPaperHeightMm - kMarginMm - kPageFooterMm;

// Detail columns, from the band's left.
inline constexpr double kDescriptionLeftMm = 4.498;
inline constexpr double kAmountLeftMm = 135.933;   // designed box of the amount
inline constexpr double kAmountRightMm = 148.167;  // every amount ends here
inline constexpr double kColumnGapMm = 1.0;        // kept free between a description and the amount box

inline constexpr double kMmPerInch = 25.4;

}  // namespace tarno::costing::geometry
