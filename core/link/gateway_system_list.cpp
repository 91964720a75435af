#include "link/gateway_system_list.h"

#include "app/text.h"

namespace qd::link {

void SystemList::Add(SystemEntry entry) {
  if (entries_.empty() && entry.inUse == gateway::FreeSystem)
    preselected_ = SystemChoice{entry.serial, entry.name};
  entries_.push_back(std::move(entry));
}

void SystemList::Clear() {
  entries_.clear();
  preselected_.reset();
}

std::optional<SystemChoice> SystemList::ChoiceAt(int row) const {
  if (row < 1 || row > Count()) return std::nullopt;
  const SystemEntry& entry = entries_[static_cast<std::size_t>(row - 1)];
  const auto number = ParseWholeNumber(entry.serial);
  if (!number || *number < 0) return std::nullopt;
  return SystemChoice{entry.serial, entry.name};
}

std::optional<SystemChoice> SystemList::FindSerial(std::string_view serial) const {
  const auto wanted = ParseWholeNumber(serial);
  for (const SystemEntry& entry : entries_) {
    const auto number = ParseWholeNumber(entry.serial);
    if (entry.serial == serial || (wanted && number && *wanted == *number))
      return SystemChoice{entry.serial, entry.name};
  }
  return std::nullopt;
}

std::string RowNumberText(int row) {
  return Format("%4d", row);
}

}  // namespace qd::link
