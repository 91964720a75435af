// The history store of a service company: 500 sites with ten years of months each (five reads of the
// controller's 24 months, ten machines each), in an SQLite file. Measures the query of one
// site's consumption over the ten years, which the Sites window and 'qdtool history' run, and the list of
// every site with its last twelve months.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "store/history_store.h"

namespace {

constexpr int Sites = 500;
constexpr int Years = 10;
constexpr std::uint32_t FirstSerial = 310000;

constexpr int MonthsARead = 24;

// A read at the end of the 24 months from `firstMonth`.
qd::history::ReadRecord ReadOf(std::uint32_t serial, int firstMonth) {
  qd::history::ReadRecord read;
  read.site = {serial, "Laundry " + std::to_string(serial), 3, 2, 1};
  const qd::logs::YearMonth last = qd::logs::MonthOfIndex(firstMonth + MonthsARead - 1);
  char time[32];
  std::snprintf(time, sizeof time, "%04d-%02d-28 10:00:00", last.year, last.month);
  read.readAt = time;
  for (int month = firstMonth; month < firstMonth + MonthsARead; ++month) {
    for (int machine = 1; machine <= qd::logs::LoggedMachines; ++machine) {
      qd::logs::WideCounters counters{};
      for (std::size_t c = 0; c < counters.size(); ++c)
        counters[c] = static_cast<std::uint32_t>((serial + month * 7 + machine * 13 + c) % 4000);
      read.months.push_back({qd::logs::MonthOfIndex(month), machine, counters});
    }
  }
  read.alarms = {{std::string(time).substr(0, 16), 2, 0, 0}};
  read.image.assign(32768, static_cast<std::uint8_t>(firstMonth));
  return read;
}

// The store, made once for every benchmark of the run.
qd::store::HistoryStore& FleetStore() {
  static QTemporaryDir folder;
  static std::unique_ptr<qd::store::HistoryStore> store = [] {
    qd::store::StoreLocation location;
    location.path = folder.filePath(QStringLiteral("history.sqlite"));
    QString error;
    auto opened = qd::store::HistoryStore::Open(location, error);
    if (!opened) {
      std::fprintf(stderr, "history store: %s\n", error.toStdString().c_str());
      std::exit(1);
    }
    const int first = qd::logs::MonthIndex({2016, 1});
    for (int site = 0; site < Sites; ++site) {
      for (int month = first; month < first + 12 * Years; month += MonthsARead) {
        if (!opened->Record(ReadOf(FirstSerial + site, month), error)) {
          std::fprintf(stderr, "history store: %s\n", error.toStdString().c_str());
          std::exit(1);
        }
      }
    }
    return opened;
  }();
  return *store;
}

void HistoryQueryTenYears(benchmark::State& state) {
  qd::store::HistoryStore& store = FleetStore();
  std::uint32_t serial = FirstSerial;
  for (auto _ : state) {
    const qd::logs::ConsumptionRows rows = store.Months(serial);
    if (rows.size() != static_cast<std::size_t>(12 * Years * qd::logs::LoggedMachines))
      state.SkipWithError("rows missing");
    benchmark::DoNotOptimize(rows.data());
    serial = FirstSerial + (serial - FirstSerial + 97) % Sites;
  }
}
BENCHMARK(HistoryQueryTenYears)->Unit(benchmark::kMillisecond);

void SiteListWithLastYear(benchmark::State& state) {
  qd::store::HistoryStore& store = FleetStore();
  for (auto _ : state) {
    const auto sites = store.SiteSummaries({});
    if (sites.size() != Sites) state.SkipWithError("sites missing");
    benchmark::DoNotOptimize(sites.data());
  }
}
BENCHMARK(SiteListWithLastYear)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // Qt SQL loads its drivers as plugins
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
