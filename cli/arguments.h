#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace qdtool {

// A usage error: the command line is not what the command takes.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A failure of the work itself, reported as "qdtool: <reason>".
// Exit status 1 unless the command gives another.
struct Failure : std::runtime_error {
  explicit Failure(const std::string& reason, int exitStatus = 1)
      : std::runtime_error(reason), status(exitStatus) {}
  int status;
};

// Positional arguments and --options of one subcommand. Options are "--name value", "--name=value"
// or flags ("--name").
class Arguments {
 public:
  Arguments(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
            const std::set<std::string>& flagOptions);

  bool Help() const { return help_; }
  const std::vector<std::string>& Positional() const { return positional_; }
  bool Flag(const std::string& name) const { return flags_.count(name) > 0; }
  std::optional<std::string> Value(const std::string& name) const;
  // The option as a whole number in [min, max], or a usage error.
  std::optional<int> Number(const std::string& name, int min, int max) const;

 private:
  bool help_ = false;
  std::vector<std::string> positional_;
  std::set<std::string> flags_;
  std::map<std::string, std::string> values_;
};

}  // namespace qdtool
