#include "gateway_replies.h"

#include <algorithm>

#include "app/bytes.h"
#include "app/text.h"

namespace qd::sim::gateway {

namespace {

void AppendText(std::vector<std::uint8_t>& message, std::string_view text) {
  message.insert(message.end(), text.begin(), text.end());
  message.push_back(0);
}

std::uint16_t Word(std::span<const std::uint8_t> message, std::size_t at) {
  return at + 2 <= message.size() ? bytes::GetU16LE(message, at) : 0;
}

// A text of a message as the log shows it: control characters and bytes above 0x7E as \xNN.
std::string Shown(const std::string& text) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<std::uint8_t>(c);
    shown += byte >= 0x20 && byte < 0x7F ? std::string(1, c) : Format("\\x%02X", byte);
  }
  return shown;
}

std::string Printable(std::uint8_t byte) {
  if (byte >= 0x20 && byte < 0x7F) return Format("'%c'", byte);
  return Format("0x%02X", byte);
}

std::string Tail(std::span<const std::uint8_t> message, std::size_t from) {
  std::string text;
  for (std::size_t i = from; i < message.size() && i < from + 8; ++i)
    text += Format(" %02X", message[i]);
  if (message.size() > from + 8) text += " ...";
  return text;
}

std::string DescribeRequest(std::uint8_t code, std::span<const std::uint8_t> message) {
  std::size_t at = 2;
  switch (code) {
    case Login: {
      const std::string user = TextAt(message, at);
      return "login user=" + Shown(user);
    }
    case Connect:
      return "connect serial=" + Shown(TextAt(message, at));
    case Read:
      return "read";
    default:
      return "?";
  }
}

std::string DescribeGateway(std::uint8_t code, std::span<const std::uint8_t> message) {
  std::size_t at = 2;
  switch (code) {
    case ListEntry: {
      const std::string serial = TextAt(message, at);
      if (serial.empty()) return "end of list";
      const std::string name = TextAt(message, at);
      const std::string inUse = TextAt(message, at);
      return "system serial=" + Shown(serial) + " name=\"" + Shown(name) + "\" in-use=" + Shown(inUse) +
             " address=" + Shown(TextAt(message, at));
    }
    case ConnectResult: {
      if (message.size() < 3) return "connect result";
      at = 3;
      std::string text = Format("connect result=%d", message[2]);
      if (message[2] == Accepted) {
        const std::string serial = TextAt(message, at);
        text += " serial=" + Shown(serial) + " access=" + Shown(TextAt(message, at));
      }
      return text;
    }
    case Address:
      return "address " + Shown(TextAt(message, at));
    case DataBlock:
      return Format("data offset=%u count=%u", Word(message, 2), Word(message, 4));
    case LoginRefused:
      return "login refused";
    default:
      return "?";
  }
}

std::string DescribeSystem(std::uint8_t messageClass, std::uint8_t code,
                           std::span<const std::uint8_t> message) {
  if (messageClass == ToSystem) {
    switch (code) {
      case Status:
        return "status request";
      case WriteBlock:
        return Format("write offset=%u count=%u", Word(message, 2), message.size() > 4 ? message[4] : 0);
      case Confirm:
        return "confirm request";
      default:
        return "?";
    }
  }
  if (messageClass == ToMachines && code == ResetMachine)
    return Format("reset machine %d", message.size() > 2 ? message[2] + 1 : 0);
  if (messageClass == ToMachines && code == ResetAllMachines) return "reset all machines";
  if (messageClass == ToConsumptionLog && code == ResetLog) return "reset consumption log";
  if (messageClass == ToAlarmLog && code == ClearAlarmLog) return "clear alarm log";
  if (messageClass != System) return "?";
  switch (code) {
    case Status:
      return "status";
    case Confirm:
      return Format("write sum=0x%04X", Word(message, 2));
    case LogResetDone:
      return "consumption log reset";
    case AlarmLogCleared:
      return "alarm log cleared";
    case ResetMachine:
      return "machine reset";
    case ResetAllMachines:
      return "all machines reset";
    default:
      return "?";
  }
}

}  // namespace

