#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>

#include "app/text.h"
#include "arguments.h"
#include "controller_read.h"
#include "json_output.h"
#include "review/config_diff.h"
#include "review_commands.h"

namespace qdtool {

const char* const DiffUsage =
    "usage: qdtool diff A B [--json]\n"
    "\n"
    "Compares two configurations item by item and prints every item that differs, one a line:\n"
    "  Machine 3 / Program 2 / Line 5: Pump: P3, V=20/30/40 -> Pump: P3, V=25/30/40\n"
    "Each of A and B is a system file (.xml), an image, or the controller: --port DEV, or --gateway\n"
    "HOST[:PORT] --user U [--password-file FILE] [--system SERIAL] (read into a buffer of its own,\n"
    "and backed up like every read). The configurations are compared as a controller would hold them\n"
    "once written. Exit status 0 when they are equal, 1 when they differ, 2 on an error.\n"
    "\n"
    "  --login-code CODE   the user's login code for a controller (default: KMWPLTRS)\n"
    "  --master-login      skip the login code check\n"
    "  --password-file F   the gateway password is the first line of file F (keep it private:\n"
    "                      chmod 600); without it QDTOOL_PASSWORD, else a prompt on a terminal\n"
    "  --password P        the gateway password itself, which other users can see in the process\n"
    "                      list: prefer the ways above\n"
    "  --json              print the differences as one JSON document instead (see 'man qdtool')\n";

namespace {

// Where each side comes from: a file, or the controller when the name is empty.
struct Sides {
  std::string a;
  std::string b;
};

bool IsTargetOption(const std::string& arg) {
  for (const char* name : {"--port", "--gateway"}) {
    const std::string option(name);
    if (arg == option || arg.rfind(option + "=", 0) == 0) return true;
  }
  return false;
}

// The controller is A when its option comes before the file on the command line.
Sides SidesOf(const std::vector<std::string>& args, const Arguments& arguments, bool controller) {
  const auto& files = arguments.Positional();
  if (!controller) {
    if (files.size() != 2) throw UsageError("diff takes A and B");
    return {files[0], files[1]};
  }
  if (files.size() != 1) throw UsageError("diff takes one file besides the controller");
  const auto option = std::find_if(args.begin(), args.end(), IsTargetOption);
  const auto file = std::find(args.begin(), args.end(), files[0]);
  return option < file ? Sides{"", files[0]} : Sides{files[0], ""};
}

void PrintDifferencesJson(const std::vector<qd::review::Difference>& differences) {
  QJsonArray list;
  for (const auto& difference : differences) {
    list.append(QJsonObject{{"place", JsonText(difference.place)},
                            {"before", JsonText(difference.before)},
                            {"after", JsonText(difference.after)}});
  }
  PrintJson({{"equal", differences.empty()}, {"differences", list}});
}

qd::SystemConfig FileSystem(const std::string& path) {
  qd::review::LoadedSystem loaded = qd::review::LoadSystemForComparison(path);
  if (!loaded.ok) throw Failure(loaded.error);
  return std::move(loaded.system);
}

int Compare(const std::vector<std::string>& args) {
  const Arguments arguments(args, WithTargetOptions({"login-code"}), {"master-login", JsonFlag});
  if (arguments.Help()) {
    std::fputs(DiffUsage, stdout);
    return 0;
  }
  const bool controller = arguments.Value("port") || arguments.Value("gateway");
  const Target target = controller ? TargetOption(arguments) : Target{};
  const Sides sides = SidesOf(args, arguments, controller);

  const auto load = [&](const std::string& file) {
    if (!file.empty()) return FileSystem(file);
    qd::WorkingConfig config;
    ReadFromController(config, target,
                       {arguments.Value("login-code").value_or(qd::DefaultLoginCode),
                        arguments.Flag("master-login"),
                        false,
                        {}});
    return config.system;
  };
  const qd::SystemConfig a = load(sides.a);
  const qd::SystemConfig b = load(sides.b);
  const auto differences = qd::review::CompareSystems(a, b);
  if (arguments.Flag(JsonFlag)) {
    PrintDifferencesJson(differences);
    return differences.empty() ? 0 : 1;
  }
  for (const auto& difference : differences)
    std::printf("%s\n", qd::TerminalText(difference.Text()).c_str());
  if (differences.empty()) std::fputs("no differences\n", stderr);
  return differences.empty() ? 0 : 1;
}

}  // namespace

int RunDiff(const std::vector<std::string>& args) {
  try {
    return Compare(args);
  } catch (const UsageError&) {
    throw;
  } catch (const std::exception& error) {
    // 1 means "they differ" here.
    throw Failure(error.what(), 2);
  }
}

}  // namespace qdtool
