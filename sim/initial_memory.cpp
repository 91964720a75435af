#include "initial_memory.h"

#include <memory>

#include "app/file_io.h"
#include "model/system_commands.h"
#include "model/working_config.h"
#include "sample_logs.h"

namespace qd::sim {

ClockTime SampleLogTime(const std::optional<ClockTime>& clockStart) {
  return clockStart.value_or(ClockTime{2024, 1, 1, 0, 0, 0});
}

ControllerIdentity IdentityFromOptions(const SimOptions& options, ControllerIdentity base) {
  if (options.hardwareVersion) base.hardwareVersion = *options.hardwareVersion;
  if (options.firmwareMajor) base.firmwareMajor = *options.firmwareMajor;
  if (options.firmwareMinor) base.firmwareMinor = *options.firmwareMinor;
  if (options.serialNumber) base.serialNumber = *options.serialNumber;
  return base;
}

std::optional<ControllerMemory> InitialMemory(const SimOptions& options, const ClockTime& now,
                                              std::string& error) {
  ControllerMemory memory;
  if (options.imageFile) {
    const std::optional<std::string> image = ReadWholeFile(*options.imageFile, error);
    if (!image) return std::nullopt;
    const auto* data = reinterpret_cast<const std::uint8_t*>(image->data());
    if (!memory.Load(std::span<const std::uint8_t>(data, image->size()))) {
      error = *options.imageFile + ": a memory image has " + std::to_string(ControllerMemory::Size) +
              " bytes, this file " + std::to_string(image->size());
      return std::nullopt;
    }
    memory.SetIdentity(IdentityFromOptions(options, memory.Identity()));
  } else {
    // Large: the whole working configuration of a system.
    auto config = std::make_unique<WorkingConfig>();
    if (options.systemFile) {
      const LoadResult loaded = LoadSystem(*config, *options.systemFile, options.buildTime);
      if (!loaded.file.ok) {
        error = loaded.file.error;
        return std::nullopt;
      }
    } else {
      NewSystem(*config, options.buildTime);
    }
    memory.Load(config->image.bytes);
    memory.SetIdentity(IdentityFromOptions(options));
  }
  if (options.sampleLogs) FillSampleLogs(memory, now);
  return memory;
}

}  // namespace qd::sim
