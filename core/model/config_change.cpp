#include "model/config_change.h"

#include <algorithm>

namespace qd {

int ConfigObservers::Add(Observer observer) {
  const int key = nextKey_++;
  observers_.emplace_back(key, std::move(observer));
  return key;
}

void ConfigObservers::Remove(int key) {
  std::erase_if(observers_, [key](const auto& entry) { return entry.first == key; });
}

void ConfigObservers::Notify(const ConfigChange& change) const {
  // An observer may register or leave while it is told.
  const auto observers = observers_;
  for (const auto& [key, observer] : observers) {
    if (observer) observer(change);
  }
}

}  // namespace qd