std::string TextAt(std::span<const std::uint8_t> message, std::size_t& offset) {
  std::string text;
  while (offset < message.size() && message[offset] != 0)
    text.push_back(static_cast<char>(message[offset++]));
  if (offset < message.size()) ++offset;  // the zero byte
  return text;
}

std::vector<std::uint8_t> ListEntryMessage(const ListedSystem& system) {
  std::vector<std::uint8_t> message{Gateway, ListEntry};
  AppendText(message, system.serial);
  AppendText(message, system.name);
  AppendText(message, system.inUse);
  AppendText(message, system.address);
  return message;
}

std::vector<std::uint8_t> EndOfListMessage() {
  return ListEntryMessage({});
}

std::vector<std::uint8_t> ConnectResultMessage(std::uint8_t result, std::string_view serial,
                                               std::string_view access) {
  std::vector<std::uint8_t> message{Gateway, ConnectResult, result};
  if (result == Accepted) {
    AppendText(message, serial);
    AppendText(message, access);
  }
  return message;
}

std::vector<std::uint8_t> AddressMessage(std::string_view address) {
  std::vector<std::uint8_t> message{Gateway, Address};
  AppendText(message, address);
  return message;
}

std::vector<std::uint8_t> DataBlockMessage(std::uint16_t offset, std::span<const std::uint8_t> data) {
  constexpr std::size_t header = 6;
  std::vector<std::uint8_t> message(header + data.size(), 0);
  message[0] = Gateway;
  message[1] = DataBlock;
  bytes::PutU16LE(message, 2, offset);
  bytes::PutU16LE(message, 4, static_cast<std::uint16_t>(data.size()));
  std::copy(data.begin(), data.end(), message.begin() + header);
  return message;
}

std::vector<std::uint8_t> SumMessage(std::uint16_t sum) {
  std::vector<std::uint8_t> message{System, Confirm, 0, 0};
  bytes::PutU16LE(message, 2, sum);
  return message;
}

std::vector<std::uint8_t> ShortMessage(std::uint8_t messageClass, std::uint8_t code) {
  return {messageClass, code};
}

std::vector<std::uint8_t> StatusMessage(const SystemOutputs& outputs,
                                        const std::array<MachineRecord, MachineCount>& machines,
                                        const ConnectionFlags& connections) {
  std::vector<std::uint8_t> message(StatusSize, 0);
  message[0] = System;
  message[1] = Status;
  // The system part as the bus status carries it in its data bytes 0..3.
  const std::vector<std::uint8_t> bus = EncodeStatusData(outputs, machines, StatusForm::Current);
  std::copy(bus.begin(), bus.begin() + 4, message.begin() + 2);
  for (std::size_t m = 0; m < machines.size(); ++m) {
    const MachineRecord& record = machines[m];
    const std::size_t at = MachineOffset + MachineRecordSize * m;
    std::copy(record.begin(), record.end(), message.begin() + static_cast<std::ptrdiff_t>(at));
    // The module's connections count while it is heard.
    if ((record[2] & TriggerOnlineFlag) != 0) message[at + 2] |= connections[m];
  }
  return message;
}

std::string Describe(std::span<const std::uint8_t> message) {
  if (message.size() < 2) return "short message" + Tail(message, 0);
  const std::uint8_t messageClass = message[0];
  const std::uint8_t code = message[1];
  std::string words;
  if (messageClass == Request)
    words = DescribeRequest(code, message);
  else if (messageClass == Gateway)
    words = DescribeGateway(code, message);
  else
    words = DescribeSystem(messageClass, code, message);
  std::string text = Printable(messageClass) + "," + Printable(code) + " " + words;
  if (words == "?") text += Tail(message, 2);
  return text;
}

}  // namespace qd::sim::gateway
