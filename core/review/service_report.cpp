#include "review/service_report.h"

#include <algorithm>

#include "app/cp1252_text.h"
#include "app/text.h"
#include "app/translation.h"
#include "logs/alarm_log.h"
#include "model/instruction_set.h"
#include "review/program_checker.h"

namespace qd::review {
namespace {

using qd::logs::ConsumptionSelection;
using qd::logs::MonthRecords;

constexpr int DefaultReportMonths = 12;
const qd::logs::NumberSeparators ReportSeparators{'.', ','};
constexpr std::string_view NoValue = "-";

// The report holds UTF-8; UiText gives windows-1252 like every text of the core.
std::string Utf8(std::string_view cp1252) {
  return Utf8OfCp1252(cp1252);
}

std::string YesNo(bool value) {
  return Utf8(value ? UiText("ServiceReport", "Yes") : UiText("ServiceReport", "No"));
}

std::string WithUnit(const std::string& typed, const std::string& unit) {
  return Utf8OfCp1252(typed) + " " + Utf8(unit);
}

// Combo box indexes 0 "-", 1..n the number.
std::string NumberOrDash(int index) {
  return index > 0 ? std::to_string(index) : std::string(NoValue);
}

std::string DefaultLevelText(int level) {
  switch (level) {
    case 1:
      return Utf8(UiText("ServiceReport", "Low"));
    case 2:
      return Utf8(UiText("ServiceReport", "Mid"));
    case 3:
      return Utf8(UiText("ServiceReport", "High"));
    default:
      return std::string(NoValue);
  }
}

std::string DateText(const LocalDateTime& when) {
  return Format("%04d-%02d-%02d %02d:%02d", when.year, when.month, when.day, when.hour, when.minute);
}

std::string MonthText(qd::logs::YearMonth month) {
  return Format("%04d-%02d", month.year, month.month);
}

// The serial number and versions live in the image header, which only a controller fills in: a built
// image has them zero.
bool IdentityHeld(const ControllerImage& image) {
  return image.SerialNumber() != 0 || image.HardwareVersion() != 0 || image.FirmwareMajor() != 0 ||
         image.FirmwareMinor() != 0;
}

std::vector<int> EnabledMachines(const SystemConfig& system) {
  std::vector<int> machines;
  for (int m = 0; m < MachineCount; ++m) {
    if (system.MachineEnabled[static_cast<std::size_t>(m)]) machines.push_back(m + 1);
  }
  return machines;
}

ReportSection SystemSection(const WorkingConfig& config, const ServiceReportOptions& options) {
  ReportKeyValues facts;
  facts.items = {{Utf8(UiText("ServiceReport", "System name")), Utf8OfCp1252(config.system.SystemName)},
                 {Utf8(UiText("ServiceReport", "Source")), options.source},
                 {Utf8(UiText("ServiceReport", "Report date")), DateText(options.when)}};
  const ControllerImage& image = config.image;
  if (IdentityHeld(image)) {
    facts.items.emplace_back(Utf8(UiText("ServiceReport", "Serial number")),
                             std::to_string(image.SerialNumber()));
    facts.items.emplace_back(Utf8(UiText("ServiceReport", "Hardware version")),
                             std::to_string(image.HardwareVersion()));
    facts.items.emplace_back(Utf8(UiText("ServiceReport", "Firmware version")),
                             Format("%d.%d", image.FirmwareMajor(), image.FirmwareMinor()));
  } else {
    facts.items.emplace_back(
        Utf8(UiText("ServiceReport", "Controller identity")),
        Utf8(UiText("ServiceReport", "not known (the configuration was not read from a controller)")));
  }
  std::string machines;
  for (int m : EnabledMachines(config.system))
    machines += (machines.empty() ? "" : ", ") + std::to_string(m);
  facts.items.emplace_back(Utf8(UiText("ServiceReport", "Enabled machines")),
                           machines.empty() ? Utf8(UiText("ServiceReport", "none")) : machines);
  return {Utf8(UiText("ServiceReport", "System")), 1, {facts}};
}

ReportTable CalibrationTable(const MachineConfig& machine) {
  ReportTable table;
  table.columns.push_back({Utf8(UiText("ServiceReport", "Pump")), ColumnAlign::Left});
  table.rows.push_back({Utf8(UiText("ServiceReport", "Calibration (sec./100ml)"))});
  for (int p = 0; p < PumpCount; ++p) {
    table.columns.push_back({std::to_string(p + 1), ColumnAlign::Right});
    table.rows.back().push_back(Utf8OfCp1252(machine.Calibration[static_cast<std::size_t>(p)]));
  }
  table.keepTogether = true;
  return table;
}

ReportSection MachineSection(const MachineConfig& machine, int number) {
  ReportSection section;
  section.heading = Utf8(Substitute(UiText("ServiceReport", "Machine %1"), {std::to_string(number)}));
  if (!machine.Comment.empty()) section.heading += ": " + Utf8OfCp1252(machine.Comment);
  ReportKeyValues settings;
  settings.items = {
      {Utf8(UiText("ServiceReport", "Default program")), NumberOrDash(machine.DefaultProgram)},
      {Utf8(UiText("ServiceReport", "Allow no program")), YesNo(machine.AllowNoProgram)},
      {Utf8(UiText("ServiceReport", "Softener pump")), NumberOrDash(machine.SoftnerPump)},
      {Utf8(UiText("ServiceReport", "Short flush time")),
       WithUnit(machine.ShortFlushTime, UiText("ServiceReport", "sec."))},
      {Utf8(UiText("ServiceReport", "Long flush time")),
       WithUnit(machine.LongFlushTime, UiText("ServiceReport", "sec."))},
      {Utf8(UiText("ServiceReport", "Program timeout")),
       WithUnit(machine.ProgramTimeout, UiText("ServiceReport", "min."))},
      {Utf8(UiText("ServiceReport", "Trigger type")),
       Utf8OfCp1252(std::string(trigger::TypeName(machine.Trigger.Type())))},
  };
  if (settings.items.back().second.empty()) {
    settings.items.back().second =
        Utf8(Substitute(UiText("ServiceReport", "code %1"), {std::to_string(machine.Trigger.Type())}));
  }
  const std::string module =
      Utf8(trigger::ModuleVersionText(machine.Trigger.ModuleKind(), machine.Trigger.ModuleVersion()));
  if (machine.Trigger.ModuleKind() != 0)
    settings.items.emplace_back(Utf8(UiText("ServiceReport", "Trigger module")), module);
  section.blocks.emplace_back(std::move(settings));
  section.blocks.emplace_back(CalibrationTable(machine));

  std::string inactive;
  for (int p = 0; p < ProgramCount; ++p) {
    if (!machine.Programs[static_cast<std::size_t>(p)].Active)
      inactive += (inactive.empty() ? "" : ", ") + std::to_string(p + 1);
  }
  if (!inactive.empty()) {
    section.blocks.emplace_back(
        ReportParagraph{Utf8(Substitute(UiText("ServiceReport", "Inactive programs: %1."), {inactive}))});
  }
  return section;
}

ReportTable ProgramTable(const DosingProgram& program) {
  ReportTable table;
  table.columns = {{Utf8(UiText("ServiceReport", "Line")), ColumnAlign::Right},
                   {Utf8(UiText("ServiceReport", "Instruction")), ColumnAlign::Left},
                   {Utf8(UiText("ServiceReport", "Parameters")), ColumnAlign::Left},
                   {Utf8(UiText("ServiceReport", "Comment")), ColumnAlign::Left}};
  table.keepTogether = true;
  for (int l = 0; l < DosingProgram::LineCount; ++l) {
    const LineTexts texts = ShowLine(program.Lines[static_cast<std::size_t>(l)]);
    table.rows.push_back({std::to_string(l + 1), Utf8OfCp1252(texts.instruction),
                          Utf8OfCp1252(texts.parameters), Utf8OfCp1252(texts.comment)});
  }
  return table;
}

ReportSection ProgramSection(const DosingProgram& program, int machine, int number) {
  ReportSection section;
  section.level = 2;
  section.heading = Substitute(Utf8(UiText("ServiceReport", "Machine %1 / Program %2: %3")),
                               {std::to_string(machine), std::to_string(number), Utf8OfCp1252(program.Name)});
  // One line above the table, so that two programs share a printed page.
  std::string settings = Substitute(
      Utf8(UiText("ServiceReport", "Softener: %1, default softener: %2, default level: %3")),
      {YesNo(program.Softner), YesNo(program.DefaultSoftner), DefaultLevelText(program.DefaultLevel)});
  if (!program.Comment.empty()) settings = Utf8OfCp1252(program.Comment) + ". " + settings;
  section.blocks.emplace_back(ReportParagraph{settings});
  section.blocks.emplace_back(ProgramTable(program));
  return section;
}

ReportSection FindingsSection(const WorkingConfig& config) {
  const std::vector<Finding> findings = CheckSystem(config);
  int errors = 0;
  for (const Finding& finding : findings)
    errors += finding.severity == Severity::Error ? 1 : 0;
  const int warnings = static_cast<int>(findings.size()) - errors;
  ReportSection section{Utf8(UiText("ServiceReport", "Program check")), 1, {}};
  std::string text = Utf8(Substitute(UiText("ServiceReport", "%1 errors, %2 warnings"),
                                     {std::to_string(errors), std::to_string(warnings)}));
  for (const Finding& finding : findings)
    text += "\n" + Utf8OfCp1252(finding.Text());
  section.blocks.emplace_back(ReportParagraph{text});
  return section;
}

std::string PeriodText(const ConsumptionSelection& selection) {
  return Utf8(Substitute(
      UiText("ServiceReport", "%1 to %2, %3"),
      {MonthText(selection.from), MonthText(selection.to), qd::logs::MachineEntryText(selection.machine)}));
}

ReportTable PumpTable(const qd::logs::ConsumptionTexts& texts, const qd::logs::ConsumptionCosts& costs,
                      const qd::logs::PumpPrices& prices) {
  ReportTable table;
  table.columns = {{Utf8(UiText("ServiceReport", "Pump")), ColumnAlign::Left},
                   {Utf8(UiText("ServiceReport", "Volume")), ColumnAlign::Right},
                   {Utf8(UiText("ServiceReport", "Price per litre")), ColumnAlign::Right},
                   {Utf8(UiText("ServiceReport", "Cost")), ColumnAlign::Right}};
  table.keepTogether = true;
  for (std::size_t p = 0; p < texts.pumpVolumes.size(); ++p) {
    const auto& price = prices[p];
    const auto& cost = costs.pumps[p];
    table.rows.push_back(
        {Utf8(Substitute(UiText("ServiceReport", "Pump %1"), {std::to_string(p + 1)})), texts.pumpVolumes[p],
         price ? qd::logs::PriceText(*price, ReportSeparators.decimal) : std::string(NoValue),
         cost ? qd::logs::MoneyText(*cost, ReportSeparators) : std::string(NoValue)});
  }
  table.rows.push_back(
      {Utf8(UiText("ServiceReport", "Total")), texts.volumeTotal, "",
       costs.anyPrice ? qd::logs::MoneyText(costs.total, ReportSeparators) : std::string(NoValue)});
  return table;
}

ReportTable WashTable(const qd::logs::ConsumptionTexts& texts) {
  ReportTable table;
  table.columns = {{Utf8(UiText("ServiceReport", "Program")), ColumnAlign::Left},
                   {Utf8(UiText("ServiceReport", "Washes")), ColumnAlign::Right}};
  table.keepTogether = true;
  for (std::size_t p = 0; p < texts.programWashes.size(); ++p) {
    table.rows.push_back({Utf8(Substitute(UiText("ServiceReport", "Program %1"), {std::to_string(p + 1)})),
                          texts.programWashes[p]});
  }
  table.rows.push_back({Utf8(UiText("ServiceReport", "No program")), texts.noProgramWashes});
  table.rows.push_back({Utf8(UiText("ServiceReport", "Total washes")), texts.washTotal});
  table.rows.push_back({Utf8(UiText("ServiceReport", "Softener count")), texts.softnerCount});
  return table;
}

// The selected rows and the months of the chart, from the history store or the image's log; none when
// there are no months at all.
struct SelectedMonths {
  qd::logs::ConsumptionRows rows;
  std::vector<qd::logs::MonthTotals> chart;
};
std::optional<SelectedMonths> SelectMonths(const ControllerImage& image,
                                           const ServiceReportOptions& options) {
  const ConsumptionSelection& selection = options.consumption;
  if (options.historyMonths) {
    if (options.historyMonths->empty()) return std::nullopt;
    qd::logs::ConsumptionRows rows = qd::logs::SelectedRows(*options.historyMonths, selection);
    auto chart = qd::logs::MonthlyConsumption(rows);
    return SelectedMonths{std::move(rows), std::move(chart)};
  }
  const MonthRecords records = qd::logs::ReadMonthRecords(image);
  if (!qd::logs::FindLoggedMonths(records)) return std::nullopt;
  return SelectedMonths{qd::logs::SelectedRows(records, selection),
                        qd::logs::MonthlyConsumption(records, selection)};
}

// The totals, and the monthly chart as a part of its own.
std::vector<ReportSection> ConsumptionSections(const ControllerImage& image,
                                               const ServiceReportOptions& options) {
  std::vector<ReportSection> sections{{Utf8(UiText("ServiceReport", "Consumption")), 1, {}}};
  ReportSection& section = sections.front();
  const std::optional<SelectedMonths> months = SelectMonths(image, options);
  if (!months) {
    section.blocks.emplace_back(ReportParagraph{Utf8(UiText("ServiceReport", "No log data available"))});
    return sections;
  }
  const ConsumptionSelection& selection = options.consumption;
  section.blocks.emplace_back(
      ReportParagraph{Substitute(Utf8(UiText("ServiceReport", "Period: %1")), {PeriodText(selection)})});
  const qd::logs::ConsumptionTotals totals = qd::logs::SumRows(months->rows);
  if (!totals.anyIncluded) {
    section.blocks.emplace_back(
        ReportParagraph{Utf8(UiText("ServiceReport", "The log holds no consumption for this period."))});
    return sections;
  }
  const qd::logs::ConsumptionTexts texts = qd::logs::ShowTotals(totals, ReportSeparators);
  const qd::logs::ConsumptionCosts costs = qd::logs::RowsCosts(months->rows, options.prices);
  section.blocks.emplace_back(PumpTable(texts, costs, options.prices));
  if (!costs.anyPrice) {
    section.blocks.emplace_back(
        ReportParagraph{Utf8(UiText("ServiceReport", "No pump prices are set: the costs are not shown."))});
  } else if (costs.perWash) {
    section.blocks.emplace_back(
        ReportParagraph{Substitute(Utf8(UiText("ServiceReport", "Cost per wash: %1")),
                                   {qd::logs::MoneyText(*costs.perWash, ReportSeparators)})});
  }
  section.blocks.emplace_back(WashTable(texts));
  sections.push_back(
      {Utf8(UiText("ServiceReport", "Monthly volume per pump")), 2, {ReportChart{months->chart}}});
  return sections;
}

ReportSection AlarmSection(const ControllerImage& image) {
  ReportSection section{Utf8(UiText("ServiceReport", "Alarms")), 1, {}};
  const std::vector<std::string> state = qd::logs::AlarmStateLines(image);
  std::string stateText = Utf8(UiText("ServiceReport", "Active alarms:"));
  for (const std::string& line : state)
    stateText += "\n" + Utf8OfCp1252(line);
  section.blocks.emplace_back(
      ReportParagraph{state.empty() ? Utf8(UiText("ServiceReport", "Active alarms: none")) : stateText});
  std::string history = Utf8(UiText("ServiceReport", "Alarm history:"));
  for (const std::string& line : qd::logs::AlarmHistoryLines(image))
    history += "\n" + Utf8OfCp1252(line);
  section.blocks.emplace_back(ReportParagraph{history});
  return section;
}

}  // namespace

std::string ReportSourceFile(std::string_view fileName) {
  return Substitute(Utf8(UiText("ServiceReport", "file %1")), {fileName});
}

ConsumptionSelection DefaultReportSelection(const MonthRecords& records) {
  ConsumptionSelection selection;
  const auto logged = qd::logs::FindLoggedMonths(records);
  if (!logged) return selection;
  const int first = std::max(0, logged->Count() - DefaultReportMonths);
  selection.from = qd::logs::MonthOfEntry(logged->oldest, first);
  selection.to = logged->newest;
  return selection;
}

ConsumptionSelection DefaultReportSelection(const qd::logs::ConsumptionRows& months) {
  ConsumptionSelection selection;
  if (months.empty()) return selection;
  selection.to = months.back().month;
  selection.from = std::max(months.front().month, qd::logs::MonthOfIndex(qd::logs::MonthIndex(selection.to) -
                                                                         (DefaultReportMonths - 1)));
  return selection;
}

ServiceReport BuildServiceReport(const WorkingConfig& config, const ServiceReportOptions& options) {
  ServiceReport report;
  report.systemName = Utf8OfCp1252(config.system.SystemName);
  report.date = DateText(options.when);
  report.sections.push_back(SystemSection(config, options));
  // The machines' settings together first, then their programs: the short sections share pages.
  const std::vector<int> machines = EnabledMachines(config.system);
  for (int m : machines)
    report.sections.push_back(MachineSection(config.system.Machines[static_cast<std::size_t>(m - 1)], m));
  for (int m : machines) {
    const MachineConfig& machine = config.system.Machines[static_cast<std::size_t>(m - 1)];
    for (int p = 0; p < ProgramCount; ++p) {
      const DosingProgram& program = machine.Programs[static_cast<std::size_t>(p)];
      if (program.Active) report.sections.push_back(ProgramSection(program, m, p + 1));
    }
  }
  report.sections.push_back(FindingsSection(config));
  for (ReportSection& section : ConsumptionSections(config.image, options))
    report.sections.push_back(std::move(section));
  report.sections.push_back(AlarmSection(config.image));
  return report;
}

std::string ReportPlainText(const ServiceReport& report) {
  std::string text;
  const auto line = [&text](const std::string& content) { text += content + "\n"; };
  for (const ReportSection& section : report.sections) {
    line(section.heading);
    for (const ReportBlock& block : section.blocks) {
      if (const auto* paragraph = std::get_if<ReportParagraph>(&block)) {
        line(paragraph->text);
      } else if (const auto* facts = std::get_if<ReportKeyValues>(&block)) {
        for (const auto& [label, value] : facts->items)
          line(label + ": " + value);
      } else if (const auto* table = std::get_if<ReportTable>(&block)) {
        std::string header;
        for (const ReportColumn& column : table->columns)
          header += (header.empty() ? "" : " | ") + column.title;
        line(header);
        for (const auto& row : table->rows) {
          std::string cells;
          for (std::size_t c = 0; c < row.size(); ++c)
            cells += (c == 0 ? "" : " | ") + row[c];
          line(cells);
        }
      } else if (const auto* chart = std::get_if<ReportChart>(&block)) {
        line(Format("[chart of %zu months]", chart->months.size()));
      }
    }
  }
  return text;
}

}  // namespace qd::review
