#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "model/image_builder.h"
#include "model/image_parser.h"
#include "model/system_commands.h"
#include "model/system_setup.h"
#include "support/rich_system.h"

namespace qd {
namespace {

using test::FreshConfig;
using test::kBuildTime;
using test::RichConfig;

// Offsets of the memory map, spelled out here rather than taken from the code under test.
constexpr std::size_t kText = 0x3D00;
constexpr std::size_t kTextSize = 9600;
std::size_t Machine(int m) {
  return 0x400 + 1456 * (m - 1);
}
std::size_t Program(int m, int p) {
  return Machine(m) + 256 + 200 * (p - 1);
}
std::size_t Line(int m, int p, int l) {
  return Program(m, p) + 8 + 8 * (l - 1);
}

int U16(const WorkingConfig& c, std::size_t at) {
  return c.image.bytes[at] | c.image.bytes[at + 1] << 8;
}
void PutU16(WorkingConfig& c, std::size_t at, int value) {
  c.image.bytes[at] = static_cast<std::uint8_t>(value);
  c.image.bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
std::string Bytes(const WorkingConfig& c, std::size_t at, std::size_t n) {
  return std::string(c.image.bytes.begin() + at, c.image.bytes.begin() + at + n);
}
std::vector<int> Values(const WorkingConfig& c, std::size_t at, std::size_t n) {
  return std::vector<int>(c.image.bytes.begin() + at, c.image.bytes.begin() + at + n);
}
// The text whose offset is in the 16-bit field at `field`, read straight from the area.
std::string Stored(const WorkingConfig& c, std::size_t field) {
  std::string text;
  for (std::size_t at = kText + U16(c, field); at < kText + kTextSize && c.image.bytes[at] != 0; ++at) {
    text += static_cast<char>(c.image.bytes[at]);
  }
  return text;
}
bool AllZero(const WorkingConfig& c, std::size_t from, std::size_t to) {
  return std::all_of(c.image.bytes.begin() + from, c.image.bytes.begin() + to, [](auto b) { return b == 0; });
}
BuildResult Build(WorkingConfig& c) {
  return BuildImage(c, kBuildTime);
}

TEST(ControllerImageBuild, NewSystemHasNoTextsAndTheNewSystemValues) {
  WorkingConfig c;
  const BuildResult r = NewSystem(c, kBuildTime);
  EXPECT_EQ(r.dataLength, 0x3D20);
  EXPECT_EQ(c.image.dataLength, 0x3D20);
  EXPECT_EQ(UsedTextLabel(r.usedTextPercent), "Used text: 0.0%");
  EXPECT_TRUE(c.image.imageHeld);
  EXPECT_EQ(Bytes(c, 0, 7), std::string("QD310\x01\x01"));
  EXPECT_EQ(U16(c, 0x64), 0x0001);
  EXPECT_EQ(c.image.bytes[0x66], 5);
  for (int m = 1; m <= 10; ++m) {
    SCOPED_TRACE(m);
    const std::size_t r0 = Machine(m);
    EXPECT_EQ(Values(c, r0, 16),
              (std::vector<int>{0, m == 1 ? 0x80 : 0, 0x20, 0, 5, 10, 30, 30, 30, 30, 30, 30, 30, 30, 0, 0}));
    EXPECT_EQ(Values(c, r0 + 32, 4), (std::vector<int>{1, 25, 25, 14}));
    EXPECT_TRUE(AllZero(c, r0 + 36, r0 + 256));
    for (int p = 1; p <= 6; ++p) {
      EXPECT_EQ(c.image.bytes[Program(m, p)], 0x16);  // softener, default softener, level "Mid"
      EXPECT_TRUE(AllZero(c, Program(m, p) + 1, Program(m, p) + 200));
    }
  }
  EXPECT_TRUE(AllZero(c, kText, kText + kTextSize));
}

TEST(ControllerImageBuild, DataLengthPadsTheTextToSixteenBytesWhileThereIsRoom) {
  EXPECT_EQ(DataLengthForText(1), 0x3D20);
  EXPECT_EQ(DataLengthForText(4), 0x3D20);
  EXPECT_EQ(DataLengthForText(15), 0x3D20);
  EXPECT_EQ(DataLengthForText(16), 0x3D30);
  EXPECT_EQ(DataLengthForText(17), 0x3D30);
  EXPECT_EQ(DataLengthForText(9550), 0x3D00 + 9568);
  EXPECT_EQ(DataLengthForText(9568), 0x6280);
  EXPECT_EQ(DataLengthForText(9590), 0x6280);
  EXPECT_EQ(DataLengthForText(9600), 0x6280);
}

TEST(ControllerImageBuild, SingleShortTextStartsAtOffsetOne) {
  WorkingConfig c = FreshConfig();
  c.system.Machines[0].Comment = "AB";
  const BuildResult r = Build(c);
  EXPECT_EQ(U16(c, Machine(1) + 14), 1);
  EXPECT_EQ(Bytes(c, kText, 5), std::string("\0AB\0\0", 5));
  EXPECT_EQ(r.dataLength, 0x3D20);
  EXPECT_DOUBLE_EQ(r.usedTextPercent, 2 * 100.0 / 9600);
  EXPECT_EQ(UsedTextLabel(r.usedTextPercent), "Used text: 0.0%");

  const ParseResult parsed = ParseImage(c);
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_EQ(parsed.textInUse, 4u);
  EXPECT_EQ(UsedTextLabel(parsed.usedTextPercent), "Used text: 0.0%");
  EXPECT_EQ(c.system.Machines[0].Comment, "AB");
}

TEST(ControllerImageBuild, ProgramNameIsStoredOnlyWhenItDiffersFromItsOwnDefault) {
  WorkingConfig c = FreshConfig();
  c.system.Machines[0].Programs[2].Name = "Program 3";
  c.system.Machines[0].Programs[1].Name = "Program 3";
  Build(c);
  EXPECT_EQ(U16(c, Program(1, 3) + 1), 0);
  EXPECT_EQ(U16(c, Program(1, 2) + 1), 1);
  EXPECT_EQ(Stored(c, Program(1, 2) + 1), "Program 3");
}

TEST(ControllerImageBuild, TextsArePackedNamesFirstThenCommentsThenLineComments) {
  WorkingConfig c = FreshConfig();
  auto& m = c.system.Machines;
  m[0].Programs[1].Name = "Wash";
  m[1].Programs[0].Name = "Rinse";
  m[0].Comment = "C1";
  m[0].Programs[5].Comment = "P6";
  m[1].Comment = "C1";  // equal texts are stored once per occurrence
  m[0].Programs[0].Lines[23].comment = "x";
  m[0].Programs[1].Lines[0].comment = "y";
  m[1].Programs[0].Lines[0].comment = "z";
  const BuildResult r = Build(c);
  EXPECT_EQ(U16(c, Program(1, 2) + 1), 1);
  EXPECT_EQ(U16(c, Program(2, 1) + 1), 6);
  EXPECT_EQ(U16(c, Machine(1) + 14), 12);
  EXPECT_EQ(U16(c, Program(1, 6) + 3), 15);
  EXPECT_EQ(U16(c, Machine(2) + 14), 18);
  EXPECT_EQ(U16(c, Line(1, 1, 24) + 6), 21);
  EXPECT_EQ(U16(c, Line(1, 2, 1) + 6), 23);
  EXPECT_EQ(U16(c, Line(2, 1, 1) + 6), 25);
  EXPECT_EQ(Bytes(c, kText, 28), std::string("\0Wash\0Rinse\0C1\0P6\0C1\0x\0y\0z\0\0", 28));
  EXPECT_EQ(r.dataLength, 0x3D30);  // u = 27, z = 21
}

TEST(ControllerImageBuild, TextThatNoLongerFitsIsDroppedButALaterShorterOneIsStored) {
  WorkingConfig c = FreshConfig();
  MachineConfig& m1 = c.system.Machines[0];
  m1.Comment = std::string(9590, 'a');           // offsets 1..9590, NUL at 9591
  m1.Programs[0].Comment = std::string(8, 'b');  // needs 9 of the 8 bytes left
  m1.Programs[1].Comment = std::string(7, 'c');  // 9592..9598, NUL at 9599
  m1.Programs[0].Lines[0].comment = "d";         // the area is full
  const BuildResult r = Build(c);
  EXPECT_EQ(U16(c, Machine(1) + 14), 1);
  EXPECT_EQ(U16(c, Program(1, 1) + 3), 0);
  EXPECT_EQ(U16(c, Program(1, 2) + 3), 9592);
  EXPECT_EQ(U16(c, Line(1, 1, 1) + 6), 0);
  EXPECT_EQ(Bytes(c, kText + 9590, 10), std::string("a\0ccccccc\0", 10));
  EXPECT_EQ(r.dataLength, 0x6280);
  EXPECT_EQ(UsedTextLabel(r.usedTextPercent), "Used text: 100.0%");
}

TEST(ControllerImageBuild, PaddingStopsAtTheEndOfTheArea) {
  WorkingConfig nearly = FreshConfig();
  nearly.system.Machines[0].Comment = std::string(9560, 'a');  // u = 9562
  const BuildResult r1 = Build(nearly);
  EXPECT_EQ(r1.dataLength, 0x3D00 + 9584);
  EXPECT_EQ(UsedTextLabel(r1.usedTextPercent), "Used text: 99.6%");
  EXPECT_TRUE(AllZero(nearly, kText + 9561, kText + kTextSize));

  WorkingConfig full = FreshConfig();
  full.system.Machines[0].Comment = std::string(9588, 'a');  // u = 9590, only 10 bytes of padding fit
  EXPECT_EQ(Build(full).dataLength, 0x6280);
}

TEST(ControllerImageBuild, FixedTextFieldsAreCutToTheirWidth) {
  WorkingConfig c = FreshConfig();
  c.system.SystemName = std::string(45, 'N');
  c.system.Recipients[0] = std::string(60, 'r');
  c.system.Recipients[1] = "second";
  c.system.Recipients[7] = std::string(50, 'z');
  Build(c);
  EXPECT_EQ(Bytes(c, 0x20, 41), std::string(40, 'N') + '\0');
  EXPECT_EQ(Bytes(c, 0x84, 51), std::string(50, 'r') + '\0');
  EXPECT_EQ(Bytes(c, 0x84 + 51, 7), std::string("second\0", 7));
  EXPECT_EQ(Bytes(c, 0x84 + 7 * 51, 51), std::string(50, 'z') + '\0');
}

TEST(ControllerImageLayout, SystemWideSettings) {
  WorkingConfig c = RichConfig();
  c.system.AlarmAmount[0] = "1,005";
  c.system.AlarmAmount[1] = "abc";  // an invalid alarm amount leaves both slots 0
  c.system.UsedAmount[1] = "2";
  c.system.AlarmAmount[2] = "7";
  c.system.UsedAmount[2] = "x";  // an invalid used amount leaves the used slot 0
  Build(c);
  EXPECT_EQ(Bytes(c, 0x20, 23), std::string("Laundry <North> & 'Co'") + '\0');
  EXPECT_EQ(c.image.bytes[0x66], 12);
  EXPECT_EQ(U16(c, 0x64), 0x0205);
  EXPECT_EQ(c.image.bytes[Machine(1) + 1], 0xC0);  // enabled, allow no program
  EXPECT_EQ(c.image.bytes[Machine(2) + 1], 0x00);
  EXPECT_EQ(c.image.bytes[Machine(3) + 1], 0x80);
  EXPECT_EQ(c.image.bytes[Machine(10) + 1], 0x80);
  EXPECT_EQ(Values(c, 0x7C, 8), (std::vector<int>{0x2E, 0, 0x04, 0, 0x0C, 0, 0, 0}));
  EXPECT_EQ(Bytes(c, 0x84, 16), std::string("ops@example.com") + '\0');
  EXPECT_EQ(Bytes(c, 0x84 + 51, 12), std::string("+4512345678") + '\0');
  EXPECT_EQ(c.image.bytes[0x84 + 2 * 51], 0);
  EXPECT_EQ(Bytes(c, 0x84 + 7 * 51, 14), std::string("night \"shift\"") + '\0');
  EXPECT_EQ(c.image.bytes[0x21C], 1);
  EXPECT_EQ(c.image.bytes[0x21D], 0x93);  // Extra, #1, #4, #7
  EXPECT_EQ(c.image.bytes[0x230], 1);
  const std::vector<int> alarm = {101, 0, 700, 65535, 50, 1234, 0};
  const std::vector<int> used = {25, 0, 0, 300, 1, 999, 0};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(U16(c, 0x231 + 2 * i), alarm[i]) << "alarm amount " << i + 1;
    EXPECT_EQ(U16(c, 0x23F + 2 * i), used[i]) << "used amount " << i + 1;
  }
  EXPECT_TRUE(AllZero(c, 0x24D, 0x400));

  // The stored hundredths are shown again with the configured separator.
  FillFromSystemData(c);
  EXPECT_EQ(c.system.AlarmAmount[0], "1.01");
  c.decimalSeparator = ',';
  FillFromSystemData(c);
  EXPECT_EQ(c.system.AlarmAmount[0], "1,01");
  EXPECT_EQ(c.system.UsedAmount[2], "0,00");
}

TEST(ControllerImageLayout, MachineRecordsProgramsAndLines) {
  WorkingConfig c = RichConfig();
  MachineConfig& m1 = c.system.Machines[0];
  m1.Calibration = {"300", "250", "251", "-30", "abc", "1000", "99"};  // -30 would wrap to 226
  m1.ShortFlushTime = "300";
  m1.LongFlushTime = "abc";
  m1.ProgramTimeout = "-1";
  m1.Programs[3].DefaultLevel = -1;
  m1.Programs[4].DefaultLevel = 4;
  m1.Programs[0].Lines[1].bytes[0] |= 0xA0;  // reserved bits travel with the line
  m1.Programs[0].Lines[2].bytes[6] = 0x34;   // a stale offset of an empty comment
  m1.Programs[0].Lines[2].bytes[7] = 0x12;
  m1.Trigger.bytes[6] = 0x12;  // module kind and version are copied too
  m1.Trigger.bytes[7] = 0x31;
  m1.Trigger.bytes[200] = 0x77;
  c.system.Machines[1].DefaultProgram = 7;
  c.system.Machines[1].SoftnerPump = 8;
  c.system.Machines[1].AllowNoProgram = true;
  c.system.Machines[3].DefaultProgram = -1;
  c.system.Machines[3].SoftnerPump = -1;
  Build(c);

  const std::size_t r1 = Machine(1);
  EXPECT_EQ(Values(c, r1, 14),
            (std::vector<int>{0x05, 0xC0, 0x23, 7, 44, 0, 0xFF, 250, 250, 250, 0, 0, 250, 99}));
  EXPECT_EQ(Stored(c, r1 + 14), "Front & back");
  EXPECT_TRUE(AllZero(c, r1 + 16, r1 + 32));
  EXPECT_TRUE(std::equal(m1.Trigger.bytes.begin(), m1.Trigger.bytes.end(), c.image.bytes.begin() + r1 + 32));
  const std::vector<int> flags = {0x1B, 0x16, 0x07, 0x1E, 0x1E, 0x08};
  for (int p = 1; p <= 6; ++p) {
    EXPECT_EQ(c.image.bytes[Program(1, p)], flags[p - 1]) << "program " << p;
    EXPECT_TRUE(AllZero(c, Program(1, p) + 5, Program(1, p) + 8));
  }
  EXPECT_EQ(Stored(c, Program(1, 1) + 1), "Main wash");
  EXPECT_EQ(Stored(c, Program(1, 1) + 3), "Hot");
  EXPECT_EQ(Stored(c, Program(1, 2) + 1), "Program 3");
  EXPECT_EQ(U16(c, Program(1, 3) + 1), 0);
  EXPECT_EQ(Stored(c, Program(1, 3) + 3), "third");
  EXPECT_EQ(Values(c, Line(1, 1, 1), 6), (std::vector<int>{0x08, 1, 2, 3, 4, 5}));
  EXPECT_EQ(Stored(c, Line(1, 1, 1) + 6), "dose");
  EXPECT_EQ(Values(c, Line(1, 1, 2), 8), (std::vector<int>{0xA3, 0x0A, 0x1B, 0x2C, 0, 0, 0, 0}));
  EXPECT_EQ(U16(c, Line(1, 1, 3) + 6), 0);
  EXPECT_EQ(Stored(c, Line(1, 1, 24) + 6), "last <b>");
  EXPECT_EQ(Values(c, Machine(2) + 1, 3), (std::vector<int>{0x40, 0x20, 0}));
  EXPECT_EQ(Values(c, Machine(4) + 2, 2), (std::vector<int>{0x20, 0}));
  EXPECT_EQ(Values(c, Machine(10) + 2, 2), (std::vector<int>{0x26, 1}));
  EXPECT_EQ(Values(c, Machine(10) + 32 + 16, 8),
            (std::vector<int>{0xFF, 0xFF, 0xFF, 0xFE, 0x07, 0x5B, 0xCD, 0x15}));
}

TEST(ControllerImageBuild, KeepsLoginCodeAndLogsAndClearsEverythingElse) {
  WorkingConfig c = FreshConfig();
  for (std::size_t i = 0; i < c.image.bytes.size(); ++i)
    c.image.bytes[i] = static_cast<std::uint8_t>(i % 251 + 1);
  std::memcpy(&c.image.bytes[0x226], "ABCDEFGHIJ", 10);
  const auto before = c.image.bytes;
  Build(c);
  EXPECT_EQ(Values(c, 0x67, 7), (std::vector<int>{4, 30, 45, 13, 15, 3, 24}));
  EXPECT_TRUE(AllZero(c, 0x07, 0x20));  // hardware, firmware, serial, reserved
  EXPECT_TRUE(AllZero(c, 0x6E, 0x7C));  // byte 0x6E, controller time, reserved
  EXPECT_EQ(Bytes(c, 0x226, 10), std::string("ABCDEFGH\0J", 10));
  EXPECT_EQ(c.image.SystemLoginCode(), "ABCDEFGH");
  EXPECT_TRUE(AllZero(c, 0x3CE0, kText));
  EXPECT_TRUE(AllZero(c, kText, kText + kTextSize));
  EXPECT_TRUE(std::equal(before.begin() + 0x6280, before.end(), c.image.bytes.begin() + 0x6280));
}

TEST(ControllerImageBuild, RebuildingChangesOnlyTheBuildTime) {
  WorkingConfig c = RichConfig();
  Build(c);
  const auto first = c.image.bytes;
  BuildImage(c, LocalDateTime{2031, 12, 31, 23, 59, 58, 2});
  for (std::size_t i = 0; i < first.size(); ++i) {
    if (i < 0x67 || i >= 0x6E) {
      EXPECT_EQ(first[i], c.image.bytes[i]) << "offset " << i;
    }
  }
  EXPECT_EQ(Values(c, 0x67, 7), (std::vector<int>{2, 58, 59, 23, 31, 12, 31}));
}

TEST(ControllerImageBuild, MasterLoginModeWritesTheCodeField) {
  WorkingConfig c = FreshConfig();
  c.loginCodeEdit = "SECRET12345";
  Build(c);
  EXPECT_TRUE(AllZero(c, 0x226, 0x230));
  c.masterLoginMode = true;
  Build(c);
  EXPECT_EQ(Bytes(c, 0x226, 9), std::string("SECRET12\0", 9));
  c.loginCodeEdit = "XY";
  Build(c);
  EXPECT_EQ(Bytes(c, 0x226, 3), std::string("XY\0", 3));
  EXPECT_EQ(c.image.SystemLoginCode(), "XY");
  EXPECT_EQ(c.image.bytes[0x22E], 0);
}

TEST(ControllerImageTrigger, ElectroluxEntriesUseTheDocumentedNibbles) {
  TriggerSettings t;
  t.ChangeType(trigger::TypeElectrolux);
  t.SetElectroluxEntry(1, 5);
  t.SetElectroluxEntry(2, 3);
  t.SetElectroluxEntry(3, 6);
  t.SetElectroluxEntry(30, 4);
  EXPECT_EQ(t.bytes[16], 0x50);
  EXPECT_EQ(t.bytes[17], 0x63);
  EXPECT_EQ(t.bytes[31], 0x04);
  t.bytes[16] = 0x2F;  // the low nibble of byte 16 is no entry
  t.bytes[30] = 0x7E;
  t.bytes[31] = 0x91;  // the high nibble of byte 31 is no entry either
  EXPECT_EQ(t.ElectroluxEntry(1), 2);
  EXPECT_EQ(t.ElectroluxEntry(2), 3);
  EXPECT_EQ(t.ElectroluxEntry(28), 14);
  EXPECT_EQ(t.ElectroluxEntry(29), 7);
  EXPECT_EQ(t.ElectroluxEntry(30), 1);
}

TEST(ControllerImageTrigger, FullWidthMieleHeaderHasNoTerminatorAndSurvivesTheImage) {
  WorkingConfig c = FreshConfig();
  TriggerSettings& t = c.system.Machines[4].Trigger;
  t.ChangeType(trigger::TypeMieleLogic);
  t.SetFieldText(32, 8, "Cotton");
  t.SetFieldText(16, 16, "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(std::string(t.bytes.begin() + 16, t.bytes.begin() + 38), "ABCDEFGHIJKLMNOPCotton");
  EXPECT_EQ(t.FieldText(16, 16), "ABCDEFGHIJKLMNOP");
  Build(c);
  EXPECT_EQ(Bytes(c, Machine(5) + 32 + 16, 16), "ABCDEFGHIJKLMNOP");
  ASSERT_TRUE(ParseImage(c).ok);
  EXPECT_EQ(c.system.Machines[4].Trigger.FieldText(16, 16), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(c.system.Machines[4].Trigger.FieldText(32, 8), "Cotton");

  TriggerSettings shorter = c.system.Machines[4].Trigger;
  shorter.SetFieldText(16, 16, "Short");
  EXPECT_EQ(std::string(shorter.bytes.begin() + 16, shorter.bytes.begin() + 32),
            std::string("Short") + std::string(11, '\0'));
}

TEST(ControllerImageParse, ReproducesTheBuiltConfiguration) {
  WorkingConfig built = RichConfig();
  Build(built);
  WorkingConfig read = FreshConfig();
  read.system.SystemName = "stale";
  read.system.Machines[4].Comment = "stale";
  read.image = built.image;
  read.image.imageHeld = false;
  const ParseResult r = ParseImage(read);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(read.image.imageHeld);

  SystemConfig expected = built.system;
  for (int m = 0; m < MachineCount; ++m) {
    for (int p = 0; p < ProgramCount; ++p) {
      DosingProgram& program = expected.Machines[m].Programs[p];
      if (program.Name == DefaultProgramName(p + 1)) program.Name = "";  // not stored, comes back empty
      for (int l = 0; l < DosingProgram::LineCount; ++l) {               // lines keep their comment offsets
        program.Lines[l].bytes[6] = built.image.bytes[Line(m + 1, p + 1, l + 1) + 6];
        program.Lines[l].bytes[7] = built.image.bytes[Line(m + 1, p + 1, l + 1) + 7];
      }
    }
  }
  EXPECT_EQ(expected.Machines[0].Programs[1].Name, "Program 3");
  EXPECT_EQ(expected.Machines[0].Programs[2].Name, "");
  test::ExpectSameSystem(expected, read.system);

  Build(read);
  EXPECT_TRUE(
      std::equal(built.image.bytes.begin(), built.image.bytes.begin() + 0x6280, read.image.bytes.begin()));
}

TEST(ControllerImageParse, ClearEnableBitKeepsTheNewSystemStateAndBadSelectionsAreIgnored) {
  WorkingConfig c = FreshConfig();
  c.system.MachineEnabled = {false, true, false, false, false, false, false, false, false, false};
  c.system.Machines[1].DefaultProgram = 6;
  c.system.Machines[1].SoftnerPump = 3;
  c.system.Machines[1].ShortFlushTime = "300";
  Build(c);
  c.image.bytes[Machine(3) + 1] = 0x80;  // the mask decides, not the record's flag
  c.image.bytes[Machine(3) + 2] = 0x27;  // default program 7: not in the list
  c.image.bytes[Machine(3) + 3] = 0x08;  // softener pump 8: not in the list
  ASSERT_TRUE(ParseImage(c).ok);
  EXPECT_EQ(c.system.MachineEnabled,
            (std::array<bool, 10>{true, true, false, false, false, false, false, false, false, false}));
  EXPECT_EQ(c.system.Machines[1].DefaultProgram, 6);
  EXPECT_EQ(c.system.Machines[1].SoftnerPump, 3);
  EXPECT_EQ(c.system.Machines[1].ShortFlushTime, "44");
  EXPECT_EQ(c.system.Machines[2].DefaultProgram, 0);
  EXPECT_EQ(c.system.Machines[2].SoftnerPump, 0);
}

TEST(ControllerImageParse, AcceptsEveryMinorOfFormatOneOnly) {
  WorkingConfig source = RichConfig();
  Build(source);

  WorkingConfig minor = FreshConfig();
  minor.image = source.image;
  minor.image.bytes[0x06] = 7;
  ASSERT_TRUE(ParseImage(minor).ok);
  EXPECT_EQ(minor.system.SystemName, source.system.SystemName);

  WorkingConfig major = FreshConfig();
  major.image = source.image;
  major.image.bytes[0x05] = 2;
  major.image.bytes[0x06] = 0;
  std::memcpy(&major.image.bytes[0x226], "CODE1234X", 9);
  const ParseResult refused = ParseImage(major);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.error, "Bad data format or version: 2.0");
  EXPECT_EQ(major.loginCodeEdit, "CODE1234");
  EXPECT_EQ(major.image.bytes[0x22E], 0);
  EXPECT_FALSE(major.image.imageHeld);
  EXPECT_EQ(major.system.SystemName, "");
  EXPECT_EQ(major.system.MachineEnabled,
            (std::array<bool, 10>{true, false, false, false, false, false, false, false, false, false}));
  EXPECT_EQ(major.system.Machines[0].Comment, "");
  EXPECT_EQ(major.system.Machines[0].Programs[0].Name, "Program 1");
  // The soap amount page of a new system keeps what the buffer holds.
  EXPECT_EQ(major.system.AlarmAmount, source.system.AlarmAmount);
  EXPECT_TRUE(major.system.AlarmOnAmountEnabled);

  WorkingConfig magic = FreshConfig();
  magic.image = source.image;
  magic.image.bytes[0x04] = '1';
  const ParseResult wrongMagic = ParseImage(magic);
  EXPECT_FALSE(wrongMagic.ok);
  EXPECT_EQ(wrongMagic.error, "Bad data format or version: 1.1");
  EXPECT_EQ(magic.system.SystemName, "");
}

TEST(ControllerImageParse, UsedTextCountsUpToTheFirstDoubleZero) {
  WorkingConfig c = FreshConfig();
  Build(c);
  ParseResult r = ParseImage(c);
  EXPECT_EQ(r.textInUse, 1u);

  std::fill(c.image.bytes.begin() + kText + 1, c.image.bytes.begin() + kText + kTextSize, 'x');
  c.image.bytes[kText + 4800] = 0;
  c.image.bytes[kText + 4801] = 0;
  r = ParseImage(c);
  EXPECT_EQ(r.textInUse, 4801u);
  EXPECT_EQ(UsedTextLabel(r.usedTextPercent), "Used text: 50.0%");

  c.image.bytes[kText + 4801] = 'x';
  r = ParseImage(c);
  EXPECT_EQ(r.textInUse, 9600u);
  EXPECT_EQ(UsedTextLabel(r.usedTextPercent), "Used text: 100.0%");
}

TEST(ControllerImageParse, TextOffsetsNeverReadOutsideTheArea) {
  WorkingConfig c = FreshConfig();
  Build(c);
  std::fill(c.image.bytes.begin() + 0x6280, c.image.bytes.end(), 'Z');
  std::fill(c.image.bytes.begin() + kText + 9590, c.image.bytes.begin() + kText + kTextSize, 'q');
  PutU16(c, Machine(1) + 14, 0xFFFF);
  PutU16(c, Program(1, 1) + 1, 9600);
  PutU16(c, Program(1, 1) + 3, 9595);  // runs to the end of the area without a NUL
  PutU16(c, Line(1, 1, 1) + 6, 9599);
  ASSERT_TRUE(ParseImage(c).ok);
  const MachineConfig& m1 = c.system.Machines[0];
  EXPECT_EQ(m1.Comment, "");
  EXPECT_EQ(m1.Programs[0].Name, "");
  for (const std::string& text : {m1.Programs[0].Comment, m1.Programs[0].Lines[0].comment}) {
    EXPECT_EQ(text.find_first_not_of('q'), std::string::npos) << text;
    EXPECT_LE(text.size(), 5u);
  }
  EXPECT_EQ(c.image.TextAt(0xFFFF), "");
  EXPECT_EQ(c.image.TextAt(9600), "");
  const std::string last = c.image.TextAt(9598);
  EXPECT_TRUE(last == "" || last == "qq") << last;
}

TEST(ControllerImageParse, ShowsTheControllerClockAndTheLoginCode) {
  WorkingConfig c = FreshConfig();
  Build(c);
  const std::uint8_t clock[] = {30, 45, 13, 15, 3, 24};
  std::memcpy(&c.image.bytes[0x6F], clock, sizeof clock);
  std::memcpy(&c.image.bytes[0x226], "PASS", 5);
  ASSERT_TRUE(ParseImage(c).ok);
  EXPECT_EQ(ControllerDateText(c.image), "Date: 2024-03-15 13:45:30");
  EXPECT_EQ(c.loginCodeEdit, "PASS");
}

}  // namespace
}  // namespace qd
