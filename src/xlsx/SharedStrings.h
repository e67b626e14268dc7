// The shared string table ("xl/sharedStrings.xml"): texts that cells refer to by index. Rich texts
// read as their plain text; written strings are added once and found again by value.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace tarno::xlsx {

class SharedStrings {
 public:
  SharedStrings() = default;
  explicit SharedStrings(const QByteArray& xml);

  int Count() const { return m_texts.size(); }
  QString At(int index) const;   // empty for an index out of range
  int Add(const QString& text);  // the index of text, added when new
  bool IsModified() const { return m_modified; }
  QByteArray ToXml() const;

 private:
  QStringList m_texts;
  QHash<QString, int> m_index;
  bool m_modified = false;
};

}  // namespace tarno::xlsx
