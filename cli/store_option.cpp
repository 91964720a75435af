#include <charconv>

#include "history_commands.h"

namespace qdtool {

std::string StoreGiven(const Arguments& arguments) {
  return arguments.Value(StoreOption).value_or(std::string());
}

std::unique_ptr<qd::store::HistoryStore> OpenStore(const Arguments& arguments) {
  QString error;
  const auto location = qd::store::ChosenStoreLocation(QString::fromStdString(StoreGiven(arguments)), error);
  if (!location) throw UsageError(error.toStdString());
  auto store = qd::store::HistoryStore::Open(*location, error);
  if (!store) throw Failure(error.toStdString());
  return store;
}

std::uint32_t SerialArgument(const std::string& text) {
  std::uint32_t serial = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), serial);
  if (text.empty() || error != std::errc() || end != text.data() + text.size())
    throw UsageError("'" + text + "' is no serial number");
  return serial;
}

}  // namespace qdtool
