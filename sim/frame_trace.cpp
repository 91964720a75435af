#include "frame_trace.h"

#include <cstdio>

#include "link/bus_payload.h"

namespace qd::sim {

namespace {

const char* CommandName(std::uint8_t command) {
  namespace c = link::command;
  switch (command) {
    case c::TriggerReport:
      return "trigger";
    case c::TriggerStatusReport:
      return "trigger-status";
    case c::Poll:
      return "poll";
    case c::Resync:
      return "resync";
    case c::ManualOutputs:
      return "manual-outputs";
    case c::Status:
      return "status";
    case c::ReadMemory:
      return "read";
    case c::MemoryData:
      return "data";
    case c::WriteMemory:
      return "write";
    case c::WriteConfirm:
      return "written";
    case c::ResetMachine:
      return "reset-machine";
    case c::ResetConsumptionLog:
      return "reset-log";
    case c::ConsumptionLogReset:
      return "log-reset";
    case c::ClearAlarmLog:
      return "clear-alarms";
    case c::AlarmLogCleared:
      return "alarms-cleared";
    case c::Monitor:
      return "monitor";
    case c::MonitorReply:
      return "monitor-reply";
    case c::FirmwareLoader:
      return "loader";
    default:
      return "?";
  }
}

std::string Format(const char* pattern, auto... values) {
  char text[160];
  std::snprintf(text, sizeof text, pattern, values...);
  return text;
}

}  // namespace

std::string DescribeFrame(std::span<const std::uint8_t> payload) {
  const link::PayloadView frame(payload);
  std::string text = Format("0x%02X %s seq=%u %u->%u", frame.Command(), CommandName(frame.Command()),
                            frame.Sequence(), frame.Source(), frame.Destination());
  const auto data = [&](std::size_t i) { return static_cast<unsigned>(frame.At(link::HeaderSize + i)); };
  namespace c = link::command;
  switch (frame.Command()) {
    case c::ReadMemory:
    case c::MemoryData:
    case c::WriteMemory:
    case c::WriteConfirm:
      if (frame.Has(link::HeaderSize + 3))
        text += Format(" count=%u addr=0x%04X", data(0), data(1) | data(2) << 8);
      break;
    case c::ResetMachine:
      if (frame.Has(link::HeaderSize + 1)) text += Format(" data=0x%02X", data(0));
      break;
    case c::TriggerReport:
    case c::TriggerStatusReport:
      if (frame.Has(link::HeaderSize + 3)) text += Format(" inputs=0x%02X value=%u", data(0), data(2));
      break;
    case c::ManualOutputs:
      if (frame.Has(link::HeaderSize + 6)) text += Format(" pumps=0x%02X/0x%02X", data(0), data(1));
      break;
    default:
      break;
  }
  return text;
}

std::string TraceLine(const BusMaster::TraceEvent& event) {
  const double seconds = static_cast<double>(event.at.count()) / 1e9;
  std::string line = Format("%12.6f ", seconds);
  if (event.payload.empty()) return line + "-- " + event.note;
  line += event.sent ? "tx " : "rx ";
  line += DescribeFrame(event.payload);
  if (!event.note.empty()) line += " [" + event.note + "]";
  return line;
}

}  // namespace qd::sim
