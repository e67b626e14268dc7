// The report groups of an allowance code: the text the operator sees and the value stored in
// ALLOWNCE.PAYCODE2. The first entry shows OT and stores the long word OVERTIME; the others
// show the long word and store the short one.
#pragma once

#include <QString>

namespace tarno::mapping {

struct PayCode2Choice {
  const char* display;
  const char* stored;
};

inline constexpr PayCode2Choice kPayCode2Choices[] = {
    {"OT", "OVERTIME"}, {"INCENTIVE", "INCT"}, {"ALLOWANCE", "ALLW"}, {"DEDUCTION", "DEDU"},
    {"BASIC", "BASIC"}, {"BONUS", "BONUS"},    {"NA", "NA"},
};

// The value stored for a text the operator chose or typed: a list entry's display text gives its
// stored value; any other text is stored as typed (blanks at either end removed).
QString StoredPayCode2(const QString& chosenOrTyped);
// The text shown for a stored value: the display text of its entry, else the value itself.
QString DisplayedPayCode2(const QString& stored);

}  // namespace tarno::mapping
