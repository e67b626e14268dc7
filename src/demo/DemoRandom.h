// The demo company's source of chance: std::mt19937 (whose output sequence the C++ standard fixes)
// with the distributions written out here, because the standard library's distributions differ
// between implementations and the demo must be the same company for a given seed everywhere.
#pragma once

#include <QList>
#include <QtGlobal>
#include <random>

namespace tarno::demo {

class DemoRandom {
 public:
  explicit DemoRandom(quint32 seed) : m_engine(seed) {}

  // A whole number from low to high, both included (low <= high), without modulo bias.
  int Between(int low, int high);
  // True with the given chance in percent (0 never, 100 always).
  bool Chance(int percent) { return Between(1, 100) <= percent; }
  // Index chosen by weights (each >= 0, at least one > 0).
  int Weighted(const QList<int>& weights);

  template <typename T>
  const T& Pick(const QList<T>& items) {
    return items.at(Between(0, static_cast<int>(items.size()) - 1));
  }

 private:
  std::mt19937 m_engine;
};

}  // namespace tarno::demo
