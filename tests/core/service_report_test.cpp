#include "review/service_report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/cp1252_text.h"
#include "logs/alarm_log.h"
#include "model/controller_image.h"
#include "model/instruction_set.h"
#include "model/system_commands.h"

namespace qd::review {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

void Put16(ControllerImage& image, std::size_t at, std::uint16_t value) {
  image.bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
  image.bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// Month record `record` of the consumption log holds `month`; counter `index` of `machine` (1..10) is set.
void PutMonth(ControllerImage& image, int record, qd::logs::YearMonth month) {
  const std::size_t base =
      layout::ConsumptionLog + qd::logs::MonthRecordSize * static_cast<std::size_t>(record);
  image.bytes[base] = static_cast<std::uint8_t>(month.year - 2000);
  image.bytes[base + 1] = static_cast<std::uint8_t>(month.month);
}
void PutCounter(ControllerImage& image, int record, int machine, int index, std::uint16_t value) {
  Put16(image,
        layout::ConsumptionLog + qd::logs::MonthRecordSize * static_cast<std::size_t>(record) + 2 +
            30 * static_cast<std::size_t>(machine - 1) + 2 * static_cast<std::size_t>(index),
        value);
}

// History entry k: a pressure alarm on 2013-01-02 09:41.
void PutPressureAlarm(ControllerImage& image, int k) {
  const std::uint32_t when = 13u | 2u << 6 | 1u << 16 | 9u << 20 | 41u << 26;
  const std::size_t at =
      layout::AlarmLog + qd::logs::AlarmStateSize + qd::logs::AlarmEntrySize * static_cast<std::size_t>(k);
  image.bytes[at] = qd::logs::alarm_kind::Pressure;
  for (int b = 0; b < 4; ++b)
    image.bytes[at + 1 + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(when >> (8 * b));
}

class ServiceReportTest : public ::testing::Test {
 protected:
  ServiceReportTest() {
    ResetSystem(config);
    config.system.SystemName = "Laundry caf\xE9";  // windows-1252
    config.system.MachineEnabled = {true, false, true};
    MachineConfig& third = config.system.Machines[2];
    third.Comment = "Washer \x80";
    third.Calibration[3] = "42";
    third.Trigger.SetType(trigger::TypeNyborgW3);
    DosingProgram& program = third.Programs[1];
    program.Active = true;
    program.Name = "Towels";
    program.Lines[0].SetInstruction(static_cast<int>(Instruction::Wait));
    program.Lines[0].Param(1) = 7;
    program.Lines[0].comment = "Soak";
    options.when = {2024, 2, 29, 13, 14, 15};
    options.source = ReportSourceFile("site.xml");
  }

  std::string Text() const { return ReportPlainText(BuildServiceReport(config, options)); }
  const ReportSection* Section(const ServiceReport& report, std::string_view heading) const {
    for (const ReportSection& section : report.sections) {
      if (section.heading == heading) return &section;
    }
    return nullptr;
  }
  void AddLogs() {
    PutMonth(config.image, 3, {2012, 3});
    PutMonth(config.image, 10, {2013, 5});
    PutCounter(config.image, 3, 1, 7, 200);     // pump 1: 1.00 L
    PutCounter(config.image, 10, 3, 13, 1000);  // pump 7: 5.00 L
    PutCounter(config.image, 10, 3, 2, 4);      // program 2: 4 washes
    PutPressureAlarm(config.image, 0);
    options.consumption = DefaultReportSelection(qd::logs::ReadMonthRecords(config.image));
  }

  WorkingConfig config;
  ServiceReportOptions options;
};

TEST_F(ServiceReportTest, NamesTheSystemDateAndSourceInUtf8) {
  const ServiceReport report = BuildServiceReport(config, options);
  EXPECT_EQ(report.systemName, "Laundry caf\xC3\xA9");
  EXPECT_EQ(report.date, "2024-02-29 13:14");
  const std::string text = ReportPlainText(report);
  EXPECT_THAT(text, HasSubstr("Source: file site.xml"));
  EXPECT_THAT(text, HasSubstr("Enabled machines: 1, 3"));
  EXPECT_THAT(text, HasSubstr("Controller identity: not known"));
}

TEST_F(ServiceReportTest, ControllerIdentityWhenTheImageHoldsIt) {
  config.image.bytes[layout::HardwareVersion] = 4;
  config.image.bytes[layout::FirmwareMajor] = 2;
  config.image.bytes[layout::FirmwareMinor] = 3;
  options.source = std::string(ReportSourceController);
  const std::string text = Text();
  EXPECT_THAT(text, HasSubstr("Hardware version: 4"));
  EXPECT_THAT(text, HasSubstr("Firmware version: 2.3"));
  EXPECT_THAT(text, HasSubstr("Source: controller"));
  EXPECT_THAT(text, Not(HasSubstr("Controller identity")));
}

TEST_F(ServiceReportTest, EnabledMachinesWithSettingsTriggerAndCalibrations) {
  const ServiceReport report = BuildServiceReport(config, options);
  EXPECT_NE(Section(report, "Machine 1"), nullptr);
  EXPECT_EQ(Section(report, "Machine 2"), nullptr);  // disabled
  const ReportSection* third = Section(report, "Machine 3: Washer \xE2\x82\xAC");
  ASSERT_NE(third, nullptr);
  const std::string text = ReportPlainText({"", "", {*third}});
  EXPECT_THAT(text, HasSubstr("Trigger type: QD740, Nyborg: W3xxH"));
  EXPECT_THAT(text, HasSubstr("Short flush time: 5 sec."));
  EXPECT_THAT(text, HasSubstr("Calibration (sec./100ml) | 30 | 30 | 30 | 42 | 30 | 30 | 30"));
  EXPECT_THAT(text, HasSubstr("Inactive programs: 1, 3, 4, 5, 6."));
}

TEST_F(ServiceReportTest, EveryActiveProgramAsItsWholeLineTable) {
  const ServiceReport report = BuildServiceReport(config, options);
  const ReportSection* program = Section(report, "Machine 3 / Program 2: Towels");
  ASSERT_NE(program, nullptr);
  const auto* table = std::get_if<ReportTable>(&program->blocks.back());
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(table->keepTogether);
  ASSERT_EQ(table->rows.size(), 24u);
  const LineTexts first = ShowLine(config.system.Machines[2].Programs[1].Lines[0]);
  EXPECT_EQ(table->rows[0], (std::vector<std::string>{"1", first.instruction, first.parameters, "Soak"}));
  EXPECT_EQ(table->rows[23][0], "24");
  // Inactive programs are not printed.
  EXPECT_EQ(Section(report, "Machine 3 / Program 1: Program 1"), nullptr);
}

TEST_F(ServiceReportTest, FindingsOfTheChecker) {
  config.system.Machines[2].DefaultProgram = 4;  // not active
  const std::string text = Text();
  EXPECT_THAT(text, HasSubstr("warning: Machine 3: default program 4 is not active"));
  EXPECT_THAT(text, HasSubstr("Machine 3 / Program 2: active program without a pump line"));
}

TEST_F(ServiceReportTest, ConsumptionTotalsCostsAndChartOfTheSelection) {
  AddLogs();
  options.prices[0] = 2450;  // 1 L: 2.45
  options.prices[6] = 1000;  // 5 L: 5.00
  const ServiceReport report = BuildServiceReport(config, options);
  const std::string text = ReportPlainText(report);
  EXPECT_THAT(text, HasSubstr("Period: 2012-06 to 2013-05, All machines"));  // the last 12 logged months
  EXPECT_THAT(text, HasSubstr("Pump 7 | 5.00 L | 1.000 | 5.00"));
  EXPECT_THAT(text, HasSubstr("Pump 1 | 0.00 L | 2.450 | 0.00"));  // March 2012 lies before the period
  EXPECT_THAT(text, HasSubstr("Pump 2 | 0.00 L | - | -"));
  EXPECT_THAT(text, HasSubstr("Total | 5.00 L |  | 5.00"));
  EXPECT_THAT(text, HasSubstr("Cost per wash: 1.25"));
  EXPECT_THAT(text, HasSubstr("Program 2 | 4"));
  const ReportSection* monthly = Section(report, "Monthly volume per pump");
  ASSERT_NE(monthly, nullptr);
  const auto* chart = std::get_if<ReportChart>(&monthly->blocks.back());
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->months.size(), 12u);

  options.consumption = {{2012, 1}, {2013, 12}, 1};
  const std::string machineOne = Text();
  EXPECT_THAT(machineOne, HasSubstr("Period: 2012-01 to 2013-12, Machine 1"));
  EXPECT_THAT(machineOne, HasSubstr("Pump 1 | 1.00 L | 2.450 | 2.45"));
  EXPECT_THAT(machineOne, Not(HasSubstr("Cost per wash")));  // no washes
}

TEST_F(ServiceReportTest, CostsLeftOutWithoutPrices) {
  AddLogs();
  const std::string text = Text();
  EXPECT_THAT(text, HasSubstr("No pump prices are set"));
  EXPECT_THAT(text, HasSubstr("Total | 5.00 L |  | -"));
}

TEST_F(ServiceReportTest, SelectionWithoutConsumptionSaysSo) {
  AddLogs();
  options.consumption = {{2013, 5}, {2012, 3}, 0};  // From after To
  const std::string text = Text();
  EXPECT_THAT(text, HasSubstr("The log holds no consumption for this period."));
  EXPECT_THAT(text, Not(HasSubstr("Total washes")));
}

TEST_F(ServiceReportTest, AlarmHistory) {
  AddLogs();
  const std::string text = Text();
  EXPECT_THAT(text, HasSubstr(" 1: 2013-01-02  9:41 > Pressure alarm."));
  EXPECT_THAT(text, HasSubstr("Number of alarms: 1."));
}

TEST_F(ServiceReportTest, SystemWithoutLogsSaysSo) {
  const std::string text = Text();
  EXPECT_THAT(text, HasSubstr("Consumption\nNo log data available\n"));
  EXPECT_THAT(text, HasSubstr("Active alarms: none"));
  EXPECT_THAT(text, HasSubstr("Number of alarms: 0."));
}

TEST(ServiceReportEmpty, EmptySystemStillHasEveryChapter) {
  WorkingConfig config;
  ResetSystem(config);
  config.system.MachineEnabled = {};
  const ServiceReport report = BuildServiceReport(config, {});
  std::vector<std::string> headings;
  for (const ReportSection& section : report.sections)
    headings.push_back(section.heading);
  EXPECT_EQ(headings, (std::vector<std::string>{"System", "Program check", "Consumption", "Alarms"}));
  EXPECT_THAT(ReportPlainText(report), HasSubstr("Enabled machines: none"));
}

TEST(DefaultReportSelection, LastTwelveLoggedMonthsOrAllWhenFewer) {
  ControllerImage image;
  const auto none = DefaultReportSelection(qd::logs::ReadMonthRecords(image));
  EXPECT_EQ(none.from, qd::logs::EarliestLogMonth);
  EXPECT_EQ(none.to, qd::logs::LatestLogMonth);
  PutMonth(image, 0, {2020, 11});
  PutMonth(image, 5, {2021, 2});
  const auto few = DefaultReportSelection(qd::logs::ReadMonthRecords(image));
  EXPECT_EQ(few.from, (qd::logs::YearMonth{2020, 11}));
  EXPECT_EQ(few.to, (qd::logs::YearMonth{2021, 2}));
  PutMonth(image, 7, {2022, 1});
  const auto many = DefaultReportSelection(qd::logs::ReadMonthRecords(image));
  EXPECT_EQ(many.from, (qd::logs::YearMonth{2021, 2}));
  EXPECT_EQ(many.machine, 0);
}

TEST(Cp1252Text, BecomesUtf8) {
  EXPECT_EQ(Utf8OfCp1252("abc"), "abc");
  EXPECT_EQ(Utf8OfCp1252("\xE9\xFF"), "\xC3\xA9\xC3\xBF");
  EXPECT_EQ(Utf8OfCp1252("\x80\x99"), "\xE2\x82\xAC\xE2\x84\xA2");  // euro sign, trade mark
  EXPECT_EQ(Utf8OfCp1252("\x81"), "\xC2\x81");                      // undefined: the same code point
  EXPECT_EQ(Utf8OfCp1252(std::string_view("\0x", 2)), std::string("\0x", 2));
}

}  // namespace
}  // namespace qd::review
