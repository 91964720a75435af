#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "boot_loader_sim.h"
#include "controller_clock.h"
#include "fault_plan.h"
#include "gateway_config.h"
#include "model/working_config.h"

namespace qd::sim {

struct TriggerOption {
  int machine = 1;  // 1..10
  int type = 1;

  bool operator==(const TriggerOption&) const = default;
};

// The command line of qd310sim.
struct SimOptions {
  enum class ClockMode { Now, From, Off };

  bool help = false;
  bool version = false;
  std::optional<std::string> link;
  std::optional<std::string> systemFile;
  std::optional<std::string> imageFile;
  LocalDateTime buildTime;  // of an image built from a system file or as a new system
  std::optional<std::uint32_t> serialNumber;
  std::optional<std::uint8_t> firmwareMajor;
  std::optional<std::uint8_t> firmwareMinor;
  std::optional<std::uint8_t> hardwareVersion;
  ClockMode clockMode = ClockMode::Now;
  ClockTime clockStart;  // ClockMode::From
  bool sampleLogs = false;
  std::optional<std::string> dumpMemory;
  bool oldStatus = false;
  bool verbose = false;
  int baud = 115200;  // 0: no pacing
  int pollIntervalMs = 20;
  int answerTimeoutMs = 50;
  std::vector<TriggerOption> triggers;
  std::vector<FaultSpec> faults;
  std::uint32_t seed = 1;
  LoaderFault loaderFault = LoaderFault::None;
  std::optional<std::string> dumpFirmware;
  GatewayOptions gateway;
};

// Options are "--name value", "--name=value" or flags. Nothing, with the reason in `error`, when the
// command line is not one qd310sim takes.
std::optional<SimOptions> ParseOptions(const std::vector<std::string>& args, std::string& error);

std::string HelpText();

// "qd310sim <version>" and a line break, for --version.
std::string VersionText();

}  // namespace qd::sim
