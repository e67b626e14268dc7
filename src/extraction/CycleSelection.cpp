// The cycle selection table, tried row by row.
#include "extraction/CycleSelection.h"

#include <optional>

#include "context/Errors.h"

namespace tarno::extraction {
namespace {

struct SelectionRow {
  int cycleIndex;
  std::optional<bool> special;  // nullopt: any
  std::optional<bool> bonus;
  const char* letters;
};

// The order matters: "Bonus Period ", "Special Period" and "Full Month" take any box states and
// come before the combinations of the three items that the boxes widen.
constexpr std::optional<bool> kAny = std::nullopt;
const SelectionRow kSelection[] = {
    {1, false, false, "EEEE"}, {0, false, false, "MMMM"}, {3, kAny, kAny, "BBBB"},  {2, kAny, kAny, "SSSS"},
    {4, kAny, kAny, "EMBS"},   {5, false, false, "EMEM"}, {5, true, false, "EMSM"}, {5, false, true, "EMEB"},
    {5, true, true, "EMSB"},   {1, false, true, "EBBB"},  {1, true, false, "ESSS"}, {0, true, false, "MSSS"},
    {0, false, true, "MBBB"},  {0, true, true, "MBSS"},   {1, true, true, "EBSS"},
};

}  // namespace

QString BuildCycleSelection(int cycleIndex, bool includedSpecial, bool includedBonus) {
  for (const SelectionRow& row : kSelection) {
    if (row.cycleIndex != cycleIndex) continue;
    if (row.special && *row.special != includedSpecial) continue;
    if (row.bonus && *row.bonus != includedBonus) continue;
    return QString::fromLatin1(row.letters);
  }
  throw Error(QStringLiteral("The pay cycle choice %1 is none of the six items of \"Select Pay Cycle\".")
                  .arg(cycleIndex));
}

}  // namespace tarno::extraction
