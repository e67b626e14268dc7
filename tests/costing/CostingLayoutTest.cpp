// Page breaking and positions of the costing report, checked on the computed pages.
#include <gtest/gtest.h>

#include "CostingFixtures.h"
#include "costing/CostingLayout.h"
#include "costing/CostingPageGeometry.h"

namespace tarno::costing {
namespace {

using test::Line;
using test::MakeReportData;
using test::TwoCostCentres;

std::vector<const PlacedText*> TextsOf(const CostingPage& page, TextRole role) {
  std::vector<const PlacedText*> found;
  for (const PlacedText& text : page.texts)
    if (text.role == role) found.push_back(&text);
  return found;
}

QString OnlyText(const CostingPage& page, TextRole role) {
  const auto texts = TextsOf(page, role);
  return texts.size() == 1 ? texts.front()->text : QStringLiteral("<%1 texts>").arg(texts.size());
}

TEST(CostingLayout, PeriodWithoutRowsIsOnePageWithTheHeaderOnly) {
  const CostingLayout layout = CostingLayout::Build(MakeReportData({}));
  ASSERT_EQ(layout.PageCount(), 1);
  const CostingPage& page = layout.Page(0);
  EXPECT_EQ(OnlyText(page, TextRole::PageNumber), "Page 1 of 1");
  EXPECT_EQ(OnlyText(page, TextRole::Title), "Payroll costing Report for Period :202503");
  EXPECT_TRUE(TextsOf(page, TextRole::GroupHeading).empty());
  EXPECT_TRUE(TextsOf(page, TextRole::Description).empty());
  EXPECT_TRUE(TextsOf(page, TextRole::Amount).empty());
}

TEST(CostingLayout, PageHeaderHoldsEveryElementAtItsPosition) {
  const CostingLayout layout = CostingLayout::Build(TwoCostCentres());
  struct Expected {
    TextRole role;
    const char* text;
    double left, top;  // from the band's top left
    const char* family;
    double points;
    bool bold;
  };
  const Expected header[] = {
      {TextRole::CompanyTitle, "ACME PTE LTD", 4.498, 4.233, "Arial", 12, true},
      {TextRole::Title, "Payroll costing Report for Period :202503", 4.498, 10.848, "Arial", 9, true},
      {TextRole::PageNumber, "Page 2 of 2", 135.996, 3.175, "Arial", 9, false},
      {TextRole::Printed, "31/03/2025 14:05:09", 135.996, 9.525, "Arial", 9, false},
      {TextRole::User, "USerid ADMIN", 135.996, 15.346, "Arial", 9, false},
      {TextRole::DescriptionHeading, "Description", 4.498, 22.754, "Arial", 10, false},
      {TextRole::AmountHeading, "Amount", 135.996, 22.225, "Arial", 10, false},
  };
  const CostingPage& page = layout.Page(1);
  for (const Expected& e : header) {
    const auto texts = TextsOf(page, e.role);
    ASSERT_EQ(texts.size(), 1u) << e.text;
    EXPECT_EQ(texts[0]->text, QString::fromLatin1(e.text));
    EXPECT_DOUBLE_EQ(texts[0]->leftMm, geometry::kMarginMm + e.left) << e.text;
    EXPECT_DOUBLE_EQ(texts[0]->topMm, geometry::kMarginMm + e.top) << e.text;
    EXPECT_EQ(texts[0]->font, (CostingFont{QString::fromLatin1(e.family), e.points, e.bold})) << e.text;
  }
  ASSERT_EQ(page.lines.size(), 1u);
  EXPECT_DOUBLE_EQ(page.lines[0].leftMm, geometry::kMarginMm + 4.498);
  EXPECT_DOUBLE_EQ(page.lines[0].topMm, geometry::kMarginMm + 27.252);
  EXPECT_DOUBLE_EQ(page.lines[0].lengthMm, 196.85);
  EXPECT_DOUBLE_EQ(page.lines[0].weightPt, 0.75);
}

TEST(CostingLayout, EachCostCentreStartsAPageHeadedByItsName) {
  const CostingLayout layout = CostingLayout::Build(TwoCostCentres());
  ASSERT_EQ(layout.PageCount(), 2);
  EXPECT_EQ(OnlyText(layout.Page(0), TextRole::GroupHeading), "Finance");
  EXPECT_EQ(OnlyText(layout.Page(1), TextRole::GroupHeading), "CC02");
  EXPECT_EQ(OnlyText(layout.Page(0), TextRole::PageNumber), "Page 1 of 2");

  const PlacedText& heading = *TextsOf(layout.Page(0), TextRole::GroupHeading).front();
  EXPECT_DOUBLE_EQ(heading.leftMm, geometry::kMarginMm + 5.556);
  EXPECT_DOUBLE_EQ(heading.topMm, geometry::kBodyTopMm + 2.381);
  EXPECT_EQ(heading.font, (CostingFont{QStringLiteral("Microsoft Sans Serif"), 9, false}));

  const auto descriptions = TextsOf(layout.Page(0), TextRole::Description);
  const auto amounts = TextsOf(layout.Page(0), TextRole::Amount);
  ASSERT_EQ(descriptions.size(), 2u);
  ASSERT_EQ(amounts.size(), 2u);
  EXPECT_EQ(descriptions[0]->text, "1000-BASIC");
  EXPECT_EQ(amounts[0]->text, "1,234,567.50");
  EXPECT_EQ(amounts[1]->text, "-250.00");
  // Detail bands follow the group header, one line height apart, amounts beside their description.
  EXPECT_DOUBLE_EQ(descriptions[0]->topMm, geometry::kBodyTopMm + geometry::kGroupHeaderMm);
  EXPECT_DOUBLE_EQ(descriptions[1]->topMm, descriptions[0]->topMm + geometry::kDetailMm);
  for (std::size_t i = 0; i < 2; ++i) EXPECT_DOUBLE_EQ(amounts[i]->topMm, descriptions[i]->topMm);
}

TEST(CostingLayout, EveryAmountEndsAtTheRightEdgeOfTheAmountHeading) {
  const CostingLayout layout = CostingLayout::Build(TwoCostCentres());
  for (int p = 0; p < layout.PageCount(); ++p) {
    for (const PlacedText* amount : TextsOf(layout.Page(p), TextRole::Amount)) {
      EXPECT_TRUE(amount->alignRight);
      EXPECT_DOUBLE_EQ(amount->leftMm + amount->widthMm, geometry::kMarginMm + 148.167);
      EXPECT_EQ(amount->font, (CostingFont{QStringLiteral("Arial"), 8, false}));
    }
  }
}

TEST(CostingLayout, SameDescriptionOfTwoPayCodesPrintsTwoLines) {
  const CostingLayout layout = CostingLayout::Build(MakeReportData(
      {{QStringLiteral("CC01"), QStringLiteral("Finance"), {Line("OT 1.5", "10"), Line("OT 1.5", "20")}}}));
  const auto descriptions = TextsOf(layout.Page(0), TextRole::Description);
  ASSERT_EQ(descriptions.size(), 2u);
  EXPECT_EQ(descriptions[0]->text, "OT 1.5");
  EXPECT_EQ(descriptions[1]->text, "OT 1.5");
  const auto amounts = TextsOf(layout.Page(0), TextRole::Amount);
  ASSERT_EQ(amounts.size(), 2u);
  EXPECT_EQ(amounts[0]->text, "10.00");
  EXPECT_EQ(amounts[1]->text, "20.00");
}

TEST(CostingLayout, LongGroupContinuesOnNextPageUnderItsHeadingWithinTheBody) {
  CostingGroup big{QStringLiteral("CC01"), QStringLiteral("Finance"), {}};
  for (int i = 0; i < 120; ++i)
    big.lines.push_back({QStringLiteral("%1-ITEM").arg(1000 + i), Currency::FromUnits(10000 * i)});
  const CostingLayout layout = CostingLayout::Build(MakeReportData({big}));
  ASSERT_GE(layout.PageCount(), 3);
  int printed = 0;
  QString previous;
  for (int p = 0; p < layout.PageCount(); ++p) {
    const CostingPage& page = layout.Page(p);
    EXPECT_EQ(OnlyText(page, TextRole::GroupHeading), "Finance") << "page " << p + 1;
    EXPECT_EQ(OnlyText(page, TextRole::PageNumber),
              QStringLiteral("Page %1 of %2").arg(p + 1).arg(layout.PageCount()));
    for (const PlacedText* d : TextsOf(page, TextRole::Description)) {
      EXPECT_GE(d->topMm, geometry::kBodyTopMm + geometry::kGroupHeaderMm);
      EXPECT_LE(d->topMm + geometry::kDetailMm, geometry::kBodyBottomMm + 1e-9);
      EXPECT_LT(previous, d->text);  // every line once, in order
      previous = d->text;
      ++printed;
    }
  }
  EXPECT_EQ(printed, 120);
}

TEST(CostingLayout, LongDescriptionWrapsAndItsBandGrows) {
  const QString longText = QStringLiteral("9102-GIRO PAYMENT ") + QString(30, u'X') + u' ' +
                           QStringLiteral("word ").repeated(40).trimmed();
  const CostingLayout layout = CostingLayout::Build(
      MakeReportData({{QStringLiteral("CC01"),
                       QStringLiteral("Finance"),
                       {{longText, Currency::FromUnits(10000)}, Line("1000-BASIC", "5")}}}));
  const auto descriptions = TextsOf(layout.Page(0), TextRole::Description);
  ASSERT_GE(descriptions.size(), 3u);
  const std::size_t wrappedLines = descriptions.size() - 1;
  QStringList pieces;
  for (std::size_t i = 0; i < wrappedLines; ++i) {
    pieces << descriptions[i]->text;
    EXPECT_LE(descriptions[i]->font.TextWidthMm(descriptions[i]->text), descriptions[i]->widthMm + 1e-9);
    EXPECT_LT(descriptions[i]->leftMm + descriptions[i]->widthMm,
              geometry::kMarginMm + geometry::kAmountLeftMm);
  }
  EXPECT_EQ(pieces.join(u' '), longText.simplified());
  EXPECT_EQ(descriptions.back()->text, "1000-BASIC");
  EXPECT_DOUBLE_EQ(descriptions.back()->topMm,
                   descriptions.front()->topMm + wrappedLines * geometry::kDetailMm);
  EXPECT_EQ(TextsOf(layout.Page(0), TextRole::Amount).size(), 2u);
}

TEST(CostingLayout, WordWiderThanTheColumnIsCutBetweenCharacters) {
  const CostingFont font{QStringLiteral("Arial"), 8, false};
  const QString word(200, u'W');
  const QStringList lines = CostingLayout::WrapText(word, font, 50);
  ASSERT_GT(lines.size(), 1);
  EXPECT_EQ(lines.join(QString()), word);
  for (const QString& line : lines) EXPECT_LE(font.TextWidthMm(line), 50.0);
  EXPECT_EQ(CostingLayout::WrapText(QString(), font, 50), QStringList{QString()});
}

}  // namespace
}  // namespace tarno::costing
