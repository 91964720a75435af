#include <QCoreApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "initial_memory.h"
#include "signal_watcher.h"
#include "sim_options.h"
#include "simulator.h"

namespace {

int Fail(const std::string& reason, int status) {
  std::fprintf(stderr, "qd310sim: %s\n", reason.c_str());
  return status;
}

std::optional<qd::sim::ClockTime> ClockStart(const qd::sim::SimOptions& options) {
  using Mode = qd::sim::SimOptions::ClockMode;
  switch (options.clockMode) {
    case Mode::Off:
      return std::nullopt;
    case Mode::From:
      return options.clockStart;
    case Mode::Now:
      break;
  }
  const qd::LocalDateTime now = qd::LocalDateTime::Now();
  return qd::sim::ClockTime{now.year, now.month, now.day, now.hour, now.minute, now.second};
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const std::optional<qd::sim::SimOptions> options = qd::sim::ParseOptions(args, error);
  if (!options) return Fail(error + " (see 'qd310sim --help')", 2);
  if (options->help) {
    std::fputs(qd::sim::HelpText().c_str(), stdout);
    return 0;
  }
  if (options->version) {
    std::fputs(qd::sim::VersionText().c_str(), stdout);
    return 0;
  }

  const std::optional<qd::sim::ClockTime> clockStart = ClockStart(*options);
  const qd::sim::ClockTime logTime = qd::sim::SampleLogTime(clockStart);
  const std::optional<qd::sim::ControllerMemory> memory = qd::sim::InitialMemory(*options, logTime, error);
  if (!memory) return Fail(error, 1);

  QCoreApplication app(argc, argv);
  qd::sim::SignalWatcher watcher;
  QString reason;
  if (!watcher.Install(reason)) return Fail(reason.toStdString(), 1);
  qd::sim::Simulator simulator(*options, *memory, clockStart);
  if (!simulator.Start(reason)) return Fail(reason.toStdString(), 1);
  QObject::connect(&watcher, &qd::sim::SignalWatcher::Stop, &app, [&app](int) { app.quit(); });

  std::printf("pty: %s\n", simulator.SlavePath().toLocal8Bit().constData());
  if (const QString gateway = simulator.GatewayAddress(); !gateway.isEmpty())
    std::printf("gateway: %s\n", gateway.toLocal8Bit().constData());
  std::fflush(stdout);
  app.exec();

  if (options->dumpMemory) {
    const auto bytes = simulator.Memory().Bytes();
    const qd::FileResult written = qd::WriteFileAtomically(
        *options->dumpMemory, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!written.ok) return Fail(written.error, 1);
  }
  if (const auto& firmware = simulator.ProgrammedFirmware(); options->dumpFirmware && !firmware.empty()) {
    const qd::FileResult written = qd::WriteFileAtomically(
        *options->dumpFirmware,
        std::string_view(reinterpret_cast<const char*>(firmware.data()), firmware.size()));
    if (!written.ok) return Fail(written.error, 1);
  }
  return 0;
}
