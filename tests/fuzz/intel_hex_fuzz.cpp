// The Intel HEX loader on arbitrary text for both targets, and the figures the firmware window shows
// of what it loaded.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "firmware/intel_hex.h"

namespace {

using namespace qd::firmware;

void Load(std::string_view text, const FirmwareTarget& target) {
  const FirmwareImage firmware = LoadIntelHex(text, target);
  if (firmware.image.size() != ImageCapacity) __builtin_trap();
  std::string sink = DescribeLoadError(firmware.error);
  if (!firmware.Loaded()) return;
  // A loaded image has data below the target's image size, and its figures stay inside the image.
  if (firmware.codeStart >= target.imageSize || firmware.codeEnd >= target.imageSize) __builtin_trap();
  if (firmware.codeEnd < firmware.codeStart) __builtin_trap();
  if (firmware.programmingEnd != ProgrammingEnd(firmware.codeEnd, target.blockSizeWord)) __builtin_trap();
  const FirmwareLabels labels = LabelsFor(firmware);
  sink += labels.codeStart + labels.codeEnd + labels.codeUsed + labels.checksum;
  firmware.Bytes(firmware.codeStart, firmware.codeEnd - firmware.codeStart + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Load(text, ControllerTarget);
  Load(text, TriggerTarget);
  return 0;
}
