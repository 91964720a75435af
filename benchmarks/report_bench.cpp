// The service report of a maximal system (ten machines, sixty active programs) with two years of consumption
// log: the document built and drawn as a PDF, as `qdtool report` does.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <string>

#include "logs/consumption_log.h"
#include "logs/log_areas.h"
#include "maximal_config.h"
#include "report/report_pdf.h"
#include "review/service_report.h"

namespace {

// 24 months of 2023 and 2024, every counter varied.
void FillConsumptionLog(qd::ControllerImage& image) {
  const std::span<std::uint8_t> area = qd::logs::ConsumptionLogArea(image);
  std::uint32_t seed = 7;
  for (int r = 0; r < qd::logs::MonthRecordCount; ++r) {
    const std::size_t base = qd::logs::MonthRecordSize * static_cast<std::size_t>(r);
    area[base] = static_cast<std::uint8_t>(23 + r / 12);
    area[base + 1] = static_cast<std::uint8_t>(r % 12 + 1);
    for (std::size_t at = base + 2; at < base + qd::logs::MonthRecordSize; ++at) {
      seed = seed * 1103515245u + 12345u;
      area[at] = static_cast<std::uint8_t>(seed >> 16);
    }
  }
}

void ServiceReportPdf(benchmark::State& state) {
  qd::WorkingConfig config = qd::bench::MaximalConfig();
  FillConsumptionLog(config.image);
  for (qd::MachineConfig& machine : config.system.Machines) {
    for (qd::DosingProgram& program : machine.Programs)
      program.Active = true;
  }
  qd::review::ServiceReportOptions options;
  options.when = {2025, 1, 2, 3, 4, 5, 3};
  options.consumption = {{2024, 1}, {2024, 12}, 0};
  options.prices.fill(2450);
  options.source = qd::review::ReportSourceFile("maximal.xml");
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string error;
    const auto pdf = qd::report::ServiceReportPdf(qd::review::BuildServiceReport(config, options), error);
    if (!pdf) state.SkipWithError(error.c_str());
    bytes = pdf ? static_cast<std::size_t>(pdf->size()) : 0;
  }
  state.counters["pdf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(ServiceReportPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
