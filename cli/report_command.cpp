#include "report_command.h"

#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "arguments.h"
#include "history_commands.h"
#include "input.h"
#include "logs/consumption_log.h"
#include "model/system_commands.h"
#include "month_option.h"
#include "report/report_pdf.h"
#include "review/service_report.h"
#include "transport/pump_prices.h"

namespace qdtool {

const char* const ReportUsage =
    "usage: qdtool report IN -o OUT.pdf [--from YYYY-MM] [--to YYYY-MM] [--machine N]\n"
    "                     [--history [--store WHERE]]\n"
    "\n"
    "Writes the service report of a system file or an image (as read) as a PDF on A4 pages: the\n"
    "system and the controller identity the image holds, the enabled machines with their settings,\n"
    "trigger type and pump calibrations, every active program line by line, the findings of\n"
    "'qdtool check', the consumption totals with their costs and monthly chart, and the alarms.\n"
    "\n"
    "  -o, --output FILE   the PDF to write (replaced only once the whole report is written)\n"
    "  --from YYYY-MM      first month of the consumption totals (default: 11 months before --to)\n"
    "  --to YYYY-MM        last month of the consumption totals (default: the newest logged month)\n"
    "  --machine N         the consumption of machine N (1..10) only (default: all machines)\n"
    "  --history           the months from the history store (the site of the image's serial number),\n"
    "                      which may reach back beyond the controller's 24\n"
    "  --store WHERE       the history store: an SQLite file or postgresql://[USER@]HOST[:PORT]/DATABASE\n"
    "\n"
    "The costs use the prices per litre kept in the preferences (as qdsystem's log window sets them).\n"
    "No display is needed: without QT_QPA_PLATFORM the report is drawn offscreen.\n";

namespace {

// The months of the image's site in the history store.
qd::logs::ConsumptionRows HistoryMonths(const Arguments& arguments, std::uint32_t serial) {
  const auto store = OpenStore(arguments);
  if (!store->FindSite(serial)) {
    throw Failure("no site with serial number " + std::to_string(serial) + " in " +
                  store->Location().Text().toStdString());
  }
  qd::logs::ConsumptionRows months = store->Months(serial);
  if (!store->LastError().isEmpty()) throw Failure(store->LastError().toStdString());
  return months;
}

// The platform's remarks about a desktop session it does not need (no runtime folder on a server) are
// not the user's concern; everything else still reaches standard error.
void QuietPlatformRemarks(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) return;
  std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// QPdfWriter draws text through the GUI module; the offscreen platform needs no display.
std::unique_ptr<QGuiApplication> StartGuiModule() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietPlatformRemarks);
  static int argc = 1;
  static char name[] = "qdtool";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int RunReport(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"output", "from", "to", "machine", StoreOption}, {"history"});
  if (arguments.Help()) {
    std::fputs(ReportUsage, stdout);
    return 0;
  }
  if (arguments.Positional().size() != 1) throw UsageError("report takes IN");
  if (arguments.Value(StoreOption) && !arguments.Flag("history"))
    throw UsageError("--store goes with --history");
  const auto output = arguments.Value("output");
  if (!output || output->empty()) throw UsageError("report needs -o OUT.pdf");
  const auto from = MonthOption(arguments, "from");
  const auto to = MonthOption(arguments, "to");
  const int machine = arguments.Number("machine", 1, qd::logs::LoggedMachines).value_or(0);

  const std::string& path = arguments.Positional()[0];
  qd::WorkingConfig config;
  qd::ResetSystem(config);
  const qd::LocalDateTime now = qd::LocalDateTime::Now();
  const Input input = LoadInput(config, path, now);
  if (!input.ok) throw Failure(input.failure);

  const auto gui = StartGuiModule();
  qd::review::ServiceReportOptions options;
  options.when = now;
  options.source = qd::review::ReportSourceFile(std::filesystem::path(path).filename().string());
  options.prices = qd::transport::StoredPumpPrices();
  if (arguments.Flag("history")) {
    options.historyMonths = HistoryMonths(arguments, config.image.SerialNumber());
    options.consumption = qd::review::DefaultReportSelection(*options.historyMonths);
  } else {
    options.consumption = qd::review::DefaultReportSelection(qd::logs::ReadMonthRecords(config.image));
  }
  if (to) options.consumption.to = *to;
  if (from) {
    options.consumption.from = *from;
  } else if (to) {
    options.consumption.from = qd::logs::MonthOfIndex(qd::logs::MonthIndex(*to) - 11);
  }
  options.consumption.machine = machine;

  const qd::FileResult saved =
      qd::report::WriteServiceReportPdf(qd::review::BuildServiceReport(config, options), *output);
  if (!saved.ok) throw Failure("the report was not saved: " + saved.error);
  return 0;
}

}  // namespace qdtool
