#pragma once

#include <utility>

namespace qd::link {

// Calls a handler that its owner may have left unset.
template <typename F, typename... Args>
void Notify(const F& handler, Args&&... args) {
  if (handler) handler(std::forward<Args>(args)...);
}

}  // namespace qd::link
