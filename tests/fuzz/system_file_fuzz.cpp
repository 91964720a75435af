// The system file reader on arbitrary bytes, then what Load System does with what it read: the image
// is built and the editors refreshed. A file that read completely is written again; reading that text
// must succeed and give the same text back. The service report of what was read is built as text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/image_builder.h"
#include "model/system_commands.h"
#include "model/system_file.h"
#include "model/system_setup.h"
#include "review/service_report.h"

namespace {

using namespace qd;

const LocalDateTime BuildTime{2024, 5, 6, 7, 8, 9, 0};

// Reset, read, build and refresh, as Load System does; the build runs whether or not the read failed.
bool Load(WorkingConfig& config, std::string_view text) {
  ResetSystem(config);
  const FileResult read = ReadSystemFileText(config, text);
  const BuildResult built = BuildImage(config, BuildTime);
  if (built.dataLength < 0 || built.dataLength > static_cast<int>(layout::ImageSize)) __builtin_trap();
  FillFromSystemData(config);
  return read.ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  WorkingConfig config;
  const bool complete = Load(config, text);
  const review::ServiceReport report = review::BuildServiceReport(config, {BuildTime, {}, {}, "file", {}});
  if (review::ReportPlainText(report).empty()) __builtin_trap();
  if (!complete) return 0;

  const std::string written = SystemFileText(config);
  WorkingConfig again;
  if (!Load(again, written)) __builtin_trap();
  if (SystemFileText(again) != written) __builtin_trap();
  return 0;
}
