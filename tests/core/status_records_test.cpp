#include "link/status_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace qd::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A controller status frame of `size` bytes with the given length byte, the other bytes `fill`.
Bytes StatusFrame(std::size_t size, std::uint8_t lengthByte, std::uint8_t fill = 0) {
  Bytes frame(size, fill);
  if (size > 0) frame[0] = 0x43;
  if (size > 1) frame[1] = lengthByte;
  return frame;
}

// A trigger module's report from `source` to the controller, `size` bytes, data bytes from byte 6 on.
Bytes TriggerFrame(std::uint8_t command, std::uint8_t source, const Bytes& data,
                   std::uint8_t destination = 1) {
  Bytes frame = {command, static_cast<std::uint8_t>(6 + data.size()), 7, destination, source, 0};
  frame.insert(frame.end(), data.begin(), data.end());
  return frame;
}

Bytes MonitorFrame(const Bytes& data) {
  Bytes frame = {0x51, static_cast<std::uint8_t>(6 + data.size()), 9, 2, 1, 0};
  frame.insert(frame.end(), data.begin(), data.end());
  return frame;
}

// ---- Machine records ----

TEST(MachineStatusRecord, RunningProgramIsOneToSixAndEverythingElseIsNone) {
  for (int value = 0; value < 32; ++value) {
    const int expected = value >= 1 && value <= 6 ? value - 1 : -1;
    // Bits 5..7 of byte 1 are carried along and must not change the program.
    for (std::uint8_t high : {0x00, 0x20, 0x40, 0x60, 0x80, 0xE0}) {
      const auto status =
          MachineStatus::FromBytes(Bytes{0, static_cast<std::uint8_t>(value | high), 0, 0, 0});
      EXPECT_EQ(status.RunningProgram(), expected) << "value " << value << " high " << int(high);
    }
  }
}

TEST(MachineStatusRecord, ReadsEachFlagFromItsOwnBit) {
  EXPECT_EQ(MachineStatus::FromBytes(Bytes{0xC5, 0, 0, 0, 0}).RunningLine(), 5);
  EXPECT_EQ(MachineStatus::FromBytes(Bytes{0x3F, 0, 0, 0, 0}).RunningLine(), 63);

  const auto online = MachineStatus::FromBytes(Bytes{0, 0, 0x01, 0, 0});
  EXPECT_TRUE(online.TriggerOnline());
  EXPECT_FALSE(online.KeyboardConnected());
  EXPECT_FALSE(online.KeyboardLocked());
  EXPECT_FALSE(online.SerialConnection());

  const auto keyboard = MachineStatus::FromBytes(Bytes{0, 0, 0x02, 0, 0});
  EXPECT_TRUE(keyboard.KeyboardConnected());
  EXPECT_FALSE(keyboard.TriggerOnline());
  EXPECT_FALSE(keyboard.KeyboardLocked());

  const auto locked = MachineStatus::FromBytes(Bytes{0, 0, 0x04, 0, 0});
  EXPECT_TRUE(locked.KeyboardLocked());
  EXPECT_FALSE(locked.KeyboardConnected());
  EXPECT_FALSE(locked.SerialConnection());

  const auto serial = MachineStatus::FromBytes(Bytes{0, 0, 0x08, 0, 0});
  EXPECT_TRUE(serial.SerialConnection());
  EXPECT_FALSE(serial.KeyboardLocked());

  const auto none = MachineStatus::FromBytes(Bytes{0, 0, 0xF0, 0, 0});
  EXPECT_FALSE(none.TriggerOnline() || none.KeyboardConnected() || none.KeyboardLocked() ||
               none.SerialConnection());

  EXPECT_EQ(MachineStatus::FromBytes(Bytes{0, 0, 0, 0xE9, 0}).Inputs(), 0x29);
  EXPECT_EQ(MachineStatus::FromBytes(Bytes{0, 0, 0, 0, 200}).Percent(), 200);
}

