// Rejection sampling over the raw 32-bit engine output, so every platform draws the same numbers.
#include "demo/DemoRandom.h"

#include <cstdint>

namespace tarno::demo {

int DemoRandom::Between(int low, int high) {
  if (high <= low) return low;
  const std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low) + 1;
  const std::uint64_t range = std::uint64_t{1} << 32;
  const std::uint64_t limit = range - range % span;  // draws at or above this would bias the result
  std::uint64_t draw = 0;
  do {
    draw = m_engine();
  } while (draw >= limit);
  return static_cast<int>(low + static_cast<std::int64_t>(draw % span));
}

int DemoRandom::Weighted(const QList<int>& weights) {
  int total = 0;
  for (int w : weights) total += w;
  int draw = Between(1, total);
  for (int i = 0; i < weights.size(); ++i) {
    draw -= weights.at(i);
    if (draw <= 0) return i;
  }
  return static_cast<int>(weights.size()) - 1;
}

}  // namespace tarno::demo
