#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "status_frames.h"

// The gateway server's messages (class, code, data; texts end with a zero byte, numbers are
// little-endian). From the PC:
//   'A','@' user 0 password 0     log in             'A','B' serial 0       connect to a system
//   'A','C'                       read the memory    0x00,'X' 0x1E 0x00     status request
//   0x00,'Q' offset16 count8 data write a block      0x00,'S' 0x00 0x00     confirm what was written
//   0x03,'%' machine 0x00         reset one machine  0x03,'&' 0x00 0x00     reset all machines
//   0x06,' ' 0x00 0x00            reset consumption log
//   0x07,'"' 0x00 0x00            clear the alarm log
// To the PC:
//   'B','D' serial 0 name 0 inUse 0 address 0   one list entry; all four empty ends the list
//   'B','E' result [serial 0 access 0]          connect result: 0 accepted, 1 not found, 2 in use
//   'B','F' address 0                           the system's address, or "Offline"
//   'B','H' offset16 count16 data               a block of the memory
//   'B','I'                                     user name or password refused
//   'C','S' sum16                               16-bit sum of the bytes written since the last confirm
//   'C','!' / 'C','#' / 'C','%' / 'C','&'       log reset, alarm log cleared, machine(s) reset
//   'C','X' status                              below
//
// Status 'C','X' (116 bytes):
//   2 pumps running (bits 0..6) | 3 0 | 4..5 word: bits 0..9 machine signals, 10 flush water, 11 flush
//   drain, 12 alarm output | 6..15 0 | 16 + 10m machine m: line, program, flags, inputs, percent, 5 x 0
//   Flags: bit 0 trigger online, bit 1 keyboard connected, bit 2 keyboard locked, bit 3 serial connection.
namespace qd::sim::gateway {

inline constexpr std::uint8_t Request = 'A';
inline constexpr std::uint8_t Gateway = 'B';
inline constexpr std::uint8_t System = 'C';

inline constexpr std::uint8_t Login = '@';
inline constexpr std::uint8_t Connect = 'B';
inline constexpr std::uint8_t Read = 'C';

inline constexpr std::uint8_t ToSystem = 0x00;
inline constexpr std::uint8_t ToMachines = 0x03;
inline constexpr std::uint8_t ToConsumptionLog = 0x06;
inline constexpr std::uint8_t ToAlarmLog = 0x07;

inline constexpr std::uint8_t Status = 'X';
inline constexpr std::uint8_t WriteBlock = 'Q';
inline constexpr std::uint8_t Confirm = 'S';
inline constexpr std::uint8_t ResetMachine = '%';
inline constexpr std::uint8_t ResetAllMachines = '&';
inline constexpr std::uint8_t ResetLog = ' ';
inline constexpr std::uint8_t ClearAlarmLog = '"';

inline constexpr std::uint8_t ListEntry = 'D';
inline constexpr std::uint8_t ConnectResult = 'E';
inline constexpr std::uint8_t Address = 'F';
inline constexpr std::uint8_t DataBlock = 'H';
inline constexpr std::uint8_t LoginRefused = 'I';
inline constexpr std::uint8_t LogResetDone = '!';
inline constexpr std::uint8_t AlarmLogCleared = '#';

inline constexpr std::uint8_t Accepted = 0;
inline constexpr std::uint8_t NotFound = 1;
inline constexpr std::uint8_t InUse = 2;

inline constexpr std::size_t MachineOffset = 16;
inline constexpr std::size_t MachineRecordSize = 10;
inline constexpr std::size_t StatusSize = MachineOffset + MachineRecordSize * MachineCount;
inline constexpr std::uint8_t KeyboardConnectedFlag = 0x02;
inline constexpr std::uint8_t SerialConnectionFlag = 0x08;

inline constexpr std::size_t WriteHeaderSize = 5;  // class, code, offset16, count8
inline constexpr std::size_t MaxWriteCount = 200;
inline constexpr std::string_view Offline = "Offline";

// The text from `offset` up to its zero byte, or up to the end of the message when there is none;
// `offset` moves past it.
std::string TextAt(std::span<const std::uint8_t> message, std::size_t& offset);

struct ListedSystem {
  std::string serial;
  std::string name;
  std::string inUse;
  std::string address;
};

std::vector<std::uint8_t> ListEntryMessage(const ListedSystem& system);
std::vector<std::uint8_t> EndOfListMessage();
std::vector<std::uint8_t> ConnectResultMessage(std::uint8_t result, std::string_view serial = {},
                                               std::string_view access = {});
std::vector<std::uint8_t> AddressMessage(std::string_view address);
std::vector<std::uint8_t> DataBlockMessage(std::uint16_t offset, std::span<const std::uint8_t> data);
std::vector<std::uint8_t> SumMessage(std::uint16_t sum);
std::vector<std::uint8_t> ShortMessage(std::uint8_t messageClass, std::uint8_t code);

// Per machine the bits the gateway adds to the controller's flags: keyboard connected and serial
// connection as the machine's trigger module reports them.
using ConnectionFlags = std::array<std::uint8_t, MachineCount>;

std::vector<std::uint8_t> StatusMessage(const SystemOutputs& outputs,
                                        const std::array<MachineRecord, MachineCount>& machines,
                                        const ConnectionFlags& connections);

// One message in words for the log: "'A','@' login user=service".
std::string Describe(std::span<const std::uint8_t> message);

}  // namespace qd::sim::gateway
