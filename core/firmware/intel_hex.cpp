#include "firmware/intel_hex.h"

#include <algorithm>
#include <array>
#include <optional>
#include <stdexcept>

#include "app/file_io.h"
#include "app/text.h"
#include "app/translation.h"

namespace qd::firmware {
namespace {

constexpr std::size_t MinLineLength = 9;  // up to the record type
constexpr std::size_t DataColumn = 9;
constexpr std::uint8_t MaxRecordType = 5;

namespace record {
constexpr std::uint8_t Data = 0;
constexpr std::uint8_t EndOfFile = 1;
constexpr std::uint8_t ExtendedSegmentAddress = 2;
constexpr std::uint8_t ExtendedLinearAddress = 4;
}  // namespace record

HexLoadError MakeError(HexError kind, int line, int column = 0) {
  HexLoadError error{kind, line, column, {}};
  switch (kind) {
    case HexError::None:
      break;
    case HexError::CannotOpen:
      error.text = UiText("IntelHex", "Unable to open Intel hex file.");
      break;
    case HexError::UnknownRecordType:
      error.text = UiText("IntelHex", "Extended Intel-hex: Unknown record type.");
      break;
    case HexError::ChecksumError:
      error.text = UiText("IntelHex", "Extended Intel-hex: Check sum error.");
      break;
    case HexError::InvalidCharacter:
      error.text = Substitute(
          UiText("IntelHex",
                 "Extended Intel-hex: Invalid character in line %1, column %2 (hex digits are 0-9 and A-F)."),
          {std::to_string(line), std::to_string(column)});
      break;
    case HexError::RecordTooShort:
      error.text =
          Substitute(UiText("IntelHex", "Extended Intel-hex: Record shorter than its byte count in line %1."),
                     {std::to_string(line)});
      break;
    case HexError::BadAddressRecord:
      error.text = Substitute(
          UiText("IntelHex", "Extended Intel-hex: Address record without two data bytes in line %1."),
          {std::to_string(line)});
      break;
    case HexError::BeyondImage:
      error.text =
          Substitute(UiText("IntelHex", "Extended Intel-hex: Data beyond the 128 KiB image in line %1."),
                     {std::to_string(line)});
      break;
    case HexError::NoData:
      break;  // needs the image size; see NoDataError
  }
  return error;
}

HexLoadError NoDataError(std::uint32_t imageSize) {
  HexLoadError error{HexError::NoData, 0, 0, {}};
  error.text = Substitute(UiText("IntelHex", "Extended Intel-hex: No data records for addresses below %1h."),
                          {Format("%04X", static_cast<unsigned>(imageSize))});
  return error;
}

std::optional<std::uint8_t> HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  return std::nullopt;
}

// A record as its line gives it.
struct Record {
  std::uint8_t count = 0;
  std::uint16_t address = 0;
  std::uint8_t type = 0;
  std::array<std::uint8_t, 255> data{};
};

// Reads byte pairs from a line, each added to the line sum.
class RecordReader {
 public:
  RecordReader(std::string_view line, int lineNumber) : line_(line), lineNumber_(lineNumber) {}

  // The byte at `column` (two characters), or an error.
  bool Byte(std::size_t column, std::uint8_t& value, HexLoadError& error) {
    for (std::size_t i = column; i < column + 2; ++i) {
      if (i >= line_.size() || !HexDigit(line_[i])) {
        error = MakeError(HexError::InvalidCharacter, lineNumber_, static_cast<int>(i + 1));
        return false;
      }
    }
    value = static_cast<std::uint8_t>((*HexDigit(line_[column]) << 4) | *HexDigit(line_[column + 1]));
    sum_ = static_cast<std::uint8_t>(sum_ + value);
    return true;
  }

  std::uint8_t Sum() const { return sum_; }

