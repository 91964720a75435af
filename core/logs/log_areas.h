#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "model/controller_image.h"

// Where the log windows find the two log areas of a controller image. A controller with firmware major
// version 1 keeps both 128 bytes earlier than the memory map says; the system file always carries the
// map's fixed regions.
namespace qd::logs {

static_assert(layout::AlarmLog + layout::AlarmLogSize <= layout::ImageSize);
static_assert(layout::ConsumptionLog + layout::ConsumptionLogSize <= layout::ImageSize);
static_assert(layout::ConsumptionLog - layout::FirmwareOneLogShift >= layout::AlarmLog);

inline bool LogsShifted(const ControllerImage& image) {
  return image.FirmwareMajor() == 1;
}

inline std::size_t AlarmLogOffset(const ControllerImage& image) {
  return LogsShifted(image) ? layout::AlarmLog - layout::FirmwareOneLogShift : layout::AlarmLog;
}

inline std::size_t ConsumptionLogOffset(const ControllerImage& image) {
  return LogsShifted(image) ? layout::ConsumptionLog - layout::FirmwareOneLogShift : layout::ConsumptionLog;
}

inline std::span<const std::uint8_t> AlarmLogArea(const ControllerImage& image) {
  return image.Span().subspan(AlarmLogOffset(image), layout::AlarmLogSize);
}
inline std::span<std::uint8_t> AlarmLogArea(ControllerImage& image) {
  return image.Span().subspan(AlarmLogOffset(image), layout::AlarmLogSize);
}

inline std::span<const std::uint8_t> ConsumptionLogArea(const ControllerImage& image) {
  return image.Span().subspan(ConsumptionLogOffset(image), layout::ConsumptionLogSize);
}
inline std::span<std::uint8_t> ConsumptionLogArea(ControllerImage& image) {
  return image.Span().subspan(ConsumptionLogOffset(image), layout::ConsumptionLogSize);
}

}  // namespace qd::logs
