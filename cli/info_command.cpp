#include <cstdio>

#include "arguments.h"
#include "commands.h"
#include "input.h"
#include "model/image_parser.h"
#include "model/system_commands.h"

namespace qdtool {

const char* const InfoUsage =
    "usage: qdtool info IN\n"
    "\n"
    "Prints the image format, the text area's use, the data length, the controller identity and\n"
    "the controller clock of a system file (as built) or an image (as read).\n";

int RunInfo(const std::vector<std::string>& args) {
  const Arguments arguments(args, {}, {});
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