 private:
  std::string_view line_;
  int lineNumber_;
  std::uint8_t sum_ = 0;
};

// Reads and checks one line of at least MinLineLength characters.
bool ReadRecord(std::string_view line, int lineNumber, Record& rec, HexLoadError& error) {
  RecordReader reader(line, lineNumber);
  std::uint8_t high = 0;
  std::uint8_t low = 0;
  if (!reader.Byte(1, rec.count, error) || !reader.Byte(3, high, error) || !reader.Byte(5, low, error) ||
      !reader.Byte(7, rec.type, error)) {
    return false;
  }
  rec.address = static_cast<std::uint16_t>((high << 8) | low);
  if (rec.type > MaxRecordType) {
    error = MakeError(HexError::UnknownRecordType, lineNumber);
    return false;
  }
  const std::size_t checksumColumn = DataColumn + 2 * static_cast<std::size_t>(rec.count);
  if (line.size() < checksumColumn + 2) {
    error = MakeError(HexError::RecordTooShort, lineNumber);
    return false;
  }
  for (std::size_t i = 0; i < rec.count; ++i) {
    if (!reader.Byte(DataColumn + 2 * i, rec.data[i], error)) return false;
  }
  std::uint8_t checksum = 0;
  if (!reader.Byte(checksumColumn, checksum, error)) return false;
  if (reader.Sum() != 0) {
    error = MakeError(HexError::ChecksumError, lineNumber);
    return false;
  }
  return true;
}

std::uint16_t Sum16(std::span<const std::uint8_t> bytes) {
  std::uint16_t sum = 0;
  for (std::uint8_t b : bytes)
    sum = static_cast<std::uint16_t>(sum + b);
  return sum;
}

// The image bytes in [from, to), empty when to <= from.
std::span<const std::uint8_t> Range(const std::vector<std::uint8_t>& image, std::uint32_t from,
                                    std::uint32_t to) {
  if (to <= from) return {};
  if (to > image.size()) throw std::out_of_range("firmware image range");
  return std::span<const std::uint8_t>(image).subspan(from, to - from);
}

// Applies one checked record.
bool ApplyRecord(FirmwareImage& firmware, const Record& rec, std::uint32_t& extendedAddress, int lineNumber,
                 HexLoadError& error) {
  switch (rec.type) {
    case record::Data: {
      // An empty data record stores nothing and marks no address as code.
      if (rec.count == 0) return true;
      const std::uint64_t address = static_cast<std::uint64_t>(extendedAddress) + rec.address;
      if (address + rec.count > ImageCapacity) {
        error = MakeError(HexError::BeyondImage, lineNumber);
        return false;
      }
      const auto at = static_cast<std::uint32_t>(address);
      std::copy_n(rec.data.begin(), rec.count, firmware.image.begin() + at);
      firmware.codeStart = std::min(firmware.codeStart, at);
      firmware.codeEnd = std::max(firmware.codeEnd, at + rec.count - 1);
      firmware.dataEnd = std::max(firmware.dataEnd, at + rec.count);
      ++firmware.dataRecords;
      return true;
    }
    case record::EndOfFile:
      firmware.endOfFile = true;
      return true;
    case record::ExtendedSegmentAddress:
    case record::ExtendedLinearAddress: {
      if (rec.count != 2) {
        error = MakeError(HexError::BadAddressRecord, lineNumber);
        return false;
      }
      const std::uint32_t value = static_cast<std::uint32_t>((rec.data[0] << 8) | rec.data[1]);
      extendedAddress = rec.type == record::ExtendedSegmentAddress ? value * 16 : value * 65536;
      return true;
    }
    default:
      return true;  // end of file and start addresses
  }
}

// The next line and where the one after it starts; a line ends at LF, CR LF or a lone CR.
std::string_view NextLine(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  std::size_t end = start;
  while (end < text.size() && text[end] != '\n' && text[end] != '\r')
    ++end;
  pos = end;
  if (pos < text.size() && text[pos] == '\r') ++pos;
  if (pos < text.size() && text[pos] == '\n') ++pos;
  return text.substr(start, end - start);
}

}  // namespace

FirmwareImage::FirmwareImage() : image(ImageCapacity, 0xFF) {}

std::span<const std::uint8_t> FirmwareImage::Bytes(std::uint32_t address, std::size_t count) const {
  if (address > image.size() || count > image.size() - address) {
    throw std::out_of_range("firmware image access beyond the image");
  }
  return std::span<const std::uint8_t>(image).subspan(address, count);
}

