#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/local_time.h"
#include "app/translation.h"

// Firmware files in Intel HEX format, loaded into the image that the boot loaders are programmed from.
//   :nnaaaatt<data>cc   nn byte count | aaaa 16-bit address, high byte first | tt record type
//                       <data> nn bytes | cc checksum: all bytes of the record sum to 0 (8 bits)
// Every field is pairs of the hex digits 0-9 and A-F. The first character of a line is not examined,
// lines shorter than 9 characters are skipped, and a line is read whole however long it is (a record
// may hold up to 255 data bytes). A line ends at LF, CR LF or CR. Record types:
//   0 data | 1 end of file (reading goes on) | 2 extended segment address (value x 16)
//   3 start segment address (ignored) | 4 extended linear address (value x 65536)
//   5 start linear address (ignored)
namespace qd::firmware {

inline constexpr std::uint32_t ImageCapacity = 0x20000;      // 128 KiB, 0xFF wherever the file holds no data
inline constexpr std::uint32_t NoCodeStart = ImageCapacity;  // the code start of a file without data
inline constexpr std::uint32_t BlockBytes = 128;             // image bytes in one block frame

enum class TargetKind { Controller, Trigger };

// What is programmed: the controller or the trigger modules.
struct FirmwareTarget {
  TargetKind kind;
  const char* caption;          // the firmware window's caption
  std::uint16_t blockSizeWord;  // sent in the block size frame
  std::uint32_t imageSize;      // bytes of program memory the loader takes
};

inline constexpr FirmwareTarget ControllerTarget{
    TargetKind::Controller, QD_TRANSLATABLE("IntelHex", "Firmware update, QD310."), 256, 0xFC00};
inline constexpr FirmwareTarget TriggerTarget{
    TargetKind::Trigger, QD_TRANSLATABLE("IntelHex", "Firmware update, QD520 / QD740 trigger."), 128, 0x3800};

enum class HexError {
  None,
  CannotOpen,         // "Unable to open Intel hex file."
  UnknownRecordType,  // "Extended Intel-hex: Unknown record type."
  ChecksumError,      // "Extended Intel-hex: Check sum error."
  InvalidCharacter,   // a field holds a character other than 0-9, A-F
  RecordTooShort,     // the line ends before the data and checksum that its byte count announces
  BadAddressRecord,   // an extended address record without exactly two data bytes
  BeyondImage,        // a data record reaches beyond the 128 KiB image
  NoData,             // no data below the target's image size
};

struct HexLoadError {
  HexError kind = HexError::None;
  int line = 0;      // 1-based line of the file; 0 when the error concerns no single line
  int column = 0;    // 1-based character of the line, for InvalidCharacter
  std::string text;  // the error box's text
};

// A loaded firmware file and the figures the firmware window shows and the boot loader sends.
struct FirmwareImage {
  FirmwareImage();

  FirmwareTarget target = ControllerTarget;
  std::vector<std::uint8_t> image;        // ImageCapacity bytes
  std::uint32_t codeStart = NoCodeStart;  // lowest data address
  std::uint32_t codeEnd = 0;  // highest data address, at most image size - 1, trimmed of trailing 0xFF
  std::uint16_t displayChecksum = 0;  // 16-bit sum from code start to image size - 1
  std::uint16_t codeChecksum = 0;     // 16-bit sum from code start up to, not including, code end
  std::uint16_t programmingEnd = 0;   // code end rounded up to the block size word
  int dataRecords = 0;
  bool endOfFile = false;     // an end-of-file record was read
  std::uint32_t dataEnd = 0;  // one past the highest data byte of the file, wherever it lies
  HexLoadError error;         // kind None after a complete load

  // The load succeeded and left data for the target: the image may be programmed.
  bool Loaded() const { return error.kind == HexError::None && codeStart < target.imageSize; }
  // The `count` image bytes from `address`; throws std::out_of_range beyond the image.
  std::span<const std::uint8_t> Bytes(std::uint32_t address, std::size_t count) const;
};

// Loads the text of a HEX file for a target. The image is filled with 0xFF first. On an error the
// result holds what was loaded before the failing line, and the error; it is not Loaded().
FirmwareImage LoadIntelHex(std::string_view text, const FirmwareTarget& target);
// The same from a file; a file that cannot be read gives CannotOpen.
FirmwareImage LoadIntelHexFile(const std::filesystem::path& path, const FirmwareTarget& target);

// What a technician should know before programming a loaded file: it has no end-of-file record (it may be
// cut short), or it holds data beyond the target's program memory (it may be meant for the other target).
// Empty when there is nothing to say.
std::vector<std::string> LoadWarnings(const FirmwareImage& firmware);

// (code end + 127) AND 0xFF80 for the block size word 128, else (code end + 255) AND 0xFF00.
std::uint16_t ProgrammingEnd(std::uint32_t codeEnd, std::uint16_t blockSizeWord);

// The texts of the firmware window's file labels.
struct FirmwareLabels {
  std::string codeStart;  // "%04Xh (%dd)"
  std::string codeEnd;    // "%04Xh (%dd)"
  std::string codeUsed;   // "%.1f%% (%d bytes)", percent of the image size
  std::string checksum;   // "%04Xh" of the display checksum
};
FirmwareLabels LabelsFor(const FirmwareImage& firmware);

// The file date label: "%u-%u-%u  %u:%02u:%02u" as day, month, year, hour, minute, second, the seconds
// in steps of 2.
std::string FileDateText(const LocalTime& modified);

// One line for a log or a terminal: the error text, with the line number added where the text itself
// does not name it.
std::string DescribeLoadError(const HexLoadError& error);

}  // namespace qd::firmware
