// Mapping between shown and stored report groups.
#include "mapping/PayCode2Choices.h"

namespace tarno::mapping {

QString StoredPayCode2(const QString& chosenOrTyped) {
  const QString text = chosenOrTyped.trimmed();
  for (const PayCode2Choice& choice : kPayCode2Choices)
    if (text == QLatin1String(choice.display)) return QString::fromLatin1(choice.stored);
  return text;
}

QString DisplayedPayCode2(const QString& stored) {
  for (const PayCode2Choice& choice : kPayCode2Choices)
    if (stored == QLatin1String(choice.stored)) return QString::fromLatin1(choice.display);
  return stored;
}

}  // namespace tarno::mapping
