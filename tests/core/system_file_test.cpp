#include "model/system_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "model/instruction_set.h"
#include "model/system_commands.h"
#include "support/rich_system.h"

namespace qd {
namespace {

using test::FreshConfig;
using test::kBuildTime;
using test::RichConfig;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>";

std::string Doc(const std::string& body) {
  return kDeclaration + "\r\n<QDsystem Version=\"1.0\">" + body + "</QDsystem>\r\n";
}

FileResult Read(WorkingConfig& config, const std::string& body) {
  return ReadSystemFileText(config, Doc(body));
}

// The readable layout: one element a line, two blanks a level below the root, CR LF.
class Layout {
 public:
  explicit Layout(int depth = 0) : depth_(depth) {}
  Layout& Line(const std::string& text) {
    text_ += std::string(2 * depth_, ' ') + text + "\r\n";
    return *this;
  }
  Layout& Open(const std::string& name, const std::string& attributes = "") {
    Line("<" + name + attributes + ">");
    ++depth_;
    return *this;
  }
  Layout& Close(const std::string& name) {
    --depth_;
    return Line("</" + name + ">");
  }
  Layout& Value(const std::string& name, const std::string& value) {
    return Line(value.empty() ? "<" + name + "/>" : "<" + name + ">" + value + "</" + name + ">");
  }
  Layout& EmptyLines(int count) {
    for (int i = 0; i < count; ++i)
      Open("L").Value("I", "Empty").Close("L");
    return *this;
  }
  const std::string& Text() const { return text_; }

