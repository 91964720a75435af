#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "app/translation.h"
#include "logs/consumption_costs.h"
#include "logs/consumption_log.h"
#include "logs/consumption_series.h"
#include "model/working_config.h"

// The printable service report as a document: sections with headings, each a list of blocks. It holds
// only texts (UTF-8) and numbers for the chart; how they land on paper is the painter's business.
namespace qd::review {

inline constexpr std::string_view ServiceReportTitle = QD_TRANSLATABLE("ServiceReport", "Service report");
inline constexpr std::string_view ReportSourceController = QD_TRANSLATABLE("ServiceReport", "controller");

struct ReportParagraph {
  std::string text;  // '\n' starts a new line
};

// Labels with their values, two aligned columns.
struct ReportKeyValues {
  std::vector<std::pair<std::string, std::string>> items;
};

enum class ColumnAlign { Left, Right, Centre };

struct ReportColumn {
  std::string title;
  ColumnAlign align = ColumnAlign::Left;
};

// A table under a header row; the header repeats on every page the table reaches.
struct ReportTable {
  std::vector<ReportColumn> columns;
  std::vector<std::vector<std::string>> rows;  // one cell per column
  bool keepTogether = false;                   // starts on a new page rather than split, when it fits one
};

// The monthly consumption of the report's selection, drawn as a chart.
struct ReportChart {
  std::vector<qd::logs::MonthTotals> months;
};

using ReportBlock = std::variant<ReportParagraph, ReportKeyValues, ReportTable, ReportChart>;

struct ReportSection {
  std::string heading;
  int level = 1;  // 1 = chapter, 2 = part of the chapter before it
  std::vector<ReportBlock> blocks;
};

struct ServiceReport {
  std::string systemName;  // for the running header
  std::string date;        // "2024-02-29 13:14"
  std::vector<ReportSection> sections;
};

struct ServiceReportOptions {
  LocalDateTime when;
  qd::logs::ConsumptionSelection consumption;
  qd::logs::PumpPrices prices;
  std::string source;  // ReportSourceFile(name) or ReportSourceController
  // The site's months from the history store, oldest first, which may reach back further than the
  // controller's 24; none: the months of the image's log.
  std::optional<qd::logs::ConsumptionRows> historyMonths;
};

// "file NAME"
std::string ReportSourceFile(std::string_view fileName);

// The months a report covers unless the user chooses: the last 12 logged months up to the newest, all
// machines; every month when the log holds none.
qd::logs::ConsumptionSelection DefaultReportSelection(const qd::logs::MonthRecords& records);
// The same for months of the history store.
qd::logs::ConsumptionSelection DefaultReportSelection(const qd::logs::ConsumptionRows& months);

ServiceReport BuildServiceReport(const WorkingConfig& config, const ServiceReportOptions& options);

// Every text of the report in reading order: headings, paragraph lines, "label: value" lines and table
// rows with their cells joined by " | ". For tests and plain-text output.
std::string ReportPlainText(const ServiceReport& report);

}  // namespace qd::review
