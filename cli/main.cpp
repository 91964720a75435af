#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/text.h"
#include "arguments.h"
#include "commands.h"
#include "doctor_command.h"
#include "firmware_command.h"
#include "history_commands.h"
#include "log_command.h"
#include "qd_version.h"
#include "report_command.h"
#include "review_commands.h"

namespace {

const qdtool::Command Commands[] = {
    {"convert", "convert between system files and controller images", qdtool::ConvertUsage,
     qdtool::RunConvert},
    {"info", "show an image's format, text use, identity and clock", qdtool::InfoUsage, qdtool::RunInfo},
    {"program", "list the lines of one dosing program", qdtool::ProgramUsage, qdtool::RunProgram},
    {"read", "read the system data from a controller (bus or gateway)", qdtool::ReadUsage, qdtool::RunRead},
    {"write", "write a system file to a controller (bus or gateway)", qdtool::WriteUsage, qdtool::RunWrite},
    {"diff", "show what differs between two configurations (files, images, controller)", qdtool::DiffUsage,
     qdtool::RunDiff},
    {"check", "check the dosing programs and settings for mistakes", qdtool::CheckUsage, qdtool::RunCheck},
    {"backups", "list the backups every read from a controller leaves", qdtool::BackupsUsage,
     qdtool::RunBackups},
    {"calibrations", "list the pump calibrations accepted in qdsystem", qdtool::CalibrationsUsage,
     qdtool::RunCalibrations},
    {"monitor", "print the live status of a dosing system (bus or gateway)", qdtool::MonitorUsage,
     qdtool::RunMonitor},
    {"ports", "list the USB serial adapters (--details: every serial port and its state)", qdtool::PortsUsage,
     qdtool::RunPorts},
    {"doctor", "find what stops a connection to the controller, and what to do", qdtool::DoctorUsage,
     qdtool::RunDoctor},
    {"log", "show the consumption log or the alarm log of a system file or image", qdtool::LogUsage,
     qdtool::RunLog},
    {"report", "write the printable service report of a system file or image as a PDF", qdtool::ReportUsage,
     qdtool::RunReport},
    {"firmware", "inspect an Intel HEX firmware file", qdtool::FirmwareUsage, qdtool::RunFirmware},
    {"sites", "list the sites of the history store, with their last twelve months", qdtool::SitesUsage,
     qdtool::RunSites},
    {"history", "show a site's consumption over every month the history store holds", qdtool::HistoryUsage,
     qdtool::RunHistory},
    {"timeline", "show what changed in a site's configuration from read to read", qdtool::TimelineUsage,
     qdtool::RunTimeline},
    {"import", "record the backups of a folder in the history store", qdtool::ImportUsage, qdtool::RunImport},
    {"sweep", "read every system of a gateway into the history store", qdtool::SweepUsage, qdtool::RunSweep},
};

void PrintOverview(std::FILE* out) {
  std::fputs(
      "usage: qdtool COMMAND [ARGS...]\n"
      "\n"
      "Command-line companion of the QDsystem dosing system tool.\n"
      "\n"
      "Commands:\n",
      out);
  for (const auto& command : Commands)
    std::fprintf(out, "  %-10s %s\n", command.name, command.summary);
  std::fputs(
      "\ninfo, log, check, diff, backups, calibrations, ports, sites, history and timeline print a "
      "JSON\ndocument with --json.\n",
      out);
  std::fputs("\nRun 'qdtool COMMAND --help' for a command's options, 'qdtool --version' for the version.\n",
             out);
}

// One line: runs of line breaks become one blank.
int Fail(const std::string& reason, int status) {
  std::string line;
  for (char c : reason) {
    if (c != '\n') {
      line += c;
    } else if (line.empty() || line.back() != ' ') {
      line += ' ';
    }
  }
  // Messages quote file names and gateway texts.
  std::fprintf(stderr, "qdtool: %s\n", qd::TerminalText(line, /*keepLineFeeds=*/true).c_str());
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintOverview(stderr);
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintOverview(stdout);
    return 0;
  }
  if (args[0] == "--version") {
    std::printf("qdtool %s\n", qd::version::Text);
    return 0;
  }
  for (const auto& command : Commands) {
    if (args[0] != command.name) continue;
    try {
      return command.run(std::vector<std::string>(args.begin() + 1, args.end()));
    } catch (const qdtool::UsageError& error) {
      return Fail(std::string(error.what()) + " (see 'qdtool " + command.name + " --help')", 2);
    } catch (const qdtool::Failure& error) {
      return Fail(error.what(), error.status);
    } catch (const std::exception& error) {
      return Fail(error.what(), 1);
    }
  }
  return Fail("unknown command '" + args[0] + "' (see 'qdtool --help')", 2);
}