 private:
  int depth_;
  std::string text_;
};

std::string N(int n) {
  return std::to_string(n);
}

std::string NewSystemFile() {
  Layout x;
  x.Line(kDeclaration).Open("QDsystem", " Version=\"1.0\"");
  x.Open("MainSetup").Value("SystemName", "").Value("VersionMajor", "1").Value("VersionMinor", "1");
  x.Close("MainSetup").Open("PCsettings").Value("DefaultInputFilter", "5").Close("PCsettings").Open("Alarm");
  for (int g = 0; g < 3; ++g) {
    x.Open("Group" + N(g));
    for (const char* alarm : {"Level", "Water", "TriggerError", "KeyboardError", "DispenseError"}) {
      x.Value(alarm, "False");
    }
    x.Close("Group" + N(g));
  }
  for (int r = 1; r <= 8; ++r)
    x.Value("Recipient" + N(r), "");
  x.Open("ActiveLevel").Value("Common", "False");
  for (int n = 1; n <= 7; ++n)
    x.Value("Level" + N(n), "False");
  x.Value("Extra", "False").Close("ActiveLevel").Open("AlarmOnAmount").Value("Enabled", "False");
  for (int n = 1; n <= 6; ++n)
    x.Value("AlarmAmount" + N(n), "0.00");
  for (int n = 1; n <= 6; ++n)
    x.Value("UsedAmount" + N(n), "0.00");
  x.Close("AlarmOnAmount").Close("Alarm").Open("MachineData");
  for (int m = 1; m <= 10; ++m) {
    x.Open("Machine" + N(m)).Value("Enabled", m == 1 ? "True" : "False").Value("DefaultProgram", "0");
    x.Value("AllowNoProgram", "False").Value("ShortFlushTime", "5").Value("LongFlushTime", "10");
    x.Value("ProgramTimeout", "30").Value("SoftnerPump", "-").Value("Comment", "");
    for (int n = 1; n <= 7; ++n)
      x.Value("Calibration" + N(n), "30");
    x.Open("Trigger").Value("Type", "QD520, Standard").Value("AdjustLow", "25").Value("AdjustHigh", "25");
    x.Value("MaxWeight", "14").Value("LockInputMask", "0").Value("LockInputDelay", "0");
    x.Value("ResetMachineInput", "0")
        .Value("ResetMachineFallingEdge", "False")
        .Value("ResetMachineDelay", "0");
    x.Close("Trigger");
    for (int p = 1; p <= 6; ++p) {
      x.Open("Program").Value("Name", "Program " + N(p)).Value("Active", "False").Value("Softner", "True");
      x.Value("DefaultSoftner", "True").Value("DefaultLevel", "2").EmptyLines(24).Close("Program");
    }
    x.Close("Machine" + N(m));
  }
  x.Close("MachineData").Value("AlarmLog", std::string(512, '0')).Value("DataLog", std::string(14496, '0'));
  return x.Close("QDsystem").Text();
}

// Reports the first differing line instead of two long texts.
void ExpectSameText(const std::string& expected, const std::string& actual) {
  const auto [e, a] = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
  if (e == expected.end() && a == actual.end()) return;
  const std::size_t at = e - expected.begin();
  const std::size_t line = expected.rfind('\n', at == 0 ? 0 : at - 1);
  const std::size_t from = line == std::string::npos ? 0 : line + 1;
  ADD_FAILURE() << "texts differ at byte " << at << "\nexpected: " << expected.substr(from, 100)
                << "\nactual:   " << actual.substr(from, 100);
}

// The text of the first element `name`, from its start tag to its end tag.
std::string ElementText(const std::string& text, const std::string& name) {
  const std::size_t begin = text.find("<" + name + ">");
  const std::size_t end = text.find("</" + name + ">", begin);
  return begin == std::string::npos || end == std::string::npos ? "" : text.substr(begin, end - begin);
}

TEST(SystemFileWriter, NewSystemIsWrittenInTheReadableLayout) {
  WorkingConfig config;
  NewSystem(config, kBuildTime);
  ExpectSameText(NewSystemFile(), SystemFileText(config));
}

TEST(SystemFileWriter, EscapesValuesAndPassesSingleByteCharactersThrough) {
  WorkingConfig config = FreshConfig();
  config.system.SystemName = "a<b&'c'>\"\xE9";
  const std::string text = SystemFileText(config);
  EXPECT_THAT(text, HasSubstr("\r\n    <SystemName>a&lt;b&amp;&apos;c&apos;&gt;&quot;\xE9</SystemName>\r\n"));
  WorkingConfig back = FreshConfig();
  ASSERT_TRUE(ReadSystemFileText(back, text).ok);
  EXPECT_EQ(back.system.SystemName, config.system.SystemName);
}

TEST(SystemFileWriter, ProgramLinesCarryTheirParameterBytesAndComments) {
  const std::string text = SystemFileText(RichConfig());
  Layout x(3);
  x.Open("Program").Value("Name", "Main wash").Value("Comment", "Hot").Value("Active", "True");
  x.Value("Softner", "False").Value("DefaultSoftner", "True").Value("DefaultLevel", "3");
  x.Open("L").Value("I", "Pump").Value("D", "01 02 03 04 05").Value("C", "dose").Close("L");
  x.Open("L").Value("I", "Input off wait").Value("D", "0A 1B 2C").Close("L");
  x.Open("L").Value("I", "Jump").Value("D", "07").Close("L");
  x.Open("L").Value("I", "Wait").Value("D", "10 27").Close("L");
  x.Open("L").Value("I", "Reset").Close("L");
  x.Open("L").Value("I", "?13").Close("L");
  x.EmptyLines(17)
      .Open("L")
      .Value("I", "Keyboard lock")
      .Value("C", "last &lt;b&gt;")
      .Close("L")
      .Close("Program");
  // An empty program comment is left out.
  x.Open("Program").Value("Name", "Program 3").Value("Active", "False").Value("Softner", "True");
  x.Value("DefaultSoftner", "True").Value("DefaultLevel", "2").EmptyLines(24).Close("Program");
  EXPECT_THAT(ElementText(text, "Machine1"), HasSubstr(x.Text()));
}

TEST(SystemFileWriter, WritesTheParameterBytesEachInstructionUses) {
  constexpr std::array<int, 16> kCount = {0, 0, 5, 3, 5, 5, 1, 2, 5, 3, 0, 5, 0, 0, 0, 0};
  WorkingConfig config = FreshConfig();
  auto& lines = config.system.Machines[0].Programs[0].Lines;
  for (int code = 0; code < 16; ++code) {
    lines[code].bytes = {static_cast<std::uint8_t>(0x50 | code), 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
  }
  Layout x(3);
  x.Open("Program").Value("Name", "Program 1").Value("Active", "False").Value("Softner", "True");
  x.Value("DefaultSoftner", "True").Value("DefaultLevel", "2");
  for (int code = 0; code < 16; ++code) {
    x.Open("L").Value("I", code < 12 ? std::string(InstructionNames[code]) : "?" + N(code));
    if (kCount[code] > 0) x.Value("D", std::string("11 22 33 44 55").substr(0, 3 * kCount[code] - 1));
    x.Close("L");
  }
  x.EmptyLines(8).Close("Program");
  const std::string text = SystemFileText(config);
  EXPECT_THAT(ElementText(text, "Machine1"), HasSubstr(x.Text()));

  // Only the code and the bytes the instruction uses come back.
  WorkingConfig back = FreshConfig();
  ASSERT_TRUE(ReadSystemFileText(back, text).ok);
  for (int code = 0; code < 16; ++code) {
    const auto& b = back.system.Machines[0].Programs[0].Lines[code].bytes;
    EXPECT_EQ(b[0], code < 12 ? code : 15) << "code " << code;
    for (int i = 1; i <= 7; ++i)
      EXPECT_EQ(b[i], i <= kCount[code] ? 0x11 * i : 0) << "code " << code << " byte " << i;
  }
}

TEST(SystemFileWriter, WritesTheTypeSpecificSubtreeOfTheTriggerTypeOnly) {
  const std::string text = SystemFileText(RichConfig());
  const std::string m1 = ElementText(text, "Machine1");
  Layout electrolux(3);
  electrolux.Open("Trigger").Value("Type", "QD310, Electrolux: 5xx").Value("AdjustLow", "20");
  electrolux.Value("AdjustHigh", "30").Value("MaxWeight", "16").Value("LockInputMask", "63");
  electrolux.Value("LockInputDelay", "9")
      .Value("ResetMachineInput", "5")
      .Value("ResetMachineFallingEdge", "True");
  electrolux.Value("ResetMachineDelay", "258").Open("ElectroluxCompassPro");
  for (int k = 1; k <= 15; ++k)
    electrolux.Value("ProgramMap" + N(k), N(k % 7));
  electrolux.Close("ElectroluxCompassPro").Close("Trigger");
  EXPECT_THAT(m1, HasSubstr(electrolux.Text()));
  EXPECT_THAT(m1, Not(HasSubstr("<MieleLogic")));

  const std::string m3 = ElementText(text, "Machine3");
  Layout miele(4);
  miele.Value("ResetMachineDelay", "0").Open("MieleLogic").Value("Header1", "ABCDEFGHIJKLMNOP");
  miele.Value("Header2", "Softener")
      .Value("Header3", "Level")
      .Value("Text11", "Cotton")
      .Value("Text12", "Synth");
  miele.Value("Text13", "Delicate").Value("Text21", "On").Value("Text23", "Soft 2").Value("Text31", "Hi");
  miele.Value("Text32", "Mid").Value("Text33", "Lo").Value("SoftnerActive2", "True").Close("MieleLogic");
  miele.Close("Trigger");
  EXPECT_THAT(m3, HasSubstr(miele.Text()));
  EXPECT_THAT(m3, Not(HasSubstr("<ElectroluxCompassPro>")));
  EXPECT_THAT(m3, Not(HasSubstr("<MieleLogicEthernet>")));

  // Ethernet numbers are written as signed 32-bit values.
  Layout ethernet(4);
  ethernet.Value("ResetMachineDelay", "0").Open("MieleLogicEthernet").Value("MachineSerialNumber", "-2");
  ethernet.Value("MachineID", "123456789").Close("MieleLogicEthernet").Close("Trigger");
  EXPECT_THAT(ElementText(text, "Machine10"), HasSubstr(ethernet.Text()));

  const std::string m2 = ElementText(text, "Machine2");
  EXPECT_THAT(m2, HasSubstr("<Comment>spare</Comment>"));
  EXPECT_THAT(m2, HasSubstr("<Type>Trigger - none</Type>"));
  EXPECT_THAT(m2, HasSubstr("<ResetMachineDelay>0</ResetMachineDelay>\r\n      </Trigger>"));
}

TEST(SystemFileWriter, TakesVersionAndFixedLogRegionsFromTheImageAndNumbersFromTheEdits) {
  WorkingConfig config = FreshConfig();
  config.image.bytes[0x05] = 3;
  config.image.bytes[0x06] = 9;
  config.image.bytes[0x08] = 1;  // firmware 1.x: the log windows shift, the file does not
  config.image.bytes[0x6281] = 0xAB;
  config.image.bytes[0x6282] = 0x10;
  config.image.bytes[0x6380] = 0x5A;
  config.image.bytes[0x7FCF] = 0xFE;
  MachineConfig& m1 = config.system.Machines[0];
  m1.Calibration[0] = " 7 ";
  m1.Calibration[1] = "abc";
  m1.Calibration[2] = "300";
  m1.DefaultProgram = -1;
  m1.SoftnerPump = -1;
  m1.Trigger.bytes[10] = 0x1F;
  const std::string text = SystemFileText(config);
  EXPECT_THAT(text,
              HasSubstr("    <VersionMajor>3</VersionMajor>\r\n    <VersionMinor>9</VersionMinor>\r\n"));
  EXPECT_THAT(text, HasSubstr("\r\n  <AlarmLog>00AB10" + std::string(506, '0') + "</AlarmLog>\r\n"));
  EXPECT_THAT(text, HasSubstr("\r\n  <DataLog>5A" + std::string(14492, '0') + "FE</DataLog>\r\n</QDsystem>"));
  const std::string machine = ElementText(text, "Machine1");
  for (const char* item : {"<DefaultProgram>-1</DefaultProgram>", "<SoftnerPump/>",
                           "<Calibration1>7</Calibration1>", "<Calibration2>0</Calibration2>",
                           "<Calibration3>300</Calibration3>", "<ResetMachineInput>7</ResetMachineInput>",
                           "<ResetMachineFallingEdge>True</ResetMachineFallingEdge>"}) {
    EXPECT_THAT(machine, HasSubstr(item));
  }
}

TEST(SystemFileReader, RootNameMustMatchExactly) {
  for (const char* name : {"qdsystem", "QDSystem", "QDsystem2", "System"}) {
    const std::string root = name;
    WorkingConfig config = FreshConfig();
    const std::string text =
        kDeclaration + "<" + root + "><MainSetup><SystemName>X</SystemName></MainSetup>" +
        "<PCsettings><DefaultInputFilter>9</DefaultInputFilter></PCsettings></" + root + ">";
    EXPECT_FALSE(ReadSystemFileText(config, text).ok) << root;
    EXPECT_TRUE(config.system == FreshConfig().system) << root;
  }
  WorkingConfig config = FreshConfig();
  EXPECT_FALSE(ReadSystemFileText(config, Doc("<MainSetup><SystemName>X</MainSetup>")).ok);
  EXPECT_FALSE(ReadSystemFileText(config, "").ok);
  EXPECT_EQ(config.system.SystemName, "");
}

TEST(SystemFileReader, DispatchesOnExactNamesAndAppliesARepeatedElementAgain) {
  WorkingConfig config = FreshConfig();
  ASSERT_TRUE(Read(config,
                   "<mainsetup><SystemName>lower</SystemName></mainsetup>"
                   "<Other><SystemName>other</SystemName></Other>"
                   "<MainSetup><SystemName>first</SystemName><systemname>x</systemname><Bogus>1</Bogus>"
                   "<SystemName>second</SystemName></MainSetup>"
                   "<PCsettings><DefaultInputFilter>5 s</DefaultInputFilter></PCsettings>"
                   "<MachineData><Machine2><Comment>two</Comment><Enabled>True</Enabled></Machine2>"
                   "<Machine0><Comment>0</Comment></Machine0><machine2><Comment>m</Comment></machine2>"
                   "<Machine11><Comment>11</Comment></Machine11><Machine02><Comment>02</Comment></Machine02>"
                   "</MachineData>")
                  .ok);
  EXPECT_EQ(config.system.SystemName, "second");
  EXPECT_EQ(config.system.DefaultInputFilter, "5 s");  // as typed; the image build reads the number
  EXPECT_EQ(config.system.Machines[1].Comment, "two");
  EXPECT_TRUE(config.system.MachineEnabled[1]);
  EXPECT_EQ(config.system.Machines[0].Comment, "");
  EXPECT_EQ(config.system.Machines[9].Comment, "");
}

TEST(SystemFileReader, ReadsAlarmFlagsIncludingTheWaterPressureName) {
  WorkingConfig config = FreshConfig();
  ASSERT_TRUE(Read(config,
                   "<Alarm><Group1><WaterPressure>Yes</WaterPressure><Level>n</Level>"
                   "<DispenseError>true</DispenseError></Group1>"
                   "<Group2><Water>T</Water><KeyboardError>yES</KeyboardError></Group2>"
                   "<Group0><Level>False</Level><TriggerError>Y</TriggerError><Water>t</Water>"
                   "<KeyboardError>y</KeyboardError><DispenseError>True</DispenseError></Group0>"
                   "<Recipient3>a&amp;b</Recipient3>"
                   "<ActiveLevel><Level3>Y</Level3><Extra>no</Extra><Common>T</Common></ActiveLevel>"
                   "<AlarmOnAmount><Enabled>True</Enabled><AlarmAmount2>1,005</AlarmAmount2>"
                   "<UsedAmount6>x</UsedAmount6></AlarmOnAmount></Alarm>")
                  .ok);
  const SystemConfig& s = config.system;
  EXPECT_EQ(s.AlarmGroups[0], (AlarmGroup{false, true, true, true, true}));
  EXPECT_EQ(s.AlarmGroups[1], (AlarmGroup{false, true, false, false, true}));
  EXPECT_EQ(s.AlarmGroups[2], (AlarmGroup{false, true, false, true, false}));
  EXPECT_EQ(s.Recipients[2], "a&b");
  EXPECT_EQ(s.ActiveHighLevel, (std::array<bool, 7>{false, false, true, false, false, false, false}));
  EXPECT_FALSE(s.ActiveHighExtra);
  EXPECT_TRUE(s.ActiveHighCommon);
  EXPECT_TRUE(s.AlarmOnAmountEnabled);
  EXPECT_EQ(s.AlarmAmount[1], "1,005");
  EXPECT_EQ(s.UsedAmount[5], "x");
}

TEST(SystemFileReader, UnrecognisedRequiredBooleanStopsTheReadingWhereItStands) {
  WorkingConfig config = FreshConfig();
  const FileResult result =
      Read(config,
           "<MainSetup><SystemName>kept</SystemName></MainSetup>"
           "<Alarm><Group0><Level>True</Level><Water>1</Water><TriggerError>True</TriggerError>"
           "</Group0><Recipient1>late</Recipient1></Alarm>"
           "<PCsettings><DefaultInputFilter>9</DefaultInputFilter></PCsettings>");
  EXPECT_FALSE(result.ok);
  EXPECT_THAT(result.error, HasSubstr("Water"));
  EXPECT_EQ(config.system.SystemName, "kept");
  EXPECT_TRUE(config.system.AlarmGroups[0][0]);
  EXPECT_FALSE(config.system.AlarmGroups[0][2]);
  EXPECT_EQ(config.system.Recipients[0], "");
  EXPECT_EQ(config.system.DefaultInputFilter, "5");

  for (const char* body : {"<Alarm><Group2><DispenseError/></Group2></Alarm>",
                           "<Alarm><ActiveLevel><Common>1</Common></ActiveLevel></Alarm>",
                           "<Alarm><ActiveLevel><Level7>on</Level7></ActiveLevel></Alarm>",
                           "<Alarm><AlarmOnAmount><Enabled>0</Enabled></AlarmOnAmount></Alarm>",
                           "<MachineData><Machine10><Enabled>x</Enabled></Machine10></MachineData>"}) {
    WorkingConfig other = FreshConfig();
    EXPECT_FALSE(Read(other, body).ok) << body;
  }
}

TEST(SystemFileReader, MachineEnabledTakesYesButTheDigitOneEndsTheReading) {
  WorkingConfig config = FreshConfig();
  const FileResult result =
      Read(config,
           "<MachineData><Machine2><Enabled>yes</Enabled></Machine2>"
           "<Machine3><Comment>before</Comment><Enabled>1</Enabled><Comment>after</Comment>"
           "</Machine3><Machine4><Enabled>True</Enabled></Machine4></MachineData>"
           "<AlarmLog>" +
               std::string(512, 'F') + "</AlarmLog>");
  EXPECT_FALSE(result.ok);
  EXPECT_THAT(result.error, HasSubstr("Enabled"));
  EXPECT_EQ(config.system.MachineEnabled,
            (std::array<bool, 10>{true, true, false, false, false, false, false, false, false, false}));
  EXPECT_EQ(config.system.Machines[2].Comment, "before");
  EXPECT_EQ(config.image.bytes[0x6280], 0);
}

TEST(SystemFileReader, ValuesReadWithADefaultNeverFail) {
  WorkingConfig config = FreshConfig();
  ASSERT_TRUE(
      Read(config,
           "<MachineData><Machine1><AllowNoProgram>True</AllowNoProgram><AllowNoProgram>1</AllowNoProgram>"
           "<DefaultProgram>abc</DefaultProgram><SoftnerPump>03</SoftnerPump><Calibration1>abc</Calibration1>"
           "<Calibration2> 260 </Calibration2><Calibration7>-4</Calibration7>"
           "<Trigger><MaxWeight>abc</MaxWeight><AdjustLow>300</AdjustLow><AdjustHigh>-1</AdjustHigh>"
           "<ResetMachineFallingEdge>True</ResetMachineFallingEdge><ResetMachineInput>13</ResetMachineInput>"
           "<ResetMachineDelay>65535</ResetMachineDelay><LockInputMask>258</LockInputMask></Trigger>"
           "<Program><Active>Yes</Active><Softner>1</Softner><DefaultSoftner/><DefaultLevel>9</"
           "DefaultLevel></Program>"
           "<Program><DefaultLevel>3</DefaultLevel></Program>"
           "<Program><DefaultLevel>0</DefaultLevel><DefaultLevel>x</DefaultLevel></Program></Machine1>"
           "<Machine2><DefaultProgram>7</DefaultProgram><SoftnerPump>7</SoftnerPump></Machine2>"
           "<Machine3><DefaultProgram>6</DefaultProgram><SoftnerPump>-</SoftnerPump><Trigger>"
           "<ResetMachineInput>7</ResetMachineInput><ResetMachineFallingEdge>True</ResetMachineFallingEdge>"
           "<ResetMachineFallingEdge>x</ResetMachineFallingEdge></Trigger></Machine3></MachineData>")
          .ok);
  const MachineConfig& m1 = config.system.Machines[0];
  EXPECT_FALSE(m1.AllowNoProgram);
  EXPECT_EQ(m1.DefaultProgram, 0);
  EXPECT_EQ(m1.SoftnerPump, -1);
  EXPECT_EQ(m1.Calibration[0], "0");
  EXPECT_EQ(m1.Calibration[1], "260");
  EXPECT_EQ(m1.Calibration[6], "-4");
  const auto& t = m1.Trigger.bytes;
  EXPECT_EQ(t[3], 0);
  EXPECT_EQ(t[1], 44);
  EXPECT_EQ(t[2], 255);
  EXPECT_EQ(t[8], 2);
  EXPECT_EQ(t[10], 0x0D);  // low three bits of 13, falling edge kept
  EXPECT_EQ(t[11], 0xFF);
  EXPECT_EQ(t[12], 0xFF);
  EXPECT_TRUE(m1.Programs[0].Active);
  EXPECT_FALSE(m1.Programs[0].Softner);
  EXPECT_FALSE(m1.Programs[0].DefaultSoftner);
  EXPECT_EQ(m1.Programs[0].DefaultLevel, 2);
  EXPECT_EQ(m1.Programs[1].DefaultLevel, 3);
  EXPECT_TRUE(m1.Programs[1].Softner);  // missing elements keep the new state
  EXPECT_EQ(m1.Programs[2].DefaultLevel, 2);
  EXPECT_EQ(config.system.Machines[1].DefaultProgram, -1);
  EXPECT_EQ(config.system.Machines[1].SoftnerPump, 7);
  EXPECT_EQ(config.system.Machines[2].DefaultProgram, 6);
  EXPECT_EQ(config.system.Machines[2].SoftnerPump, 0);
  EXPECT_EQ(config.system.Machines[2].Trigger.bytes[10], 0x07);
}

TEST(SystemFileReader, TriggerTypeIsLookedUpWithoutRegardToCase) {
  WorkingConfig config = FreshConfig();
  ASSERT_TRUE(Read(config,
                   "<MachineData><Machine1><Trigger><Type>qd310, electrolux: 5xx</Type></Trigger></Machine1>"
                   "<Machine2><Trigger><Type>ETHERNET, MIELE LOGIC</Type></Trigger></Machine2>"
                   "<Machine3><Trigger><Type>QD999</Type></Trigger></Machine3>"
                   "<Machine4><Trigger><Type>qd740, nyborg: hsxxx</Type></Trigger></Machine4></MachineData>")
                  .ok);
  EXPECT_EQ(config.system.Machines[0].Trigger.bytes[0], 6);
  EXPECT_EQ(config.system.Machines[1].Trigger.bytes[0], 10);
  EXPECT_EQ(config.system.Machines[2].Trigger.bytes[0], 0);
  EXPECT_EQ(config.system.Machines[3].Trigger.bytes[0], 4);
  EXPECT_EQ(config.system.Machines[4].Trigger.bytes[0], 1);
}

TEST(SystemFileReader, ElectroluxAndEthernetClearTheTypeAreaFirstMieleLogicDoesNot) {
  WorkingConfig config = FreshConfig();
  ASSERT_TRUE(
      Read(config,
           "<MachineData><Machine1><Trigger><MieleLogic><Text33>Low</Text33></MieleLogic>"
           "<ElectroluxCompassPro><ProgramMap1>5</ProgramMap1><ProgramMap2>3</ProgramMap2>"
           "<ProgramMap2>4</ProgramMap2><ProgramMap15>6</ProgramMap15></ElectroluxCompassPro>"
           "<MieleLogic><Text21>Soft</Text21><Header3>12345678901234567890</Header3></MieleLogic>"
           "</Trigger></Machine1>"
           "<Machine2><Trigger><MieleLogic><Text21>Soft</Text21></MieleLogic><MieleLogicEthernet>"
           "<MachineID>-1</MachineID><MachineSerialNumber>16909060</MachineSerialNumber>"
           "</MieleLogicEthernet></Trigger></Machine2>"
           "<Machine3><Trigger><ElectroluxCompassPro><ProgramMap1>2</ProgramMap1></ElectroluxCompassPro>"
           "<ElectroluxCompassPro><ProgramMap3>1</ProgramMap3></ElectroluxCompassPro></Trigger></Machine3>"
           "</MachineData>")
          .ok);
  const auto& t1 = config.system.Machines[0].Trigger.bytes;
  EXPECT_EQ(t1[0], 1);      // the type is not touched
  EXPECT_EQ(t1[128], 0);    // Text33 went with the clearing
  EXPECT_EQ(t1[16], 0x50);  // entry 1 high nibble
  EXPECT_EQ(t1[17], 0x07);  // entry 2: 3 | 4
  EXPECT_EQ(t1[23], 0x60);  // entry 15
  EXPECT_EQ(std::string(t1.begin() + 72, t1.begin() + 80), std::string("Soft\0\0\0\0", 8));
  EXPECT_EQ(std::string(t1.begin() + 96, t1.begin() + 113), std::string("1234567890123456\0", 17));

  const auto& t2 = config.system.Machines[1].Trigger.bytes;
  EXPECT_EQ(t2[72], 0);
  EXPECT_EQ(std::vector<int>(t2.begin() + 16, t2.begin() + 24),
            (std::vector<int>{0x01, 0x02, 0x03, 0x04, 0xFF, 0xFF, 0xFF, 0xFF}));

  const auto& t3 = config.system.Machines[2].Trigger.bytes;
  EXPECT_EQ(t3[16], 0);
  EXPECT_EQ(t3[17], 0x10);
}

TEST(SystemFileReader, ProgramsAndLinesFillSuccessiveSlots) {
  std::string body = "<MachineData><Machine1>";
  for (int p = 1; p <= 7; ++p) {
    body += "<Program><Name>P" + N(p) + "</Name>";
    for (int l = 1; p == 1 && l <= 25; ++l)
      body += "<L><I>Wait</I><C>" + N(l) + "</C></L>";
    body += "</Program>";
  }
  body += "</Machine1></MachineData>";
  WorkingConfig config = FreshConfig();
  ASSERT_TRUE(Read(config, body).ok);
  const MachineConfig& m1 = config.system.Machines[0];
  for (int p = 0; p < 6; ++p)
    EXPECT_EQ(m1.Programs[p].Name, "P" + N(p + 1));
  EXPECT_EQ(config.system.Machines[1].Programs[0].Name, "Program 1");
  for (int l = 0; l < 24; ++l) {
    EXPECT_EQ(m1.Programs[0].Lines[l].Instruction(), 7);
    EXPECT_EQ(m1.Programs[0].Lines[l].comment, N(l + 1));
  }
  EXPECT_EQ(m1.Programs[1].Lines[0].Instruction(), 0);
}

TEST(SystemFileReader, ARepeatedMachineElementFillsProgramsFromTheFirstAgain) {
  WorkingConfig config = FreshConfig();
  ASSERT_TRUE(Read(config,
                   "<MachineData><Machine1><Program><Name>A</Name></Program><Program><Name>B</Name></Program>"
                   "</Machine1><Machine1><Program><Name>C</Name></Program></Machine1></MachineData>")
                  .ok);
  EXPECT_EQ(config.system.Machines[0].Programs[0].Name, "C");
  EXPECT_EQ(config.system.Machines[0].Programs[1].Name, "B");
  EXPECT_EQ(config.system.Machines[0].Programs[2].Name, "Program 3");
}

TEST(SystemFileReader, InstructionNamesAndParameterBytes) {
  WorkingConfig config = FreshConfig();
  ASSERT_TRUE(Read(config,
                   "<MachineData><Machine1><Program>"
                   "<L><I>pump</I><D>01 02 03 04 05</D><D>0A 1B 2C</D><C>a &amp; b</C></L>"
                   "<L><I>?12</I><D>11 22 33 44 55</D><D>66 77 zz 88</D></L>"
                   "<L><I>PUMP, HIGH VOLUME</I><D>ff</D></L>"
                   "<L><I>Bogus</I></L>"
                   "</Program></Machine1></MachineData>")
                  .ok);
  const auto& lines = config.system.Machines[0].Programs[0].Lines;
  using Bytes = std::array<std::uint8_t, 8>;
  EXPECT_EQ(lines[0].bytes, (Bytes{0x08, 0x0A, 0x1B, 0x2C, 0x04, 0x05, 0, 0}));
  EXPECT_EQ(lines[0].comment, "a & b");
  EXPECT_EQ(lines[1].bytes, (Bytes{0x0F, 0x66, 0x77, 0x33, 0x44, 0x55, 0, 0}));
  EXPECT_EQ(lines[2].bytes, (Bytes{0x0B, 0xFF, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(lines[3].Instruction(), 15);
}

TEST(SystemFileReader, LogsAndVersionGoIntoTheImage) {
  WorkingConfig config = FreshConfig();
  config.image.bytes[0x627F] = 0x11;
  config.image.bytes[0x7FD0] = 0x22;
  const std::string alarm = "00ab10\r\n" + std::string(250, '0') + "\n\t" + std::string(256, '7') + "EE";
  const std::string data = std::string(14494, 'C') + "d90123";
  ASSERT_TRUE(Read(config,
                   "<MainSetup><VersionMajor>3</VersionMajor><VersionMinor>x</VersionMinor></MainSetup>"
                   "<AlarmLog>" +
                       alarm + "</AlarmLog><DataLog>" + data + "</DataLog>")
                  .ok);
  const auto& b = config.image.bytes;
  EXPECT_EQ(b[0x05], 3);
  EXPECT_EQ(b[0x06], 0);
  EXPECT_EQ(b[0x6280], 0x00);
  EXPECT_EQ(b[0x6281], 0xAB);
  EXPECT_EQ(b[0x6282], 0x10);
  EXPECT_EQ(b[0x62FF], 0x00);
  EXPECT_EQ(b[0x6300], 0x77);
  EXPECT_EQ(b[0x637F], 0x77);
  EXPECT_EQ(b[0x6380], 0xCC);
  EXPECT_EQ(b[0x7FCF], 0xD9);
  EXPECT_EQ(b[0x627F], 0x11);
  EXPECT_EQ(b[0x7FD0], 0x22);
}

TEST(SystemFileReader, ShortAlarmLogFailsAtThatPoint) {
  WorkingConfig config = FreshConfig();
  const FileResult result =
      Read(config, "<MainSetup><SystemName>before</SystemName></MainSetup><AlarmLog>" +
                       std::string(510, 'A') + "</AlarmLog><DataLog>" + std::string(14496, 'B') +
                       "</DataLog><PCsettings><DefaultInputFilter>1</DefaultInputFilter></PCsettings>");
  EXPECT_FALSE(result.ok);
  EXPECT_THAT(result.error, HasSubstr("AlarmLog"));
  EXPECT_EQ(config.system.SystemName, "before");
  EXPECT_EQ(config.image.bytes[0x6380], 0);
  EXPECT_EQ(config.system.DefaultInputFilter, "5");
}

TEST(SystemFileRoundTrip, RichConfigurationReadsBackItemForItem) {
  WorkingConfig written = RichConfig();
  written.system.MachineEnabled[0] = false;
  for (int k = 16; k <= 30; ++k)
    written.system.Machines[0].Trigger.SetElectroluxEntry(k, 5);
  written.image.bytes[0x05] = 1;
  written.image.bytes[0x06] = 7;
  for (std::size_t i = 0x6280; i < 0x7FD0; ++i)
    written.image.bytes[i] = static_cast<std::uint8_t>(i * 13 + 5);

  SystemConfig expected = written.system;
  for (int k = 16; k <= 30; ++k)
    expected.Machines[0].Trigger.SetElectroluxEntry(k, 0);       // not in the file
  expected.Machines[0].Programs[0].Lines[5].SetInstruction(15);  // "?13" is no instruction name

  WorkingConfig read = FreshConfig();
  const FileResult result = ReadSystemFileText(read, SystemFileText(written));
  ASSERT_TRUE(result.ok) << result.error;
  test::ExpectSameSystem(expected, read.system);
  EXPECT_EQ(read.image.bytes[0x05], 1);
  EXPECT_EQ(read.image.bytes[0x06], 7);
  EXPECT_TRUE(std::equal(written.image.bytes.begin() + 0x6280, written.image.bytes.begin() + 0x7FD0,
                         read.image.bytes.begin() + 0x6280));
}

// The text items of the file, each reached the same way in what is written and what is read.
struct TextItem {
  const char* name;
  std::string& (*of)(SystemConfig&);
};
const TextItem kTextItems[] = {
    {"system name", [](SystemConfig& s) -> std::string& { return s.SystemName; }},
    {"recipient 8", [](SystemConfig& s) -> std::string& { return s.Recipients[7]; }},
    {"machine comment", [](SystemConfig& s) -> std::string& { return s.Machines[9].Comment; }},
    {"program name", [](SystemConfig& s) -> std::string& { return s.Machines[0].Programs[5].Name; }},
    {"program comment", [](SystemConfig& s) -> std::string& { return s.Machines[1].Programs[0].Comment; }},
    {"line comment",
     [](SystemConfig& s) -> std::string& { return s.Machines[0].Programs[0].Lines[23].comment; }},
};

std::size_t CountOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
    ++count;
  return count;
}

TEST(SystemFileRoundTrip, TextsWithControlAndMarkupCharactersReadBackUnchanged) {
  const std::string texts[] = {
      "\r",
      "\n",
      "\r\n",
      "a\rb",
      "a\nb",
      "one\r\ntwo\r\n",
      "\t",
      "a\tb",
      "\x01",
      "\x1F",
      "\x7F",
      "&",
      "<",
      "a&b<c>d\"e'",
      "\xE9",
      "\x80\x81\xFF",
      "  lead",
      "trail ",
      "   ",
      " \t\r\n ",
      "x\x01\x02\x1Fy\xE9",
  };
  for (const TextItem& item : kTextItems) {
    WorkingConfig plain = FreshConfig();
    item.of(plain.system) = "x";
    const std::size_t lines = CountOf(SystemFileText(plain), "\r\n");
    for (const std::string& text : texts) {
      SCOPED_TRACE(std::string(item.name) + " \"" + text + "\"");
      WorkingConfig written = FreshConfig();
      item.of(written.system) = text;
      const std::string file = SystemFileText(written);
      // Still one element a line, and no control character but the line ends.
      EXPECT_EQ(CountOf(file, "\r\n"), lines);
      EXPECT_EQ(CountOf(file, "\r"), lines);
      EXPECT_EQ(CountOf(file, "\n"), lines);
      EXPECT_TRUE(std::none_of(file.begin(), file.end(), [](char c) {
        return static_cast<unsigned char>(c) < 32 && c != '\r' && c != '\n';
      }));

      WorkingConfig read = FreshConfig();
      const FileResult result = ReadSystemFileText(read, file);
      ASSERT_TRUE(result.ok) << result.error;
      EXPECT_EQ(item.of(read.system), text);
    }
  }
}

TEST(SystemFileRoundTrip, EveryByteButZeroReadsBack) {
  WorkingConfig written = FreshConfig();
  for (int b = 1; b < 256; ++b)
    written.system.SystemName += static_cast<char>(b);
  WorkingConfig read = FreshConfig();
  const FileResult result = ReadSystemFileText(read, SystemFileText(written));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(read.system.SystemName, written.system.SystemName);
}

// Files written before control characters were referred to hold them literally.
TEST(SystemFileReader, ValuesKeepLiteralWhiteSpaceAndResolveCharacterReferences) {
  const struct {
    std::string markup;
    std::string text;
  } cases[] = {
      {"a\nb", "a\nb"},
      {"\n", "\n"},
      {"a\tb ", "a\tb "},
      {"  ", "  "},
      {"a\r\nb", "a\nb"},  // end-of-line normalisation, as before
      {"a\rb", "a\nb"},
      {"\x01\x7F", "\x01\x7F"},
      {"a&#13;&#10;b", "a\r\nb"},
      {"&#1;&#x1F;&#9;&#127;", "\x01\x1F\t\x7F"},
      {"\xE9&amp;&lt;&gt;", "\xE9&<>"},
      {"a&#0;b", "a"},  // a text ends at its first zero
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.markup);
    WorkingConfig config = FreshConfig();
    const FileResult result =
        Read(config, "<MainSetup><SystemName>" + c.markup + "</SystemName></MainSetup>" +
                         "<Alarm><Recipient3>" + c.markup + "</Recipient3></Alarm>");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(config.system.SystemName, c.text);
    EXPECT_EQ(config.system.Recipients[2], c.text);
  }
}

class SystemFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("qd_system_file_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  static void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::filesystem::path dir_;
};

TEST_F(SystemFileOnDisk, WriteReplacesTheFileAndReadTakesItBack) {
  const auto path = dir_ / "system.xml";
  WriteText(path, "old content");
  const WorkingConfig config = RichConfig();
  ASSERT_TRUE(WriteSystemFile(config, path).ok);
  EXPECT_EQ(ReadText(path), SystemFileText(config));
  WorkingConfig back = FreshConfig();
  EXPECT_TRUE(ReadSystemFile(back, path).ok);
  EXPECT_EQ(back.system.SystemName, config.system.SystemName);

  EXPECT_FALSE(WriteSystemFile(config, dir_ / "missing" / "system.xml").ok);
  const FileResult missing = ReadSystemFile(back, dir_ / "nothing.xml");
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.error.empty());
}

TEST_F(SystemFileOnDisk, LoadShowsSystemWideItemsAsTheBuiltImageHoldsThem) {
  const auto path = dir_ / "typed.xml";
  WriteText(path,
            Doc("<MainSetup><VersionMajor>3</VersionMajor><VersionMinor>4</VersionMinor></MainSetup>"
                "<PCsettings><DefaultInputFilter>abc</DefaultInputFilter></PCsettings>"
                "<Alarm><AlarmOnAmount><Enabled>Yes</Enabled><AlarmAmount1>1,005</AlarmAmount1>"
                "<UsedAmount1>x</UsedAmount1><AlarmAmount2>abc</AlarmAmount2><UsedAmount2>2</UsedAmount2>"
                "</AlarmOnAmount></Alarm>"
                "<MachineData><Machine1><Calibration1>300</Calibration1>"
                "<ShortFlushTime>abc</ShortFlushTime></Machine1></MachineData>"));
  WorkingConfig config;
  config.decimalSeparator = ',';
  const LoadResult result = LoadSystem(config, path, kBuildTime);
  ASSERT_TRUE(result.file.ok) << result.file.error;
  EXPECT_EQ(config.system.DefaultInputFilter, "0");
  EXPECT_EQ(config.system.AlarmAmount[0], "1,01");
  EXPECT_EQ(config.system.UsedAmount[0], "0,00");
  EXPECT_EQ(config.system.AlarmAmount[1], "0,00");
  EXPECT_EQ(config.system.UsedAmount[1], "0,00");
  EXPECT_TRUE(config.system.AlarmOnAmountEnabled);
  EXPECT_EQ(config.image.FormatMajor(), 1);
  EXPECT_EQ(config.image.FormatMinor(), 1);
  EXPECT_TRUE(config.image.imageHeld);
  EXPECT_EQ(result.build.dataLength, 0x3D20);
  // Machine edits keep what was typed; only the image holds the numbers.
  EXPECT_EQ(config.system.Machines[0].Calibration[0], "300");
  EXPECT_EQ(config.system.Machines[0].ShortFlushTime, "abc");
  EXPECT_EQ(config.image.bytes[0x400 + 7], 250);
}

TEST_F(SystemFileOnDisk, SaveThenLoadRebuildsTheSameImage) {
  const auto path = dir_ / "rich.xml";
  WorkingConfig saved = RichConfig();
  for (std::size_t i = 0x6280; i < 0x7FD0; ++i)
    saved.image.bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  saved.system.Machines[0].Programs[0].Lines[5].SetInstruction(15);  // codes 12..14 come back as 15
  const LoadResult save = SaveSystem(saved, path, kBuildTime);
  ASSERT_TRUE(save.file.ok) << save.file.error;

  WorkingConfig loaded;
  const LoadResult load = LoadSystem(loaded, path, kBuildTime);
  ASSERT_TRUE(load.file.ok) << load.file.error;
  EXPECT_EQ(load.build.dataLength, save.build.dataLength);
  const auto [a, b] =
      std::mismatch(saved.image.bytes.begin(), saved.image.bytes.end(), loaded.image.bytes.begin());
  EXPECT_EQ(a, saved.image.bytes.end())
      << "images differ at 0x" << std::hex << (a - saved.image.bytes.begin());
  test::ExpectSameSystem(saved.system, loaded.system);
}

TEST_F(SystemFileOnDisk, FailedLoadStillBuildsTheImageOfANewSystem) {
  WorkingConfig config = RichConfig();
  const LoadResult result = LoadSystem(config, dir_ / "missing.xml", kBuildTime);
  EXPECT_FALSE(result.file.ok);
  EXPECT_TRUE(config.image.imageHeld);
  EXPECT_EQ(result.build.dataLength, 0x3D20);
  EXPECT_EQ(config.system.SystemName, "");
  EXPECT_EQ(config.system.Machines[0].Comment, "");
  EXPECT_FALSE(config.system.MachineEnabled[2]);
  EXPECT_EQ(config.image.bytes[0x66], 5);
}

}  // namespace
}  // namespace qd