TEST(MachineStatusRecord, GatewayRecordReadsBytesZeroToThreeOnly) {
  const Bytes record = {0x07, 0x03, 0x0F, 0x3F, 99, 1, 2, 3, 4, 5};
  const auto status = MachineStatus::FromGatewayRecord(record);
  EXPECT_EQ(status.RunningLine(), 7);
  EXPECT_EQ(status.RunningProgram(), 2);
  EXPECT_TRUE(status.TriggerOnline() && status.KeyboardConnected() && status.KeyboardLocked() &&
              status.SerialConnection());
  EXPECT_EQ(status.Inputs(), 0x3F);
  EXPECT_EQ(status.Percent(), 0);
  EXPECT_EQ(MachineStatus::FromGatewayRecord(Bytes{0x07, 0x03}).Bytes(),
            (std::array<std::uint8_t, 5>{0x07, 0x03, 0, 0, 0}));
}

// ---- Controller status, current form ----

TEST(ControllerStatusCurrentForm, KeepsAllSixtyFourBytesAndReadsEachMachineRecord) {
  Bytes frame = StatusFrame(64, 64);
  for (std::size_t i = 2; i < frame.size(); ++i)
    frame[i] = static_cast<std::uint8_t>(i * 7 + 3);
  const ControllerStatus status(frame);
  EXPECT_TRUE(status.IsCurrentForm());
  EXPECT_FALSE(status.WasConverted());
  EXPECT_TRUE(std::equal(frame.begin(), frame.end(), status.Bytes().begin()));
  for (int m = 0; m < MachineCount; ++m) {
    const auto record = status.Machine(m).Bytes();
    for (int k = 0; k < 5; ++k)
      EXPECT_EQ(record[k], frame[14 + 5 * m + k]) << "machine " << m << " byte " << k;
  }
  EXPECT_EQ(status.Machine(-1), MachineStatus());
  EXPECT_EQ(status.Machine(10), MachineStatus());
}

TEST(ControllerStatusCurrentForm, SystemOutputsComeFromBytesSixToNine) {
  Bytes frame = StatusFrame(64, 64);
  frame[6] = 0xFF;  // bit 7 is no pump
  frame[8] = 0x01;
  frame[9] = 0xE2;  // bit 1 = machine 10; bits 5..7 no machine
  ControllerStatus status(frame);
  EXPECT_EQ(status.PumpsRunning(), 0x7F);
  EXPECT_EQ(status.MachineSignals(), 0x201);
  EXPECT_FALSE(status.FlushWater() || status.FlushDrain() || status.AlarmOutput());

  frame[9] = 0x04;
  EXPECT_TRUE(ControllerStatus(frame).FlushWater());
  EXPECT_FALSE(ControllerStatus(frame).FlushDrain() || ControllerStatus(frame).AlarmOutput());
  EXPECT_EQ(ControllerStatus(frame).MachineSignals(), 0x001);  // flush bits are not machine signals
  frame[9] = 0x08;
  EXPECT_TRUE(ControllerStatus(frame).FlushDrain());
  EXPECT_FALSE(ControllerStatus(frame).FlushWater() || ControllerStatus(frame).AlarmOutput());
  frame[9] = 0x10;
  EXPECT_TRUE(ControllerStatus(frame).AlarmOutput());
  EXPECT_FALSE(ControllerStatus(frame).FlushWater() || ControllerStatus(frame).FlushDrain());
}

TEST(ControllerStatusCurrentForm, AnotherLengthByteTakesWhatArrivedButIsNotCurrent) {
  const Bytes frame = StatusFrame(50, 50, 0xAB);
  const ControllerStatus status(frame);
  EXPECT_FALSE(status.IsCurrentForm());
  EXPECT_FALSE(status.WasConverted());
  for (std::size_t i = 0; i < 64; ++i)
    EXPECT_EQ(status.Bytes()[i], i < 50 ? frame[i] : 0) << i;
  EXPECT_EQ(status.PumpsRunning(), 0x2B);

  // Bytes beyond 64 are not part of the status.
  const Bytes longFrame = StatusFrame(70, 64, 0x11);
  const ControllerStatus longStatus(longFrame);
  EXPECT_TRUE(longStatus.IsCurrentForm());
  EXPECT_TRUE(std::equal(longStatus.Bytes().begin(), longStatus.Bytes().end(), longFrame.begin()));
}

