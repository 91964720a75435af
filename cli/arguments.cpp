#include "arguments.h"

#include "app/text.h"

namespace qdtool {

Arguments::Arguments(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                     const std::set<std::string>& flagOptions) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string arg = args[i] == "-o" ? "--output" : args[i];
    if (arg == "--help" || arg == "-h") {
      help_ = true;
      continue;
    }
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      positional_.push_back(arg);
      continue;
    }
    std::string name = arg.substr(2);
    std::optional<std::string> inlineValue;
    if (const auto eq = name.find('='); eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.resize(eq);
    }
    if (flagOptions.count(name) && !inlineValue) {
      flags_.insert(name);
    } else if (valueOptions.count(name)) {
      if (inlineValue) {
        values_[name] = *inlineValue;
      } else if (i + 1 < args.size()) {
        values_[name] = args[++i];
      } else {
        throw UsageError("--" + name + " needs a value");
      }
    } else {
      throw UsageError("unknown option --" + name);
    }
  }
}

std::optional<std::string> Arguments::Value(const std::string& name) const {
  const auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::optional<int> Arguments::Number(const std::string& name, int min, int max) const {
  const auto text = Value(name);
  if (!text) return std::nullopt;
  const auto number = qd::ParseWholeNumber(*text);
  if (!number || *number < min || *number > max) {
    throw UsageError("--" + name + " takes a whole number from " + std::to_string(min) + " to " +
                     std::to_string(max));
  }
  return *number;
}

}  // namespace qdtool
