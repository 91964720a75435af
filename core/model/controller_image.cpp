#include "model/controller_image.h"

#include <cstring>

#include "app/bytes.h"

namespace qd {

std::uint32_t ControllerImage::SerialNumber() const {
  return bytes::GetU32LE(bytes, layout::SerialNumber);
}

ClockBytes ControllerImage::ControllerTime() const {
  const std::size_t at = layout::ControllerTime;
  ClockBytes clock;
  clock.second = bytes[at];
  clock.minute = bytes[at + 1];
  clock.hour = bytes[at + 2];
  clock.day = bytes[at + 3];
  clock.month = bytes[at + 4];
  clock.year = bytes[at + 5] + 2000;
  return clock;
}

bool ControllerImage::ControllerTimeValid() const {
  const ClockBytes c = ControllerTime();
  return c.year - 2000 <= 99 && c.month >= 1 && c.month <= 12 && c.day >= 1 && c.day <= 31 && c.hour <= 23 &&
         c.minute <= 59 && c.second <= 59;
}

std::string ControllerImage::TextAt(std::uint32_t offset) const {
  if (offset >= layout::TextAreaSize) return {};
  return FieldText(layout::TextArea + offset, layout::TextAreaSize - offset);
}

std::string ControllerImage::FieldText(std::size_t at, std::size_t width) const {
  std::string text;
  for (std::size_t i = at; i < at + width && i < bytes.size() && bytes[i] != 0; ++i) {
    text += static_cast<char>(bytes[i]);
  }
  return text;
}

std::string ControllerImage::SystemLoginCode() const {
  return FieldText(layout::SystemLoginCode, layout::SystemLoginCodeLength);
}

void ControllerImage::WriteFormat() {
  std::memcpy(bytes.data() + layout::Magic, layout::ImageMagic, layout::ImageMagicSize);
  bytes[layout::VersionMajor] = layout::ImageFormatMajor;
  bytes[layout::VersionMinor] = layout::ImageFormatMinor;
}

bool ControllerImage::FormatAccepted() const {
  return std::memcmp(bytes.data() + layout::Magic, layout::ImageMagic, layout::ImageMagicSize) == 0 &&
         FormatMajor() == layout::ImageFormatMajor;
}

}  // namespace qd
