// The amount format of the costing report, "#,##0.00": thousands grouped with ",", two decimals
// after ".", a leading minus for negative amounts. Used by the painted report and by every device.
#pragma once

#include <QString>

#include "context/Currency.h"

namespace tarno::costing {

// Rounds to two decimals, half away from zero, and formats: 1234567.5 -> "1,234,567.50",
// -0.5 -> "-0.50". An amount that rounds to zero prints "0.00" without a sign.
QString FormatCostingAmount(Currency amount);

}  // namespace tarno::costing
