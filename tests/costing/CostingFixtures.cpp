// Report data for the costing tests.
#include "CostingFixtures.h"

namespace tarno::costing::test {

CostingLine Line(const char* description, const char* amount) {
  return {QString::fromUtf8(description), Currency::FromString(QString::fromLatin1(amount))};
}

CostingReportData MakeReportData(std::vector<CostingGroup> groups) {
  CostingReportData data;
  data.companyTitle = QStringLiteral("ACME PTE LTD");
  data.period = QStringLiteral("202503");
  data.userId = QStringLiteral("ADMIN");
  data.printedAt = QDateTime(QDate(2025, 3, 31), QTime(14, 5, 9));
  data.dateFormat = QStringLiteral("dd/MM/yyyy");
  data.groups = std::move(groups);
  return data;
}

CostingReportData TwoCostCentres() {
  return MakeReportData({
      {QStringLiteral("CC01"),
       QStringLiteral("Finance"),
       {Line("1000-BASIC", "1234567.5"), Line("1100-TRANSPORT", "-250")}},
      {QStringLiteral("CC02"), QStringLiteral("CC02"), {Line("1000-BASIC", "3000")}},
  });
}

}  // namespace tarno::costing::test
