// Which pay runs of a period the extraction reads: four cycle letters (repeats allowed) from the
// pay-cycle item and the "Included Special" and "Included Bonus" boxes. Letters 1 to 4 are the
// summary statement's parameters CYCLE1 to CYCLE4.
#pragma once

#include <QString>

namespace tarno::extraction {

// cycleIndex: RadioGroupCycle's item (0 "Mid Month" ... 5 "Mid And End"). The rows of the
// selection table are tried in order and the first that matches gives the letters. Throws
// tarno::Error for an index that no row takes.
QString BuildCycleSelection(int cycleIndex, bool includedSpecial, bool includedBonus);

}  // namespace tarno::extraction
