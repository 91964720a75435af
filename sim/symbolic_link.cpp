#include "symbolic_link.h"

#include <system_error>

namespace qd::sim {

namespace fs = std::filesystem;

SymbolicLink::~SymbolicLink() {
  Remove();
}

bool SymbolicLink::Create(const fs::path& link, const fs::path& target, std::string& error) {
  Remove();
  std::error_code code;
  const fs::file_status status = fs::symlink_status(link, code);
  if (fs::exists(status) && !fs::is_symlink(status)) {
    error = "cannot make the link " + link.string() + ": something that is not a link is in the way";
    return false;
  }
  // Made beside the path and renamed over it, so a PC waiting for the link never sees it missing
  // or half made.
  const fs::path temporary = link.string() + ".new";
  fs::remove(temporary, code);
  fs::create_symlink(target, temporary, code);
  if (!code) fs::rename(temporary, link, code);
  if (code) {
    fs::remove(temporary, code);
    error = "cannot make the link " + link.string() + ": " + code.message();
    return false;
  }
  link_ = link;
  target_ = target;
  return true;
}

void SymbolicLink::Remove() {
  if (link_.empty()) return;
  std::error_code code;
  if (fs::read_symlink(link_, code) == target_ && !code) fs::remove(link_, code);
  link_.clear();
  target_.clear();
}

}  // namespace qd::sim
