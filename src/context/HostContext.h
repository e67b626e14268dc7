// The host's context block: twenty pointer-sized slots, copied whole into the data module.
// Slots are numbered from 1; slots that hold a pointer point to a zero-terminated text owned by
// the host, and a null pointer reads as an empty text. Only seven slots are read.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace tarno {

struct HostContextBlock {
  std::array<std::intptr_t, 20> values{};

  // The value of slot n (1-based).
  std::intptr_t Slot(int n) const { return values.at(static_cast<std::size_t>(n - 1)); }
  // The zero-terminated text that slot n points to; "" for a null pointer.
  QString TextAt(int n) const {
    const auto* text = reinterpret_cast<const char*>(Slot(n));
    return text == nullptr ? QString() : QString::fromLocal8Bit(text);
  }

  QString HistoryCondition1() const { return TextAt(6); }
  QString HistoryCondition2() const { return TextAt(7); }
  QString UserId() const { return TextAt(11); }
  int PayYear() const { return static_cast<std::int32_t>(Slot(12)); }
  int PayMonth() const { return static_cast<std::int32_t>(Slot(13)); }
  int ReportFolderNo() const { return static_cast<std::int32_t>(Slot(18)); }
  QString CompanyTitle() const { return TextAt(20); }
};

}  // namespace tarno
