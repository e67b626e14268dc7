// Small report data for the costing tests: cost centres with a few lines each.
#pragma once

#include "costing/CostingReportData.h"

namespace tarno::costing::test {

// Company "ACME PTE LTD", period 202503, user "ADMIN", printed 2025-03-31 14:05:09 (dd/MM/yyyy);
// groups as given: {code, heading, {{description, amount}, ...}}.
CostingReportData MakeReportData(std::vector<CostingGroup> groups);

// Two cost centres: "CC01" Finance (1000-BASIC 1,234,567.50 and 1100-TRANSPORT -250.00) and
// "CC02" headed by its code (1000-BASIC 3,000.00).
CostingReportData TwoCostCentres();

CostingLine Line(const char* description, const char* amount);

}  // namespace tarno::costing::test
