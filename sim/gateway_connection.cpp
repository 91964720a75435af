#include "gateway_connection.h"

#include "app/bytes.h"
#include "app/text.h"
#include "link/frame_codec.h"

namespace qd::sim {

namespace {

constexpr std::uint8_t ResetMachineFlag = 0x10;
constexpr std::uint8_t AllMachines = 10;

}  // namespace

GatewayConnection::GatewayConnection(GatewayDirectory& directory, Controller& controller, int id)
    : directory_(directory), controller_(controller), id_(id) {
  receiver_.onMessage = [this](std::span<const std::uint8_t> message) {
    if (!dropping_ && !closed_) Handle(message);
  };
}

GatewayConnection::~GatewayConnection() {
  directory_.Release(id_);
}

const std::string& GatewayConnection::UserName() const {
  static const std::string none;
  return user_ ? user_->name : none;
}

void GatewayConnection::Receive(std::span<const std::uint8_t> bytes, SimTime now) {
  now_ = now;
  receiver_.Feed(bytes);
}

void GatewayConnection::Close() {
  closed_ = true;
  directory_.Release(id_);
}

void GatewayConnection::Handle(std::span<const std::uint8_t> message) {
  Trace(false, message, {});
  if (message[0] == gateway::Request && message[1] == gateway::Login) {
    HandleLogin(message);
  } else if (!user_) {
    Trace(false, {}, "not logged in: ignored");
  } else if (message[0] == gateway::Request && message[1] == gateway::Connect) {
    HandleConnect(message);
  } else if (!system_) {
    Trace(false, {}, "no system connected: ignored");
  } else if (!AnsweringMemory()) {
    Trace(false, {}, "the system does not answer");
  } else {
    HandleSystemMessage(message);
  }
}

void GatewayConnection::HandleLogin(std::span<const std::uint8_t> message) {
  std::size_t at = 2;
  const std::string name = gateway::TextAt(message, at);
  const std::string password = gateway::TextAt(message, at);
  // A new login starts the session over.
  directory_.Release(id_);
  system_.reset();
  const GatewayUser* user = directory_.Login(name, password);
  if (!user) {
    user_.reset();
    Send(gateway::ShortMessage(gateway::Gateway, gateway::LoginRefused));
    return;
  }
  user_ = *user;
  for (const gateway::ListedSystem& system : directory_.List(controller_.Memory()))
    Send(gateway::ListEntryMessage(system));
  Send(gateway::EndOfListMessage());
}

void GatewayConnection::HandleConnect(std::span<const std::uint8_t> message) {
  std::size_t at = 2;
  const std::string serial = gateway::TextAt(message, at);
  const std::optional<std::size_t> entry = directory_.Find(serial);
  if (!entry) {
    Send(gateway::ConnectResultMessage(gateway::NotFound));
    return;
  }
  if (!directory_.IsFree(*entry, id_)) {
    Send(gateway::ConnectResultMessage(gateway::InUse));
    return;
  }
  directory_.Hold(*entry, id_, user_->name);
  system_ = entry;
  access_ = directory_.AccessFor(*entry, *user_);
  sum_ = 0;
  writeBlocks_ = 0;
  const GatewaySystemOption& system = directory_.Entries()[*entry].system;
  Send(gateway::ConnectResultMessage(gateway::Accepted, system.serial, access_));
  Send(gateway::AddressMessage(system.address));
}

void GatewayConnection::HandleSystemMessage(std::span<const std::uint8_t> message) {
  const std::uint8_t messageClass = message[0];
  const std::uint8_t code = message[1];
  Controller* controller = AnsweringController();
  if (controller) controller->Advance(now_);
  if (messageClass == gateway::Request && code == gateway::Read) {
    SendMemory();
  } else if (messageClass == gateway::ToSystem && code == gateway::Status) {
    SendStatus(controller);
  } else if (messageClass == gateway::ToSystem && code == gateway::WriteBlock) {
    WriteBlock(message);
  } else if (messageClass == gateway::ToSystem && code == gateway::Confirm) {
    Confirm();
  } else if (messageClass == gateway::ToMachines && code == gateway::ResetMachine) {
    const std::uint8_t machine = message.size() > 2 ? message[2] : 0xFF;
    if (machine < MachineCount)
      Reset(link::command::ResetMachine, ResetMachineFlag | machine, gateway::ResetMachine);
    else
      Trace(false, {}, "no such machine: ignored");
  } else if (messageClass == gateway::ToMachines && code == gateway::ResetAllMachines) {
    Reset(link::command::ResetMachine, ResetMachineFlag | AllMachines, gateway::ResetAllMachines);
  } else if (messageClass == gateway::ToConsumptionLog && code == gateway::ResetLog) {
    Reset(link::command::ResetConsumptionLog, 0, gateway::LogResetDone);
  } else if (messageClass == gateway::ToAlarmLog && code == gateway::ClearAlarmLog) {
    Reset(link::command::ClearAlarmLog, 0, gateway::AlarmLogCleared);
  } else {
    Trace(false, {}, "unknown: ignored");
  }
}

void GatewayConnection::SendStatus(const Controller* controller) {
  std::array<MachineRecord, MachineCount> records{};
  if (!controller) {
    // A fleet system runs no machines and has no trigger modules.
    Send(gateway::StatusMessage({}, records, {}));
    return;
  }
  for (int m = 0; m < MachineCount; ++m)
    records[static_cast<std::size_t>(m)] = controller->Record(m);
  Send(gateway::StatusMessage(controller->Outputs(), records, directory_.Connections()));
}

void GatewayConnection::SendMemory() {
  const std::span<const std::uint8_t> memory = AnsweringMemory()->Bytes();
  const std::size_t blockSize = directory_.BlockSize();
  std::vector<std::size_t> order;
  for (std::size_t offset = 0; offset < memory.size(); offset += blockSize)
    order.push_back(offset);
  if (directory_.TakeFault(GatewayFaultKind::BlockOrder, *system_) && order.size() > 1)
    std::swap(order[0], order[1]);
  const std::optional<GatewayFault> drop = directory_.TakeFault(GatewayFaultKind::DropRead, *system_);
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (drop && i == static_cast<std::size_t>(drop->blocks)) {
      Drop("connection dropped after " + std::to_string(i) + " blocks (fault)");
      return;
    }
    const std::size_t offset = order[i];
    const std::size_t count = std::min(blockSize, memory.size() - offset);
    const bool outOfOrder = offset != i * blockSize;
    Send(gateway::DataBlockMessage(static_cast<std::uint16_t>(offset), memory.subspan(offset, count)),
         outOfOrder ? "out of order (fault)" : "");
  }
}

