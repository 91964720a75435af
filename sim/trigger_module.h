#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim_time.h"

namespace qd::sim {

// Trigger interface types, coded as in a machine's trigger settings.
namespace trigger_type {
inline constexpr int Qd520 = 1;
inline constexpr int Nortec = 2;
inline constexpr int NyborgW3 = 3;
inline constexpr int NyborgHs = 4;
inline constexpr int MieleLogic = 5;
inline constexpr int Electrolux = 6;
inline constexpr int MieleEthernet = 10;
}  // namespace trigger_type

// A type given as its code or its short name (qd520, nortec, nyborg-w3, nyborg-hs, miele, electrolux,
// ethernet); nothing for anything else.
std::optional<int> ParseTriggerType(std::string_view text);
// "qd520, nortec, ..." for the help text.
std::string TriggerTypeNames();

// The trigger module of one machine, on the bus at address machine + 2, reporting to the controller.
// Every report is a command 2 with the inputs and the weight or percent value; every fourth report is a
// command 3 that adds the module's kind, its connections and its firmware version.
//   6 inputs (bits 0..5; bit 5 also "no weight" for the Nyborg types, "weight of input 6" for Electrolux)
//   7 0 | 8 weight in half kilograms (Nyborg, Electrolux) or percent (Miele Logic)
//   9 (cmd 3) bits 0..3 kind 1 QD520 / 2 QD740, bit 4 serial connection, bit 5 keyboard connected
//   10 (cmd 3) firmware version, low nibble major, high nibble minor | 11 (cmd 3) Electrolux program number
// The inputs follow a wash cycle: a short pause, then one program input for a while, with the weight
// or percent value changing as the wash goes on.
class TriggerModule {
 public:
  static constexpr SimTime ReportInterval = Milliseconds(250);
  static constexpr int StatusEvery = 4;
  static constexpr SimTime StepTime = Milliseconds(1000);
  static constexpr int CycleSteps = 8;
  static constexpr std::uint8_t FirmwareVersion = 0x41;  // 1.4

  TriggerModule(int machine, int type);  // machine 1..10

  int Machine() const { return machine_; }
  int Type() const { return type_; }
  std::uint8_t Address() const { return static_cast<std::uint8_t>(machine_ + 2); }
  // The Ethernet link reaches the controller without a module on the bus.
  bool OnBus() const { return type_ != trigger_type::MieleEthernet; }

  bool Due(SimTime now) const { return OnBus() && now >= nextReport_; }
  // The next report as a sealed payload to the controller; the one after it is due a report interval later.
  std::vector<std::uint8_t> TakeReport(SimTime now);

  std::uint8_t InputsAt(SimTime now) const;
  std::uint8_t ValueAt(SimTime now) const;
  std::uint8_t ElectroluxProgramAt(SimTime now) const;

 private:
  int Step(SimTime now) const;     // 0..CycleSteps - 1
  int Program(SimTime now) const;  // 1..6

  int machine_;
  int type_;
  SimTime nextReport_{};
  int reports_ = 0;
  std::uint8_t sequence_ = 0;
};

}  // namespace qd::sim
