// Month-and-year captions of the mapped workbooks ("Jan 04"), built from CCYYMM period texts.
// The month names are English whatever the system locale, so that a saved file name such as
// "Jan 04 Vs Feb 04 Variance Report.xlsx" does not depend on where the run happens.
#pragma once

#include <QString>

namespace tarno::outputs {

// "Jan" ... "Dec" for 1 ... 12; throws OutputError for any other number.
QString EnglishShortMonthName(int month);

// The first day of the period's month as "MMM YY": characters 1 to 4 are the year, 5 and 6 the
// month. Throws OutputError naming the period when either is not a number or the month is not 1 to
// 12, so that a caller can check its dates before it writes anything.
QString PeriodMonthCaption(const QString& period);

}  // namespace tarno::outputs
