// Page breaking and band positions of the costing report.
#include "costing/CostingLayout.h"

#include <QStringList>

#include "costing/CostingAmountFormat.h"
#include "costing/CostingPageGeometry.h"

namespace tarno::costing {

namespace g = geometry;

namespace {

const CostingFont kCompanyFont{QStringLiteral("Arial"), 12, true};
const CostingFont kTitleFont{QStringLiteral("Arial"), 9, true};
const CostingFont kHeaderFont{QStringLiteral("Arial"), 9, false};
const CostingFont kHeadingFont{QStringLiteral("Arial"), 10, false};
const CostingFont kGroupFont{QStringLiteral("Microsoft Sans Serif"), 9, false};
const CostingFont kDetailFont{QStringLiteral("Arial"), 8, false};

// Texts of the header's right column get the room up to the right margin.
constexpr double kRightColumnLeftMm = 135.996;
constexpr double kBandWidthMm = g::kPaperWidthMm - 2 * g::kMarginMm;

PlacedText HeaderText(TextRole role, const QString& text, const CostingFont& font, double leftMm,
                      double topMm) {
  return {role,
          text,
          font,
          g::kMarginMm + leftMm,
          g::kMarginMm + topMm,
          kBandWidthMm - leftMm,
          font.LineHeightMm(),
          false};
}

CostingPage NewPage(const CostingReportData& data) {
  CostingPage page;
  page.texts.push_back(HeaderText(TextRole::CompanyTitle, data.companyTitle, kCompanyFont, 4.498, 4.233));
  page.texts.push_back(HeaderText(TextRole::Title, data.TitleText(), kTitleFont, 4.498, 10.848));
  // Filled by the second pass, when the page count is known.
  page.texts.push_back(HeaderText(TextRole::PageNumber, QString(), kHeaderFont, kRightColumnLeftMm, 3.175));
  page.texts.push_back(
      HeaderText(TextRole::Printed, data.PrintedText(), kHeaderFont, kRightColumnLeftMm, 9.525));
  page.texts.push_back(HeaderText(TextRole::User, data.UserText(), kHeaderFont, kRightColumnLeftMm, 15.346));
  page.texts.push_back(
      HeaderText(TextRole::DescriptionHeading, QStringLiteral("Description"), kHeadingFont, 4.498, 22.754));
  page.texts.push_back(HeaderText(TextRole::AmountHeading, QStringLiteral("Amount"), kHeadingFont,
                                  kRightColumnLeftMm, 22.225));
  page.lines.push_back({g::kMarginMm + 4.498, g::kMarginMm + 27.252, 196.85, 0.75});
  return page;
}

}  // namespace

QStringList CostingLayout::WrapText(const QString& text, const CostingFont& font, double widthMm) {
  QStringList lines;
  QString current;
  const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
  for (QString word : words) {
    const QString candidate = current.isEmpty() ? word : current + u' ' + word;
    if (font.TextWidthMm(candidate) <= widthMm) {
      current = candidate;
      continue;
    }
    if (!current.isEmpty()) lines.append(current);
    // A word wider than the column: cut it where it stops fitting.
    while (font.TextWidthMm(word) > widthMm && word.size() > 1) {
      qsizetype fit = 1;
      while (fit < word.size() && font.TextWidthMm(word.left(fit + 1)) <= widthMm) ++fit;
      lines.append(word.left(fit));
      word = word.mid(fit);
    }
    current = word;
  }
  if (!current.isEmpty() || lines.isEmpty()) lines.append(current);
  return lines;
}

CostingLayout CostingLayout::Build(const CostingReportData& data) {
  CostingLayout layout;
  const double descriptionWidth = g::kAmountLeftMm - g::kDescriptionLeftMm - g::kColumnGapMm;
  const double detailTextHeight = kDetailFont.LineHeightMm();

  double y = g::kBodyTopMm;
  auto startPage = [&] {
    layout.m_pages.push_back(NewPage(data));
    y = g::kBodyTopMm;
  };
  auto placeGroupHeader = [&](const CostingGroup& group) {
    layout.m_pages.back().texts.push_back({TextRole::GroupHeading, group.heading, kGroupFont,
                                           g::kMarginMm + 5.556, y + 2.381, kBandWidthMm - 5.556,
                                           kGroupFont.LineHeightMm(), false});
    y += g::kGroupHeaderMm;
  };

  startPage();
  bool firstGroup = true;
  for (const CostingGroup& group : data.groups) {
    // Every cost centre starts a page of its own.
    if (!firstGroup) startPage();
    firstGroup = false;
    placeGroupHeader(group);
    for (const CostingLine& line : group.lines) {
      const QStringList wrapped = WrapText(line.description, kDetailFont, descriptionWidth);
      const double bandHeight = g::kDetailMm * wrapped.size();
      // A band that does not fit goes to the next page, unless it would not fit on any page.
      if (y + bandHeight > g::kBodyBottomMm && y > g::kBodyTopMm + g::kGroupHeaderMm) {
        startPage();
        placeGroupHeader(group);
      }
      CostingPage& page = layout.m_pages.back();
      for (qsizetype i = 0; i < wrapped.size(); ++i) {
        page.texts.push_back({TextRole::Description, wrapped.at(i), kDetailFont,
                              g::kMarginMm + g::kDescriptionLeftMm, y + i * g::kDetailMm, descriptionWidth,
                              detailTextHeight, false});
      }
      page.texts.push_back({TextRole::Amount, FormatCostingAmount(line.amount), kDetailFont,
                            g::kMarginMm + g::kAmountLeftMm, y, g::kAmountRightMm - g::kAmountLeftMm,
                            detailTextHeight, true});
      y += bandHeight;
    }
  }

  // Second pass: the page count is known now.
  const int count = layout.PageCount();
  for (int i = 0; i < count; ++i) {
    for (PlacedText& text : layout.m_pages[static_cast<std::size_t>(i)].texts) {
      if (text.role == TextRole::PageNumber)
        text.text = QStringLiteral("Page %1 of %2").arg(i + 1).arg(count);
    }
  }
  return layout;
}

}  // namespace tarno::costing