void GatewayConnection::WriteBlock(std::span<const std::uint8_t> message) {
  if (!FullAccess()) {
    Trace(false, {}, "read-only access: ignored");
    return;
  }
  if (message.size() < gateway::WriteHeaderSize) {
    Trace(false, {}, "short block: ignored");
    return;
  }
  const std::uint16_t offset = bytes::GetU16LE(message, 2);
  const std::size_t count = message[4];
  if (count == 0 || count > gateway::MaxWriteCount || message.size() < gateway::WriteHeaderSize + count) {
    Trace(false, {}, "bad count or data missing: ignored");
    return;
  }
  if (writeBlocks_ == 0) {
    const std::optional<GatewayFault> drop = directory_.TakeFault(GatewayFaultKind::DropWrite, *system_);
    dropWriteAfter_ = drop ? std::optional<int>(drop->blocks) : std::nullopt;
  }
  ++writeBlocks_;
  const std::span<const std::uint8_t> data = message.subspan(gateway::WriteHeaderSize, count);
  const std::size_t stored = AnsweringMemory()->Write(offset, data);
  for (std::size_t i = 0; i < stored; ++i)
    sum_ = static_cast<std::uint16_t>(sum_ + data[i]);
  if (stored < count) Trace(false, {}, std::to_string(stored) + " of the bytes fit the memory");
  if (dropWriteAfter_ && writeBlocks_ == *dropWriteAfter_)
    Drop("connection dropped after " + std::to_string(writeBlocks_) + " blocks (fault)");
}

void GatewayConnection::Confirm() {
  std::uint16_t sum = sum_;
  std::string note;
  if (directory_.TakeFault(GatewayFaultKind::WrongSum, *system_)) {
    sum = static_cast<std::uint16_t>(sum + 1);
    note = "wrong sum (fault)";
  }
  sum_ = 0;
  writeBlocks_ = 0;
  dropWriteAfter_.reset();
  Send(gateway::SumMessage(sum), note);
}

void GatewayConnection::Reset(std::uint8_t busCommand, std::uint8_t data, std::uint8_t confirmCode) {
  if (busCommand == link::command::ResetMachine && !FullAccess()) {
    Trace(false, {}, "read-only access: ignored");
    return;
  }
  if (Controller* controller = AnsweringController()) {
    const std::vector<std::uint8_t> dataBytes = busCommand == link::command::ResetMachine
                                                    ? std::vector<std::uint8_t>{data}
                                                    : std::vector<std::uint8_t>{};
    const std::vector<std::uint8_t> request =
        link::MakePayload(busCommand, 1, link::ControllerAddress, link::PcAddress, dataBytes);
    controller->HandleRequest(link::PayloadView(request));
  } else if (busCommand == link::command::ResetConsumptionLog) {
    AnsweringMemory()->ResetConsumptionLog();
  } else if (busCommand == link::command::ClearAlarmLog) {
    AnsweringMemory()->ClearAlarmHistory();
  }
  Send(gateway::ShortMessage(gateway::System, confirmCode));
}

Controller* GatewayConnection::AnsweringController() {
  return system_ && directory_.Entries()[*system_].simulated ? &controller_ : nullptr;
}

ControllerMemory* GatewayConnection::AnsweringMemory() {
  if (!system_) return nullptr;
  if (Controller* controller = AnsweringController()) return &controller->Memory();
  return directory_.FleetMemory(*system_);
}

void GatewayConnection::Send(std::span<const std::uint8_t> message, std::string note) {
  Trace(true, message, std::move(note));
  if (onSend) onSend(link::EncodeRawFrame(message));
}

void GatewayConnection::Drop(std::string note) {
  dropping_ = true;
  Trace(true, {}, std::move(note));
}

void GatewayConnection::Trace(bool sent, std::span<const std::uint8_t> message, std::string note) {
  if (onTrace)
    onTrace(
        TraceEvent{now_, sent, std::vector<std::uint8_t>(message.begin(), message.end()), std::move(note)});
}

std::string GatewayTraceLine(int connection, const GatewayConnection::TraceEvent& event) {
  const double seconds = static_cast<double>(event.at.count()) / 1e9;
  std::string line = Format("%12.6f gw%d ", seconds, connection);
  if (event.message.empty()) return line + "-- " + event.note;
  line += event.sent ? "tx " : "rx ";
  line += gateway::Describe(event.message);
  if (!event.note.empty()) line += " [" + event.note + "]";
  return line;
}

}  // namespace qd::sim
