#include "trigger_module.h"

#include <array>
#include <charconv>

#include "link/bus_payload.h"

namespace qd::sim {

namespace {

struct TypeName {
  int type;
  std::string_view name;
};

constexpr std::array<TypeName, 7> TypeNames = {{{trigger_type::Qd520, "qd520"},
                                                {trigger_type::Nortec, "nortec"},
                                                {trigger_type::NyborgW3, "nyborg-w3"},
                                                {trigger_type::NyborgHs, "nyborg-hs"},
                                                {trigger_type::MieleLogic, "miele"},
                                                {trigger_type::Electrolux, "electrolux"},
                                                {trigger_type::MieleEthernet, "ethernet"}}};

constexpr std::uint8_t KindQd520 = 1;
constexpr std::uint8_t KindQd740 = 2;
constexpr std::uint8_t SerialConnectionBit = 0x10;
constexpr std::uint8_t KeyboardConnectedBit = 0x20;
constexpr std::uint8_t Input6Bit = 0x20;

}  // namespace

std::optional<int> ParseTriggerType(std::string_view text) {
  for (const TypeName& entry : TypeNames) {
    if (text == entry.name) return entry.type;
  }
  int code = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  for (const TypeName& entry : TypeNames) {
    if (code == entry.type) return code;
  }
  return std::nullopt;
}

std::string TriggerTypeNames() {
  std::string text;
  for (const TypeName& entry : TypeNames) {
    if (!text.empty()) text += ", ";
    text += std::to_string(entry.type) + " " + std::string(entry.name);
  }
  return text;
}

TriggerModule::TriggerModule(int machine, int type)
    : machine_(machine), type_(type), nextReport_(Milliseconds(37) * machine) {}

int TriggerModule::Step(SimTime now) const {
  return static_cast<int>((now / StepTime + machine_) % CycleSteps);
}

int TriggerModule::Program(SimTime now) const {
  // The Nyborg interfaces use input 6 to say "no weight", so their machines choose among five.
  const bool nyborg = type_ == trigger_type::NyborgW3 || type_ == trigger_type::NyborgHs;
  return static_cast<int>((now / (StepTime * CycleSteps) + machine_) % (nyborg ? 5 : 6) + 1);
}

std::uint8_t TriggerModule::InputsAt(SimTime now) const {
  const int step = Step(now);
  if (step < 2) {
    // Between washes; the Nyborg machines say that they have no weight.
    const bool noWeight = type_ == trigger_type::NyborgW3 || type_ == trigger_type::NyborgHs;
    return noWeight ? Input6Bit : 0;
  }
  auto inputs = static_cast<std::uint8_t>(1u << (Program(now) - 1));
  if (type_ == trigger_type::Electrolux && step >= 6) inputs |= Input6Bit;
  return inputs;
}

std::uint8_t TriggerModule::ValueAt(SimTime now) const {
  const int step = Step(now);
  switch (type_) {
    case trigger_type::NyborgW3:
    case trigger_type::NyborgHs:
    case trigger_type::Electrolux:
      return step < 2 ? 0 : static_cast<std::uint8_t>(8 + 3 * step + machine_);
    case trigger_type::MieleLogic:
      return step < 2 ? 0 : static_cast<std::uint8_t>(25 * step);
    default:
      return 0;
  }
}

std::uint8_t TriggerModule::ElectroluxProgramAt(SimTime now) const {
  return type_ == trigger_type::Electrolux ? static_cast<std::uint8_t>(Program(now) * 4 + 1) : 0;
}

std::vector<std::uint8_t> TriggerModule::TakeReport(SimTime now) {
  nextReport_ = now + ReportInterval;
  ++reports_;
  sequence_ = static_cast<std::uint8_t>(sequence_ % 255 + 1);
  const bool status = reports_ % StatusEvery == 0;
  std::vector<std::uint8_t> data = {InputsAt(now), 0, ValueAt(now)};
  if (status) {
    const bool qd520 = type_ == trigger_type::Qd520 || type_ == trigger_type::Nortec;
    std::uint8_t kind = qd520 ? KindQd520 : KindQd740;
    if (!qd520) kind |= SerialConnectionBit | KeyboardConnectedBit;
    data.push_back(kind);
    data.push_back(FirmwareVersion);
    data.push_back(ElectroluxProgramAt(now));
  }
  const std::uint8_t command = status ? link::command::TriggerStatusReport : link::command::TriggerReport;
  return link::MakePayload(command, sequence_, link::ControllerAddress, Address(), data);
}

}  // namespace qd::sim