// ---- Controller status, older form ----

// Where a bit of the 44-byte form lands in the 64-byte form: its byte, or nothing when it is dropped.
// Bytes 0 and 1 are rewritten, not copied.
std::optional<std::size_t> ConvertedByteOf(std::size_t oldByte, int bit) {
  if (oldByte == 6 || oldByte == 7 || oldByte == 8) return oldByte;
  if (oldByte == 9) return bit <= 3 ? std::optional<std::size_t>(9) : std::nullopt;
  if (oldByte < 14) return std::nullopt;
  const std::size_t machine = (oldByte - 14) / 3;
  const std::size_t field = (oldByte - 14) % 3;
  const std::size_t newByte = 14 + 5 * machine + field;
  if (field == 0) return newByte;
  if (field == 1) return bit <= 6 ? std::optional<std::size_t>(newByte) : std::nullopt;
  return bit == 0 || bit == 2 ? std::optional<std::size_t>(newByte) : std::nullopt;
}

TEST(ControllerStatusOlderForm, EveryBitIsCopiedToItsPlaceOrDropped) {
  for (std::size_t oldByte = 2; oldByte < 44; ++oldByte) {
    for (int bit = 0; bit < 8; ++bit) {
      Bytes frame = StatusFrame(44, 44);
      frame[oldByte] = static_cast<std::uint8_t>(1 << bit);
      const ControllerStatus status(frame);
      ASSERT_TRUE(status.WasConverted());

      std::array<std::uint8_t, 64> expected{};
      expected[0] = 0x43;
      if (const auto target = ConvertedByteOf(oldByte, bit))
        expected[*target] = static_cast<std::uint8_t>(1 << bit);
      EXPECT_EQ(status.Bytes(), expected) << "old byte " << oldByte << " bit " << bit;
    }
  }
}

TEST(ControllerStatusOlderForm, AllOnesGivesTheKeptMasks) {
  Bytes frame = StatusFrame(44, 44, 0xFF);
  frame[0] = 0xEE;  // rewritten as 0x43
  const ControllerStatus status(frame);
  std::array<std::uint8_t, 64> expected{};
  expected[0] = 0x43;
  expected[6] = 0xFF;
  expected[7] = 0xFF;
  expected[8] = 0xFF;
  expected[9] = 0x0F;
  for (int m = 0; m < 10; ++m) {
    expected[14 + 5 * m] = 0xFF;
    expected[15 + 5 * m] = 0x7F;
    expected[16 + 5 * m] = 0x05;
  }
  EXPECT_EQ(status.Bytes(), expected);
  EXPECT_FALSE(status.IsCurrentForm());
  EXPECT_EQ(status.Bytes()[1], 0);
}

TEST(ControllerStatusOlderForm, MachineRecordsMoveToTheirNewPlaces) {
  Bytes frame = StatusFrame(44, 44);
  for (int m = 0; m < 10; ++m) {
    frame[14 + 3 * m] = static_cast<std::uint8_t>(m + 1);          // running line
    frame[15 + 3 * m] = static_cast<std::uint8_t>(m % 6 + 1);      // running program
    frame[16 + 3 * m] = static_cast<std::uint8_t>(m % 2 ? 4 : 1);  // locked or online
  }
  const ControllerStatus status(frame);
  for (int m = 0; m < 10; ++m) {
    const auto machine = status.Machine(m);
    EXPECT_EQ(machine.RunningLine(), m + 1);
    EXPECT_EQ(machine.RunningProgram(), m % 6);
    EXPECT_EQ(machine.KeyboardLocked(), m % 2 == 1);
    EXPECT_EQ(machine.TriggerOnline(), m % 2 == 0);
    EXPECT_EQ(machine.Inputs(), 0);
    EXPECT_EQ(machine.Percent(), 0);
  }
}

