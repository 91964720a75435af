#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/translation.h"
#include "link/gateway_messages.h"

namespace qd::link {

// A dispenser system picked for the connect request.
struct SystemChoice {
  std::string serial;
  std::string name;

  bool operator==(const SystemChoice&) const = default;
};

// The dispenser systems the gateway offered after the login, in the order they came. Rows are numbered
// from 1 as the selection grid shows them.
class SystemList {
 public:
  static constexpr std::array<std::string_view, 5> Headers = {
      QD_TRANSLATABLE("SystemList", " No."), QD_TRANSLATABLE("SystemList", " Serial"),
      QD_TRANSLATABLE("SystemList", " System name"), QD_TRANSLATABLE("SystemList", " In use"),
      QD_TRANSLATABLE("SystemList", " IP address")};

  // The first entry becomes the preselected system when it is free.
  void Add(SystemEntry entry);
  void Clear();
  // The login window opened again: nothing is preselected until the next first entry.
  void ForgetPreselection() { preselected_.reset(); }

  int Count() const { return static_cast<int>(entries_.size()); }
  const std::vector<SystemEntry>& Entries() const { return entries_; }
  const std::optional<SystemChoice>& Preselected() const { return preselected_; }

  // What OK in the selection window takes: a row 1..Count() whose serial is a whole number of 0 or more.
  std::optional<SystemChoice> ChoiceAt(int row) const;
  // The entry whose serial is `serial`, as text or as the same whole number.
  std::optional<SystemChoice> FindSerial(std::string_view serial) const;

 private:
  std::vector<SystemEntry> entries_;
  std::optional<SystemChoice> preselected_;
};

// The grid's row number cell: "%4d".
std::string RowNumberText(int row);

}  // namespace qd::link