FirmwareImage LoadIntelHex(std::string_view text, const FirmwareTarget& target) {
  FirmwareImage firmware;
  firmware.target = target;
  std::uint32_t extendedAddress = 0;
  std::size_t pos = 0;
  int lineNumber = 0;
  Record rec;
  while (pos < text.size()) {
    const std::string_view line = NextLine(text, pos);
    ++lineNumber;
    if (line.size() < MinLineLength) continue;
    HexLoadError error;
    if (!ReadRecord(line, lineNumber, rec, error) ||
        !ApplyRecord(firmware, rec, extendedAddress, lineNumber, error)) {
      firmware.error = std::move(error);
      return firmware;
    }
  }

  if (firmware.codeStart >= target.imageSize) {
    firmware.error = NoDataError(target.imageSize);
    return firmware;
  }
  firmware.codeEnd = std::min(firmware.codeEnd, target.imageSize - 1);
  firmware.displayChecksum = Sum16(Range(firmware.image, firmware.codeStart, target.imageSize));
  while (firmware.codeEnd > firmware.codeStart && firmware.image.at(firmware.codeEnd) == 0xFF)
    --firmware.codeEnd;
  firmware.codeChecksum = Sum16(Range(firmware.image, firmware.codeStart, firmware.codeEnd));
  firmware.programmingEnd = ProgrammingEnd(firmware.codeEnd, target.blockSizeWord);
  return firmware;
}

std::vector<std::string> LoadWarnings(const FirmwareImage& firmware) {
  std::vector<std::string> warnings;
  if (!firmware.endOfFile)
    warnings.push_back(UiText("IntelHex", "The file has no end-of-file record: it may be cut short."));
  if (firmware.dataEnd > firmware.target.imageSize) {
    const std::string pattern =
        firmware.target.kind == TargetKind::Controller
            ? UiText("IntelHex",
                     "The file holds data up to %1h, beyond the controller's program "
                     "memory (%2h bytes): it may be meant for the trigger modules.")
            : UiText("IntelHex",
                     "The file holds data up to %1h, beyond the trigger module's program "
                     "memory (%2h bytes): it may be meant for the controller.");
    warnings.push_back(
        Substitute(pattern, {Format("%05X", static_cast<unsigned>(firmware.dataEnd - 1)),
                             Format("%04X", static_cast<unsigned>(firmware.target.imageSize))}));
  }
  return warnings;
}

FirmwareImage LoadIntelHexFile(const std::filesystem::path& path, const FirmwareTarget& target) {
  constexpr std::uintmax_t MaxHexFileBytes = std::uintmax_t{4} << 20;  // a full 64 KB image is ~180 KB
  std::string reason;
  const std::optional<std::string> text = ReadWholeFile(path, reason, MaxHexFileBytes);
  if (!text) {
    FirmwareImage firmware;
    firmware.target = target;
    firmware.error = MakeError(HexError::CannotOpen, 0);
    // Why a file that is there was refused.
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
      firmware.error.text = UiText("IntelHex", "Unable to open Intel hex file: it is not a regular file.");
    } else if (std::filesystem::is_regular_file(status) &&
               std::filesystem::file_size(path, ec) > MaxHexFileBytes && !ec) {
      firmware.error.text = UiText("IntelHex", "Unable to open Intel hex file: it is larger than 4 MB.");
    }
    return firmware;
  }
  return LoadIntelHex(*text, target);
}

std::uint16_t ProgrammingEnd(std::uint32_t codeEnd, std::uint16_t blockSizeWord) {
  if (blockSizeWord == 128) return static_cast<std::uint16_t>((codeEnd + 127) & 0xFF80);
  return static_cast<std::uint16_t>((codeEnd + 255) & 0xFF00);
}

FirmwareLabels LabelsFor(const FirmwareImage& firmware) {
  const auto address = [](std::uint32_t value) {
    return Format("%04Xh (%dd)", static_cast<unsigned>(value), static_cast<int>(value));
  };
  const int used = static_cast<int>(firmware.codeEnd) - static_cast<int>(firmware.codeStart);
  const double percent = firmware.target.imageSize == 0 ? 0.0 : used * 100.0 / firmware.target.imageSize;
  return {address(firmware.codeStart), address(firmware.codeEnd),
          Substitute(UiText("IntelHex", "%1% (%2 bytes)"), {UiDecimal(percent, 1), std::to_string(used)}),
          Format("%04Xh", static_cast<unsigned>(firmware.displayChecksum))};
}

std::string FileDateText(const LocalTime& modified) {
  return Format("%u-%u-%u  %u:%02u:%02u", static_cast<unsigned>(modified.day),
                static_cast<unsigned>(modified.month), static_cast<unsigned>(modified.year),
                static_cast<unsigned>(modified.hour), static_cast<unsigned>(modified.minute),
                static_cast<unsigned>(modified.second / 2 * 2));
}

std::string DescribeLoadError(const HexLoadError& error) {
  if (error.kind == HexError::UnknownRecordType || error.kind == HexError::ChecksumError) {
    return Format("%s (line %d)", error.text.c_str(), error.line);
  }
  return error.text;
}

}  // namespace qd::firmware