TEST(ControllerStatusOlderForm, SystemOutputsAreReadAsReceivedIncludingTheAlarm) {
  Bytes frame = StatusFrame(44, 44);
  frame[6] = 0x55;
  frame[8] = 0x80;
  frame[9] = 0x1E;  // machine 10, water, drain, alarm
  const ControllerStatus status(frame);
  EXPECT_EQ(status.PumpsRunning(), 0x55);
  EXPECT_EQ(status.MachineSignals(), 0x280);
  EXPECT_TRUE(status.FlushWater());
  EXPECT_TRUE(status.FlushDrain());
  EXPECT_TRUE(status.AlarmOutput());
  EXPECT_EQ(status.Bytes()[9], 0x0E);  // the converted frame has no alarm bit
}

// ---- Received length ----

TEST(StatusRecordLength, EveryLengthFromZeroToSeventyReadsOnlyWhatArrived) {
  for (std::size_t size = 0; size <= 70; ++size) {
    SCOPED_TRACE(testing::Message() << "size " << size);

    for (std::uint8_t lengthByte : {std::uint8_t{64}, std::uint8_t{44}, static_cast<std::uint8_t>(size)}) {
      const Bytes frame = StatusFrame(size, lengthByte, 0xFF);
      const ControllerStatus status(frame);
      const bool older = size > 1 && lengthByte == 44;
      EXPECT_EQ(status.WasConverted(), older);
      EXPECT_EQ(status.PumpsRunning(), size > 6 ? 0x7F : 0);
      EXPECT_EQ(status.AlarmOutput(), size > 9);
      EXPECT_EQ(status.MachineSignals(), size > 9 ? 0x3FF : size > 8 ? 0xFF : 0);
      for (int m = 0; m < MachineCount; ++m) {
        const std::size_t first = older ? 14 + 3 * m : 14 + 5 * m;
        EXPECT_EQ(status.Machine(m).RunningLine(), size > first ? 0x3F : 0) << "machine " << m;
      }
      if (!older) {
        for (std::size_t i = 2; i < 64; ++i)
          EXPECT_EQ(status.Bytes()[i], i < size ? 0xFF : 0) << "byte " << i;
      }
    }

    const Bytes report = [&] {
      Bytes bytes(size, 0xFF);
      if (size > 0) bytes[0] = 3;
      if (size > 3) bytes[3] = 1;
      if (size > 4) bytes[4] = 5;
      return bytes;
    }();
    const auto decoded = DecodeTriggerReport(report);
    EXPECT_EQ(decoded.has_value(), size >= 9);
    if (decoded) {
      EXPECT_EQ(decoded->value, 0xFF);
      EXPECT_EQ(decoded->module.has_value(), size >= 11);
      EXPECT_EQ(decoded->electroluxProgram.has_value(), size >= 12);
    }

    Bytes monitor(size, 0xFF);
    if (size > 0) monitor[0] = 0x51;
    EXPECT_EQ(MonitorReplyText(monitor).has_value(), size >= 20);

    const GatewayStatus gateway(std::span<const std::uint8_t>(monitor.data(), size));
    EXPECT_EQ(gateway.PumpsRunning(), size > 2 ? 0x7F : 0);
    for (int m = 0; m < MachineCount; ++m) {
      const std::size_t start = 16 + 10 * static_cast<std::size_t>(m);
      const std::size_t expected = size > start ? std::min<std::size_t>(10, size - start) : 0;
      EXPECT_EQ(gateway.MachineRecord(m).size(), expected) << "machine " << m;
    }
  }
}

// ---- Trigger reports ----

