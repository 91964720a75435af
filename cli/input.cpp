#include "input.h"

#include <algorithm>

#include "app/file_io.h"
#include "app/text.h"
#include "arguments.h"
#include "model/image_builder.h"
#include "model/image_parser.h"
#include "model/system_commands.h"
#include "model/system_file.h"

namespace qdtool {

bool IsSystemFile(const std::string& path) {
  return qd::IsSystemFileName(path);
}

Input LoadInput(qd::WorkingConfig& config, const std::string& path, const qd::LocalDateTime& buildTime) {
  Input input;
  if (IsSystemFile(path)) {
    const qd::LoadResult loaded = qd::LoadSystem(config, path, buildTime);
    input.ok = loaded.file.ok;
    if (!input.ok) input.failure = path + ": " + loaded.file.error;
    input.usedTextPercent = loaded.build.usedTextPercent;
    input.dataLength = loaded.build.dataLength;
    return input;
  }

  std::string error;
  const auto data = qd::ReadWholeFile(path, error);
  if (!data) throw Failure(error);
  if (data->size() != qd::layout::ImageSize) {
    throw Failure(path + ": an image has 32768 bytes, this file has " + std::to_string(data->size()));
  }
  std::copy(data->begin(), data->end(), config.image.bytes.begin());
  const qd::ParseResult parsed = qd::ParseImage(config);
  input.ok = parsed.ok;
  input.failure = parsed.error;
  input.usedTextPercent = parsed.usedTextPercent;
  input.dataLength = qd::DataLengthForText(parsed.textInUse);
  return input;
}

void WriteImageFile(const qd::ControllerImage& image, const std::string& path) {
  const std::string_view data(reinterpret_cast<const char*>(image.bytes.data()), image.bytes.size());
  const qd::FileResult written = qd::WriteFileAtomically(path, data);
  if (!written.ok) throw Failure(written.error);
}

void WriteSystemFileOrFail(const qd::WorkingConfig& config, const std::string& path) {
  const qd::FileResult written = qd::WriteSystemFile(config, path);
  if (!written.ok) throw Failure(written.error);
}

}  // namespace qdtool
