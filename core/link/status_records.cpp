#include "link/status_records.h"

#include <algorithm>

#include "app/text.h"
#include "link/bus_payload.h"

namespace qd::link {

namespace {

constexpr std::uint8_t StatusLengthOffset = LengthOffset;
constexpr std::size_t PumpsOffset = 6;
constexpr std::size_t CarriedOffset = 7;
constexpr std::size_t SignalsOffset = 8;

constexpr std::uint16_t MachineSignalMask = 0x03FF;
constexpr std::uint8_t FlushBitsMask = 0x0C;  // byte 9: flush water, flush drain

constexpr std::uint8_t MonitorMachineMask = 0x0F;
constexpr std::uint8_t MonitorValidBit = 0x10;

std::uint32_t BigEndian32(const PayloadView& view, std::size_t at) {
  return (static_cast<std::uint32_t>(view.At(at)) << 24) |
         (static_cast<std::uint32_t>(view.At(at + 1)) << 16) |
         (static_cast<std::uint32_t>(view.At(at + 2)) << 8) | static_cast<std::uint32_t>(view.At(at + 3));
}

}  // namespace

MachineStatus MachineStatus::FromBytes(std::span<const std::uint8_t> record) {
  std::array<std::uint8_t, Size> bytes{};
  std::copy_n(record.begin(), std::min(record.size(), Size), bytes.begin());
  return MachineStatus(bytes);
}

MachineStatus MachineStatus::FromGatewayRecord(std::span<const std::uint8_t> record) {
  return FromBytes(record.first(std::min<std::size_t>(record.size(), 4)));
}

int MachineStatus::RunningProgram() const {
  const int program = bytes_[1] & 0x1F;
  return program >= 1 && program <= 6 ? program - 1 : -1;
}

ControllerStatus::ControllerStatus(std::span<const std::uint8_t> payload) {
  const PayloadView view(payload);
  for (std::size_t i = 0; i < system_.size(); ++i)
    system_[i] = view.At(PumpsOffset + i);

  if (view.At(StatusLengthOffset) != OlderSize) {
    std::copy_n(payload.begin(), std::min(payload.size(), Size), bytes_.begin());
    return;
  }

  converted_ = true;
  bytes_[CommandOffset] = command::Status;
  bytes_[LengthOffset] = 0;
  bytes_[PumpsOffset] = view.At(PumpsOffset);
  bytes_[CarriedOffset] = view.At(CarriedOffset);
  const auto signals = static_cast<std::uint16_t>(
      (view.At(SignalsOffset) | (view.At(SignalsOffset + 1) << 8)) & MachineSignalMask);
  bytes_[SignalsOffset] = static_cast<std::uint8_t>(signals);
  bytes_[SignalsOffset + 1] =
      static_cast<std::uint8_t>((signals >> 8) | (view.At(SignalsOffset + 1) & FlushBitsMask));
  for (std::size_t m = 0; m < MachineCount; ++m) {
    const std::size_t from = MachineOffset + OlderMachineSize * m;
    const std::size_t to = MachineOffset + MachineStatus::Size * m;
    bytes_[to] = view.At(from);
    bytes_[to + 1] = view.At(from + 1) & 0x7F;
    bytes_[to + 2] = view.At(from + 2) & 0x05;
  }
}

std::uint16_t ControllerStatus::MachineSignals() const {
  return static_cast<std::uint16_t>((system_[2] | (system_[3] << 8)) & MachineSignalMask);
}

MachineStatus ControllerStatus::Machine(int m) const {
  if (m < 0 || m >= MachineCount) return {};
  return MachineStatus::FromBytes(std::span(bytes_).subspan(
      MachineOffset + MachineStatus::Size * static_cast<std::size_t>(m), MachineStatus::Size));
}

std::optional<TriggerReport> DecodeTriggerReport(std::span<const std::uint8_t> payload) {
  const PayloadView view(payload);
  if (!view.Has(TriggerReportMinSize)) return std::nullopt;
  if (view.Command() != command::TriggerReport && view.Command() != command::TriggerStatusReport)
    return std::nullopt;
  if (view.Destination() != ControllerAddress) return std::nullopt;
  if (view.Source() < FirstTriggerAddress || view.Source() > LastTriggerAddress) return std::nullopt;

  TriggerReport report;
  report.machine = view.Source() - FirstTriggerAddress;
  report.command = view.Command();
  report.inputs = view.At(6) & 0x3F;
  report.weightFlag = (view.At(6) & 0x20) != 0;
  report.value = view.At(8);
  if (report.command == command::TriggerStatusReport) {
    if (view.Has(11)) {
      TriggerModuleStatus module;
      module.kind = view.At(9) & 0x0F;
      module.serialConnection = (view.At(9) & 0x10) != 0;
      module.keyboardConnected = (view.At(9) & 0x20) != 0;
      module.firmwareVersion = view.At(10);
      report.module = module;
    }
    if (view.Has(12)) report.electroluxProgram = view.At(11);
  }
  return report;
}

std::optional<std::string> MonitorReplyText(std::span<const std::uint8_t> payload) {
  const PayloadView view(payload);
  if (!view.Has(MonitorReplySize) || view.Command() != command::MonitorReply) return std::nullopt;
  const std::uint8_t flags = view.At(6);
  if ((flags & MonitorValidBit) == 0) return std::nullopt;

  const int machine = flags & MonitorMachineMask;
  std::string text = machine != 0 ? Format("M=%02d", machine) : std::string("M= ?");
  text += Format(", Serial=%08u, UnitID=%08u, Status= %02X %02X %02X %02X, Softner=%02X",
                 static_cast<unsigned>(BigEndian32(view, 7)), static_cast<unsigned>(BigEndian32(view, 11)),
                 view.At(15), view.At(16), view.At(17), view.At(18), view.At(19));
  return text;
}

std::string MonitorTimePrefix(int hours, int minutes, int seconds, int milliseconds) {
  return Format("%02d:%02d:%02d.%03d> ", hours, minutes, seconds, milliseconds);
}

std::uint16_t GatewayStatus::MachineSignals() const {
  return static_cast<std::uint16_t>((At(4) | (At(5) << 8)) & MachineSignalMask);
}

std::span<const std::uint8_t> GatewayStatus::MachineRecord(int m) const {
  if (m < 0 || m >= MachineCount) return {};
  const std::size_t start = MachineOffset + MachineStatus::GatewayRecordSize * static_cast<std::size_t>(m);
  if (start >= message_.size()) return {};
  return message_.subspan(start, std::min(MachineStatus::GatewayRecordSize, message_.size() - start));
}

}  // namespace qd::link
