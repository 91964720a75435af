#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>

#include "app/cp1252_text.h"
#include "app/text.h"
#include "event_loop.h"
#include "history/timeline.h"
#include "history_commands.h"
#include "json_output.h"

namespace qdtool {

const char* const TimelineUsage =
    "usage: qdtool timeline SERIAL [--json] [--store WHERE]\n"
    "\n"
    "Prints the configuration timeline of one site: every read the history store kept, oldest first,\n"
    "and the items of the configuration (system settings, machines, triggers, programs) that changed\n"
    "since the read before it, each as 'place: before -> after'.\n"
    "\n"
    "  --json  the reads and their changes as one JSON document\n";

namespace {

QJsonValue ChangesJson(const qd::history::TimelineStep& step) {
  if (!step.changes) return QJsonValue();
  QJsonArray list;
  for (const auto& change : *step.changes)
    list.append(QJsonObject{{"place", JsonText(change.place)},
                            {"before", JsonText(change.before)},
                            {"after", JsonText(change.after)}});
  return list;
}

}  // namespace

int RunTimeline(const std::vector<std::string>& args) {
  const Arguments arguments(args, {StoreOption}, {JsonFlag});
  if (arguments.Help()) {
    std::fputs(TimelineUsage, stdout);
    std::fputs(StoreOptionHelp, stdout);
    return 0;
  }
  if (arguments.Positional().size() != 1) throw UsageError("timeline takes SERIAL");
  const std::uint32_t serial = SerialArgument(arguments.Positional()[0]);
  const EventLoopApp app;
  const auto store = OpenStore(arguments);
  const std::vector<qd::history::TimelineStep> steps = store->Timeline(serial);
  if (!store->LastError().isEmpty()) throw Failure(store->LastError().toStdString());
  if (steps.empty()) {
    throw Failure("no reads of serial number " + std::to_string(serial) + " in " +
                  store->Location().Text().toStdString());
  }

  if (arguments.Flag(JsonFlag)) {
    QJsonArray list;
    for (const auto& step : steps)
      list.append(QJsonObject{{"readAt", JsonDateTime(step.readAt)},
                              {"readable", step.readable},
                              {"changes", ChangesJson(step)}});
    PrintJson({{"serial", static_cast<qint64>(serial)}, {"reads", list}});
    return 0;
  }
  for (const auto& step : steps) {
    if (!step.readable) {
      std::printf("%s  the image kept is not one this tool reads\n", step.readAt.c_str());
    } else if (!step.changes) {
      std::printf("%s  first read\n", step.readAt.c_str());
    } else if (step.changes->empty()) {
      std::printf("%s  no change\n", step.readAt.c_str());
    } else {
      std::printf("%s  %zu change%s\n", step.readAt.c_str(), step.changes->size(),
                  step.changes->size() == 1 ? "" : "s");
      for (const auto& change : *step.changes)
        std::printf("  %s\n", qd::TerminalText(qd::Utf8OfCp1252(change.Text())).c_str());
    }
  }
  return 0;
}

}  // namespace qdtool
