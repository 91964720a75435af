#pragma once

#include <filesystem>
#include <string>

namespace qd::sim {

// A symbolic link that lives as long as this object: an existing link at the path is replaced (anything
// else there is left alone and refused), and the link is removed again at the end if it still points
// where it was made to point.
class SymbolicLink {
 public:
  SymbolicLink() = default;
  SymbolicLink(const SymbolicLink&) = delete;
  SymbolicLink& operator=(const SymbolicLink&) = delete;
  ~SymbolicLink();

  // False with the reason in `error` when the link cannot be made.
  bool Create(const std::filesystem::path& link, const std::filesystem::path& target, std::string& error);
  void Remove();

 private:
  std::filesystem::path link_;
  std::filesystem::path target_;
};

}  // namespace qd::sim
