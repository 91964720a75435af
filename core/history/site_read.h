#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "logs/consumption_log.h"
#include "model/controller_image.h"

// What one read from a controller tells the history of its site: who the controller is, when it was
// read, its consumption by month and machine, its alarm history and the image itself.
namespace qd::history {

struct SiteIdentity {
  std::uint32_t serial = 0;
  std::string name;  // the system name, windows-1252 as the image holds it
  int hardware = 0;
  int firmwareMajor = 0;
  int firmwareMinor = 0;
  bool operator==(const SiteIdentity&) const = default;
};

// One alarm of the history; the controller keeps minutes, so one alarm read twice is the same event.
struct AlarmEvent {
  std::string time;  // "YYYY-MM-DD HH:MM"
  int kind = 0;
  int number = 0;
  int triggerType = 0;
  auto operator<=>(const AlarmEvent&) const = default;
};

struct ReadRecord {
  SiteIdentity site;
  std::string readAt;            // "YYYY-MM-DD HH:MM:SS", the PC's local time of the read
  logs::ConsumptionRows months;  // one row per month and machine, oldest first
  std::vector<AlarmEvent> alarms;
  std::vector<std::uint8_t> image;
};

// The record of a read image taken in at `readAt`; none when the image's format is not one the tool
// reads (there is no site to speak of).
std::optional<ReadRecord> RecordOfRead(const ControllerImage& image, const std::string& readAt);

// The month rows of a log: records of the same month are added up, as the log window adds them.
logs::ConsumptionRows MonthRowsOf(const logs::MonthRecords& records);

// The alarms of the history, oldest first, each once.
std::vector<AlarmEvent> AlarmEventsOf(const ControllerImage& image);

// "Pressure alarm.", "Low soap level, Pump: 3." for an event.
std::string AlarmEventText(const AlarmEvent& event);

}  // namespace qd::history
