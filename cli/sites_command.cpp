#include <QJsonArray>
#include <QJsonObject>
#include <cctype>
#include <cstdio>

#include "app/cp1252_text.h"
#include "app/text.h"
#include "event_loop.h"
#include "history_commands.h"
#include "json_output.h"
#include "log_json.h"
#include "transport/pump_prices.h"

namespace qdtool {

const char* const SitesUsage =
    "usage: qdtool sites [--store WHERE] [--search TEXT] [--json]\n"
    "\n"
    "Lists every site of the history store (each controller ever read, by qdsystem, qdtool read, sweep\n"
    "or import): serial number, system name, last contact, the alarms since the contact before it, and\n"
    "the volume and cost (prices of qdsystem's consumption log window) of the twelve months up to the\n"
    "last contact.\n"
    "\n"
    "  --search TEXT  only the sites whose name or serial number holds TEXT (any case)\n"
    "  --json         print the sites as one JSON document instead\n";

namespace {

constexpr qd::logs::NumberSeparators CliSeparators{'.', ','};

bool Matches(const qd::history::Site& site, const std::string& search) {
  const auto lower = [](std::string text) {
    for (char& c : text)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  const std::string wanted = lower(search);
  return lower(site.identity.name).find(wanted) != std::string::npos ||
         std::to_string(site.identity.serial).find(wanted) != std::string::npos;
}

void PrintSitesJson(const qd::store::HistoryStore& store,
                    const std::vector<qd::history::SiteSummary>& sites) {
  QJsonArray list;
  for (const auto& summary : sites) {
    const qd::history::Site& site = summary.site;
    list.append(QJsonObject{
        {"serial", static_cast<qint64>(site.identity.serial)},
        {"name", JsonText(site.identity.name)},
        {"hardware", site.identity.hardware},
        {"firmware", QString::asprintf("%d.%d", site.identity.firmwareMajor, site.identity.firmwareMinor)},
        {"firstContact", JsonDateTime(site.firstContact)},
        {"lastContact", JsonDateTime(site.lastContact)},
        {"previousContact", site.previousContact.empty() ? QJsonValue() : JsonDateTime(site.previousContact)},
        {"alarmsSincePreviousContact", summary.alarmsSincePrevious},
        {"lastTwelveMonths", TotalsJson(summary.lastYear, summary.lastYearCosts)},
    });
  }
  PrintJson({{"store", store.Location().Text()}, {"sites", list}});
}

}  // namespace

int RunSites(const std::vector<std::string>& args) {
  const Arguments arguments(args, {StoreOption, "search"}, {JsonFlag});
  if (arguments.Help()) {
    std::fputs(SitesUsage, stdout);
    std::fputs(StoreOptionHelp, stdout);
    return 0;
  }
  if (!arguments.Positional().empty()) throw UsageError("sites takes no argument");
  const EventLoopApp app;
  const auto store = OpenStore(arguments);
  std::vector<qd::history::SiteSummary> sites = store->SiteSummaries(qd::transport::StoredPumpPrices());
  if (!store->LastError().isEmpty()) throw Failure(store->LastError().toStdString());
  if (const auto search = arguments.Value("search"))
    std::erase_if(sites, [&](const auto& summary) { return !Matches(summary.site, *search); });
  if (arguments.Flag(JsonFlag)) {
    PrintSitesJson(*store, sites);
    return 0;
  }
  if (sites.empty()) {
    std::fprintf(stderr, "no sites in %s\n", store->Location().Text().toStdString().c_str());
    return 0;
  }
  std::printf("%-10s  %-30s  %-19s  %6s  %14s  %12s\n", "serial", "name", "last contact", "alarms",
              "litres 12 mon.", "cost 12 mon.");
  for (const auto& summary : sites) {
    const qd::history::Site& site = summary.site;
    const std::string cost = summary.lastYearCosts.anyPrice
                                 ? qd::logs::MoneyText(summary.lastYearCosts.total, CliSeparators)
                                 : std::string("-");
    std::string litres = qd::logs::LitresText(summary.lastYear.volumeCounts, CliSeparators);
    litres.resize(litres.size() - 2);  // " L"
    std::printf("%-10u  %-30s  %-19s  %6d  %14s  %12s\n", static_cast<unsigned>(site.identity.serial),
                qd::TerminalText(qd::Utf8OfCp1252(site.identity.name)).c_str(), site.lastContact.c_str(),
                summary.alarmsSincePrevious, litres.c_str(), cost.c_str());
  }
  return 0;
}

}  // namespace qdtool
