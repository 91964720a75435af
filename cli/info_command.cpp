#include <QJsonObject>
#include <cstdio>

#include "arguments.h"
#include "commands.h"
#include "input.h"
#include "json_output.h"
#include "model/image_parser.h"
#include "model/system_commands.h"

namespace qdtool {

const char* const InfoUsage =
    "usage: qdtool info IN [--json]\n"
    "\n"
    "Prints the image format, the text area's use, the data length, the controller identity and\n"
    "the controller clock of a system file (as built) or an image (as read).\n"
    "\n"
    "  --json   print them as one JSON document instead (see 'man qdtool')\n";

namespace {

QJsonObject Version(int major, int minor) {
  return {{"major", major}, {"minor", minor}};
}

// The percentage rounded to the tenth as the text shows it.
double TenthsOfPercent(double percent) {
  return QString::asprintf("%.1f", percent).toDouble();
}

QJsonObject InfoJson(const qd::ControllerImage& image, const Input& input) {
  const qd::ClockBytes clock = image.ControllerTime();
  return {
      {"formatVersion", Version(image.FormatMajor(), image.FormatMinor())},
      {"usedTextPercent", TenthsOfPercent(input.usedTextPercent)},
      {"dataLength", input.dataLength},
      {"serialNumber", static_cast<qint64>(image.SerialNumber())},
      {"hardwareVersion", image.HardwareVersion()},
      {"firmwareVersion", Version(image.FirmwareMajor(), image.FirmwareMinor())},
      // Null for clock bytes outside their calendar ranges: the zeros of a system file as built.
      {"controllerClock", image.ControllerTimeValid()
                              ? QJsonValue(JsonDateTime(clock.year, clock.month, clock.day, clock.hour,
                                                        clock.minute, clock.second))
                              : QJsonValue()},
  };
}

}  // namespace

int RunInfo(const std::vector<std::string>& args) {
  const Arguments arguments(args, {}, {JsonFlag});
  if (arguments.Help()) {
    std::fputs(InfoUsage, stdout);
    return 0;
  }
  if (arguments.Positional().size() != 1) throw UsageError("info takes IN");

  qd::WorkingConfig config;
  qd::ResetSystem(config);
  const Input input = LoadInput(config, arguments.Positional()[0], qd::LocalDateTime::Now());
  if (!input.ok) throw Failure(input.failure);

  const qd::ControllerImage& image = config.image;
  if (arguments.Flag(JsonFlag)) {
    PrintJson(InfoJson(image, input));
    return 0;
  }
  std::printf("Format: %d.%d\n", image.FormatMajor(), image.FormatMinor());
  std::printf("%s\n", qd::UsedTextLabel(input.usedTextPercent).c_str());
  std::printf("Data length: %d\n", input.dataLength);
  std::printf("Serial: %u\n", static_cast<unsigned>(image.SerialNumber()));
  std::printf("Hardware version: %d\n", image.HardwareVersion());
  std::printf("Firmware version: %d.%d\n", image.FirmwareMajor(), image.FirmwareMinor());
  std::printf("%s\n", qd::ControllerDateText(image).c_str());
  return 0;
}

}  // namespace qdtool