TEST(TriggerReportDecoding, CommandTwoGivesInputsAndValue) {
  const auto report = DecodeTriggerReport(TriggerFrame(2, 7, {0xC5, 0x99, 150, 0x22, 0x21, 4}));
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(report->machine, 4);
  EXPECT_EQ(report->command, 2);
  EXPECT_EQ(report->inputs, 0x05);
  EXPECT_FALSE(report->weightFlag);
  EXPECT_EQ(report->value, 150);
  EXPECT_EQ(report->WeightTenthsKg(), 750);
  // Command 2 carries no module status, whatever follows.
  EXPECT_FALSE(report->module.has_value());
  EXPECT_FALSE(report->electroluxProgram.has_value());
}

TEST(TriggerReportDecoding, BitFiveIsInputSixAndTheWeightFlag) {
  const auto report = DecodeTriggerReport(TriggerFrame(2, 3, {0x20, 0, 255}));
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(report->inputs, 0x20);
  EXPECT_TRUE(report->weightFlag);
  EXPECT_EQ(report->WeightTenthsKg(), 1275);
  EXPECT_FALSE(DecodeTriggerReport(TriggerFrame(2, 3, {0xDF, 0, 0}))->weightFlag);
}

TEST(TriggerReportDecoding, CommandThreeGivesModuleStatusAndElectroluxProgram) {
  const auto report = DecodeTriggerReport(TriggerFrame(3, 12, {0x01, 0, 80, 0xD2, 0x21, 17}));
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(report->machine, 9);
  EXPECT_EQ(report->command, 3);
  ASSERT_TRUE(report->module.has_value());
  EXPECT_EQ(report->module->kind, TriggerModuleStatus::KindQD740);
  EXPECT_TRUE(report->module->serialConnection);
  EXPECT_FALSE(report->module->keyboardConnected);
  EXPECT_EQ(report->module->VersionMajor(), 1);
  EXPECT_EQ(report->module->VersionMinor(), 2);
  EXPECT_EQ(report->electroluxProgram, 17);

  const auto keyboard = DecodeTriggerReport(TriggerFrame(3, 3, {0, 0, 0, 0x21, 0x00, 0}));
  ASSERT_TRUE(keyboard && keyboard->module);
  EXPECT_EQ(keyboard->module->kind, TriggerModuleStatus::KindQD520);
  EXPECT_TRUE(keyboard->module->keyboardConnected);
  EXPECT_FALSE(keyboard->module->serialConnection);
}

TEST(TriggerReportDecoding, ShortCommandThreeKeepsWhatArrived) {
  const auto withoutProgram = DecodeTriggerReport(TriggerFrame(3, 4, {0x03, 0, 9, 0x02, 0x13}));
  ASSERT_TRUE(withoutProgram.has_value());
  ASSERT_TRUE(withoutProgram->module.has_value());
  EXPECT_EQ(withoutProgram->module->firmwareVersion, 0x13);
  EXPECT_FALSE(withoutProgram->electroluxProgram.has_value());

  // Byte 9 alone is not a module status: the version belongs to it.
  const auto withoutVersion = DecodeTriggerReport(TriggerFrame(3, 4, {0x03, 0, 9, 0x02}));
  ASSERT_TRUE(withoutVersion.has_value());
  EXPECT_EQ(withoutVersion->inputs, 0x03);
  EXPECT_EQ(withoutVersion->value, 9);
  EXPECT_FALSE(withoutVersion->module.has_value());

  EXPECT_FALSE(DecodeTriggerReport(TriggerFrame(3, 4, {0x03, 0})).has_value());
}

