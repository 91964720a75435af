#include "support/rich_system.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "model/system_commands.h"

namespace qd::test {
namespace {

void SetLine(ProgramLine& line, int code, std::initializer_list<std::uint8_t> params,
             std::string comment = "") {
  line.bytes = {};
  line.SetInstruction(code);
  int n = 1;
  for (std::uint8_t p : params)
    line.Param(n++) = p;
  line.comment = std::move(comment);
}

}  // namespace

WorkingConfig FreshConfig() {
  WorkingConfig config;
  ResetSystem(config);
  return config;
}

WorkingConfig RichConfig() {
  WorkingConfig config = FreshConfig();
  SystemConfig& s = config.system;
  s.SystemName = "Laundry <North> & 'Co'";
  s.DefaultInputFilter = "12";
  s.MachineEnabled = {true, false, true, false, false, false, false, false, false, true};
  s.AlarmGroups[0] = {true, true, true, false, true};
  s.AlarmGroups[1] = {false, true, false, false, false};
  s.AlarmGroups[2] = {false, true, true, false, false};
  s.Recipients = {"ops@example.com", "+4512345678", "", "", "", "", "", "night \"shift\""};
  s.ActiveHighCommon = true;
  s.ActiveHighLevel = {true, false, false, true, false, false, true};
  s.ActiveHighExtra = true;
  s.AlarmOnAmountEnabled = true;
  s.AlarmAmount = {"1.01", "250.00", "0.00", "655.35", "0.50", "12.34"};
  s.UsedAmount = {"0.25", "0.00", "100.00", "3.00", "0.01", "9.99"};

  MachineConfig& m1 = s.Machines[0];
  m1.DefaultProgram = 3;
  m1.AllowNoProgram = true;
  m1.SoftnerPump = 7;
  m1.ShortFlushTime = "7";
  m1.LongFlushTime = "20";
  m1.ProgramTimeout = "45";
  m1.Comment = "Front & back";
  m1.Calibration = {"30", "45", "250", "0", "12", "99", "1"};
  m1.Trigger.ChangeType(trigger::TypeElectrolux);
  m1.Trigger.bytes[1] = 20;
  m1.Trigger.bytes[2] = 30;
  m1.Trigger.bytes[3] = 16;
  m1.Trigger.bytes[8] = 0x3F;
  m1.Trigger.bytes[9] = 9;
  m1.Trigger.bytes[10] = 0x0D;  // input 5, falling edge
  m1.Trigger.bytes[11] = 0x02;  // delay 258
  m1.Trigger.bytes[12] = 0x01;
  for (int k = 1; k <= 15; ++k)
    m1.Trigger.SetElectroluxEntry(k, k % 7);

  DosingProgram& p1 = m1.Programs[0];
  p1.Name = "Main wash";
  p1.Comment = "Hot";
  p1.Active = true;
  p1.Softner = false;
  p1.DefaultSoftner = true;
  p1.DefaultLevel = 3;
  SetLine(p1.Lines[0], 8, {0x01, 0x02, 0x03, 0x04, 0x05}, "dose");
  SetLine(p1.Lines[1], 3, {0x0A, 0x1B, 0x2C});
  SetLine(p1.Lines[2], 6, {0x07});
  SetLine(p1.Lines[3], 7, {0x10, 0x27});
  SetLine(p1.Lines[4], 1, {});
  SetLine(p1.Lines[5], 13, {});
  SetLine(p1.Lines[23], 10, {}, "last <b>");
  m1.Programs[1].Name = "Program 3";  // not its own default name
  m1.Programs[2].Active = true;
  m1.Programs[2].DefaultLevel = 0;
  m1.Programs[2].Comment = "third";
  m1.Programs[5].Softner = false;
  m1.Programs[5].DefaultSoftner = false;
  m1.Programs[5].DefaultLevel = 1;

  s.Machines[1].Comment = "spare";
  s.Machines[1].Trigger.ChangeType(trigger::TypeNone);

  MachineConfig& m3 = s.Machines[2];
  m3.Trigger.ChangeType(trigger::TypeMieleLogic);
  struct Field {
    int offset, width;
    const char* text;
  };
  for (const Field& f :
       {Field{16, 16, "ABCDEFGHIJKLMNOP"}, Field{56, 16, "Softener"}, Field{96, 16, "Level"},
        Field{32, 8, "Cotton"}, Field{40, 8, "Synth"}, Field{48, 8, "Delicate"}, Field{72, 8, "On"},
        Field{88, 8, "Soft 2"}, Field{112, 8, "Hi"}, Field{120, 8, "Mid"}, Field{128, 8, "Lo"}}) {
    m3.Trigger.SetFieldText(f.offset, f.width, f.text);
  }
  m3.Trigger.bytes[10] = 0x10;  // softener 2 active
  SetLine(m3.Programs[3].Lines[0], 11, {0x13, 0x00, 0xFF, 0x80, 0x01}, "hv");
  m3.Programs[3].Name = "Wool";

  MachineConfig& m10 = s.Machines[9];
  m10.Trigger.ChangeType(trigger::TypeMieleEthernet);
  m10.Trigger.SetMachineSerialNumber(0xFFFFFFFE);
  m10.Trigger.SetMachineID(123456789);
  m10.DefaultProgram = 6;
  m10.SoftnerPump = 1;
  m10.Comment = "Last machine";
  return config;
}

void ExpectSameSystem(const SystemConfig& expected, const SystemConfig& actual) {
  EXPECT_EQ(expected.SystemName, actual.SystemName);
  EXPECT_EQ(expected.DefaultInputFilter, actual.DefaultInputFilter);
  EXPECT_EQ(expected.MachineEnabled, actual.MachineEnabled);
  EXPECT_EQ(expected.AlarmGroups, actual.AlarmGroups);
  EXPECT_EQ(expected.Recipients, actual.Recipients);
  EXPECT_EQ(expected.ActiveHighCommon, actual.ActiveHighCommon);
  EXPECT_EQ(expected.ActiveHighLevel, actual.ActiveHighLevel);
  EXPECT_EQ(expected.ActiveHighExtra, actual.ActiveHighExtra);
  EXPECT_EQ(expected.AlarmOnAmountEnabled, actual.AlarmOnAmountEnabled);
  EXPECT_EQ(expected.AlarmAmount, actual.AlarmAmount);
  EXPECT_EQ(expected.UsedAmount, actual.UsedAmount);
  for (int m = 0; m < MachineCount; ++m) {
    SCOPED_TRACE("machine " + std::to_string(m + 1));
    const MachineConfig& e = expected.Machines[m];
    const MachineConfig& a = actual.Machines[m];
    EXPECT_EQ(e.DefaultProgram, a.DefaultProgram);
    EXPECT_EQ(e.AllowNoProgram, a.AllowNoProgram);
    EXPECT_EQ(e.SoftnerPump, a.SoftnerPump);
    EXPECT_EQ(e.ShortFlushTime, a.ShortFlushTime);
    EXPECT_EQ(e.LongFlushTime, a.LongFlushTime);
    EXPECT_EQ(e.ProgramTimeout, a.ProgramTimeout);
    EXPECT_EQ(e.Comment, a.Comment);
    EXPECT_EQ(e.Calibration, a.Calibration);
    EXPECT_EQ(e.Trigger.bytes, a.Trigger.bytes);
    for (int p = 0; p < ProgramCount; ++p) {
      SCOPED_TRACE("program " + std::to_string(p + 1));
      const DosingProgram& ep = e.Programs[p];
      const DosingProgram& ap = a.Programs[p];
      EXPECT_EQ(ep.Name, ap.Name);
      EXPECT_EQ(ep.Comment, ap.Comment);
      EXPECT_EQ(ep.Active, ap.Active);
      EXPECT_EQ(ep.Softner, ap.Softner);
      EXPECT_EQ(ep.DefaultSoftner, ap.DefaultSoftner);
      EXPECT_EQ(ep.DefaultLevel, ap.DefaultLevel);
      for (int l = 0; l < DosingProgram::LineCount; ++l) {
        EXPECT_EQ(ep.Lines[l].bytes, ap.Lines[l].bytes) << "line " << l + 1;
        EXPECT_EQ(ep.Lines[l].comment, ap.Lines[l].comment) << "line " << l + 1;
      }
    }
  }
}

}  // namespace qd::test