TEST(TriggerReportDecoding, OnlyReportsFromTriggerModulesToTheController) {
  const Bytes data = {1, 0, 2, 0x01, 0x11, 0};
  EXPECT_TRUE(DecodeTriggerReport(TriggerFrame(2, 3, data)).has_value());
  EXPECT_TRUE(DecodeTriggerReport(TriggerFrame(3, 12, data)).has_value());
  EXPECT_FALSE(DecodeTriggerReport(TriggerFrame(2, 2, data)).has_value());
  EXPECT_FALSE(DecodeTriggerReport(TriggerFrame(2, 13, data)).has_value());
  EXPECT_FALSE(DecodeTriggerReport(TriggerFrame(2, 5, data, 2)).has_value());
  EXPECT_FALSE(DecodeTriggerReport(TriggerFrame(2, 5, data, 0)).has_value());
  for (std::uint8_t command : {0x00, 0x01, 0x04, 0x40, 0x43, 0x82, 0x83})
    EXPECT_FALSE(DecodeTriggerReport(TriggerFrame(command, 5, data)).has_value()) << int(command);
}

// ---- Monitor replies ----

TEST(MonitorReply, KnownSerialAndUnitIdRenderExactly) {
  const auto text = MonitorReplyText(
      MonitorFrame({0x17, 0x00, 0xBC, 0x61, 0x4E, 0x00, 0x00, 0x00, 0x2A, 0x0A, 0xB0, 0x00, 0xFF, 0x3C}));
  EXPECT_EQ(text, "M=07, Serial=12345678, UnitID=00000042, Status= 0A B0 00 FF, Softner=3C");
}

TEST(MonitorReply, MachineZeroShowsAQuestionMark) {
  const auto text = MonitorReplyText(MonitorFrame({0x10, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0, 0}));
  EXPECT_EQ(text, "M= ?, Serial=00000001, UnitID=00000002, Status= 00 00 00 00, Softner=00");
}

TEST(MonitorReply, NumbersAreUnsignedAndHighFlagBitsAreIgnored) {
  const auto text =
      MonitorReplyText(MonitorFrame({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00, 1, 2, 3, 4, 5}));
  EXPECT_EQ(text, "M=15, Serial=4294967295, UnitID=2147483648, Status= 01 02 03 04, Softner=05");
}

TEST(MonitorReply, NothingWithoutTheValidBitOrForAnotherCommand) {
  EXPECT_FALSE(MonitorReplyText(MonitorFrame({0xEF, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0, 0})).has_value());
  Bytes frame = MonitorFrame({0x11, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 0, 0});
  EXPECT_TRUE(MonitorReplyText(frame).has_value());
  frame[0] = 0x43;
  EXPECT_FALSE(MonitorReplyText(frame).has_value());
}

TEST(MonitorReply, TimePrefixIsZeroPadded) {
  EXPECT_EQ(MonitorTimePrefix(9, 5, 3, 7), "09:05:03.007> ");
  EXPECT_EQ(MonitorTimePrefix(23, 59, 59, 999), "23:59:59.999> ");
}

// ---- Gateway status ----

TEST(GatewayStatusMessage, SystemOutputsAndMachineRecords) {
  Bytes message(116, 0);
  message[0] = 'C';
  message[1] = 'X';
  message[2] = 0x85;
  message[4] = 0x03;
  message[5] = 0xFE;  // machine 10 and bits beyond, water, drain
  for (std::size_t i = 16; i < message.size(); ++i)
    message[i] = static_cast<std::uint8_t>(i);
  const GatewayStatus status(message);
  EXPECT_EQ(status.PumpsRunning(), 0x05);
  EXPECT_EQ(status.MachineSignals(), 0x203);
  EXPECT_TRUE(status.FlushWater());
  EXPECT_TRUE(status.FlushDrain());

  const auto record = status.MachineRecord(2);
  ASSERT_EQ(record.size(), 10u);
  EXPECT_EQ(record.front(), 36);
  EXPECT_EQ(record.back(), 45);
  EXPECT_EQ(status.Machine(9).RunningLine(), 106 & 0x3F);
  EXPECT_TRUE(status.MachineRecord(-1).empty());
  EXPECT_TRUE(status.MachineRecord(10).empty());

  message[5] = 0x04;
  EXPECT_TRUE(GatewayStatus(message).FlushWater());
  EXPECT_FALSE(GatewayStatus(message).FlushDrain());
}

}  // namespace
}  // namespace qd::link
