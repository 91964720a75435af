#include "firmware/intel_hex.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/file_io.h"

namespace qd::firmware {
namespace {

using Bytes = std::vector<std::uint8_t>;

// One record line as a HEX writer produces it: ':', count, address, type, data, checksum.
std::string Record(std::uint8_t type, std::uint16_t address, const Bytes& data) {
  Bytes all = {static_cast<std::uint8_t>(data.size()), static_cast<std::uint8_t>(address >> 8),
               static_cast<std::uint8_t>(address), type};
  all.insert(all.end(), data.begin(), data.end());
  std::uint8_t sum = 0;
  for (std::uint8_t b : all)
    sum = static_cast<std::uint8_t>(sum + b);
  all.push_back(static_cast<std::uint8_t>(-sum));
  std::string line = ":";
  char pair[3];
  for (std::uint8_t b : all) {
    std::snprintf(pair, sizeof pair, "%02X", b);
    line += pair;
  }
  return line + "\n";
}
std::string Data(std::uint16_t address, const Bytes& data) {
  return Record(0, address, data);
}
std::string Segment(std::uint16_t value) {
  return Record(2, 0, {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}
std::string Linear(std::uint16_t value) {
  return Record(4, 0, {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}
const std::string EndOfFile = ":00000001FF\n";

// `count` bytes counting up from `first`, never 0xFF.
Bytes Counting(std::size_t count, std::uint8_t first = 1) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i)
    bytes[i] = static_cast<std::uint8_t>((first + i) % 0xFF);
  return bytes;
}

Bytes ImageAt(const FirmwareImage& firmware, std::uint32_t address, std::size_t count) {
  const auto span = firmware.Bytes(address, count);
  return Bytes(span.begin(), span.end());
}

// Addresses in [from, to) that do not hold 0xFF.
int NonErasedIn(const FirmwareImage& firmware, std::uint32_t from, std::uint32_t to) {
  int count = 0;
  for (std::uint32_t a = from; a < to; ++a)
    count += firmware.image.at(a) != 0xFF;
  return count;
}

// --- The behaviour a technician relies on first -------------------------------------------------

TEST(IntelHexEdgeCases, TrailingErasedBytesAreTrimmedAndTheProgrammingEndFollows) {
  // Data 0000h..01BFh whose bytes from 0131h on are 0xFF: untrimmed, the trigger modules would be
  // programmed up to 0200h.
  Bytes data = Counting(0x1C0);
  std::fill(data.begin() + 0x131, data.end(), 0xFF);
  std::string text;
  for (std::uint16_t a = 0; a < 0x1C0; a += 0x20)
    text += Data(a, Bytes(data.begin() + a, data.begin() + a + 0x20));

  const FirmwareImage trigger = LoadIntelHex(text, TriggerTarget);
  ASSERT_TRUE(trigger.Loaded()) << trigger.error.text;
  EXPECT_EQ(trigger.codeStart, 0u);
  EXPECT_EQ(trigger.codeEnd, 0x130u);
  EXPECT_EQ(trigger.programmingEnd, 0x180);

  const FirmwareImage controller = LoadIntelHex(text, ControllerTarget);
  ASSERT_TRUE(controller.Loaded());
  EXPECT_EQ(controller.codeEnd, 0x130u);
  EXPECT_EQ(controller.programmingEnd, 0x200);
}

TEST(IntelHexEdgeCases, RecordsAfterTheEndOfFileRecordAreStillLoaded) {
  const std::string text = Data(0x0000, {0x11, 0x22}) + EndOfFile + Data(0x0100, {0x33, 0x44}) + EndOfFile;
  const FirmwareImage firmware = LoadIntelHex(text, ControllerTarget);
  ASSERT_TRUE(firmware.Loaded());
  EXPECT_EQ(ImageAt(firmware, 0x100, 2), (Bytes{0x33, 0x44}));
  EXPECT_EQ(firmware.codeEnd, 0x101u);
}

TEST(IntelHexEdgeCases, ExtendedLinearAddressOneMovesDataToTheSecond64KiB) {
  const std::string text = Data(0x0000, {0x01}) + Linear(0x0001) + Data(0x0010, {0xAB, 0xCD}) + EndOfFile;
  const FirmwareImage firmware = LoadIntelHex(text, ControllerTarget);
  ASSERT_TRUE(firmware.Loaded()) << firmware.error.text;
  EXPECT_EQ(ImageAt(firmware, 0x10010, 2), (Bytes{0xAB, 0xCD}));
  EXPECT_EQ(ImageAt(firmware, 0x0010, 2), (Bytes{0xFF, 0xFF}));
  // Beyond the controller's FC00h bytes: code end is limited to FBFFh, then trimmed back to 0000h.
  EXPECT_EQ(firmware.codeEnd, 0u);
}

// --- Record types ------------------------------------------------------------------------------

TEST(IntelHexRecords, DataRecordAddressIsReadHighByteFirst) {
  const FirmwareImage firmware = LoadIntelHex(Data(0x1234, {0xDE, 0xAD, 0xBE}), ControllerTarget);
  ASSERT_TRUE(firmware.Loaded());
  EXPECT_EQ(ImageAt(firmware, 0x1234, 3), (Bytes{0xDE, 0xAD, 0xBE}));
  EXPECT_EQ(firmware.codeStart, 0x1234u);
  EXPECT_EQ(firmware.codeEnd, 0x1236u);
  EXPECT_EQ(NonErasedIn(firmware, 0, ImageCapacity), 3);
}

TEST(IntelHexRecords, ExtendedSegmentAddressCountsInSixteenBytes) {
  // 0123h x 16 = 1230h: a loader multiplying by 65536 would leave the first 64 KiB empty.
  const std::string text = Segment(0x0123) + Data(0x0004, {0x5A}) + Segment(0x1000) + Data(0x0020, {0xA5});
  const FirmwareImage firmware = LoadIntelHex(text, ControllerTarget);
  ASSERT_TRUE(firmware.Loaded());
  EXPECT_EQ(firmware.image.at(0x1234), 0x5A);
  EXPECT_EQ(firmware.image.at(0x10020), 0xA5);
  EXPECT_EQ(firmware.codeStart, 0x1234u);
}

TEST(IntelHexRecords, LaterAddressRecordReplacesTheEarlierOne) {
  const std::string text = Segment(0x1000) + Linear(0x0000) + Data(0x0040, {0x77});
  const FirmwareImage firmware = LoadIntelHex(text, TriggerTarget);
  ASSERT_TRUE(firmware.Loaded());
  EXPECT_EQ(firmware.image.at(0x0040), 0x77);
  EXPECT_EQ(firmware.image.at(0x10040), 0xFF);
}

TEST(IntelHexRecords, StartAddressRecordsAreCheckedButStoreNothing) {
  const std::string start3 = Record(3, 0, {0x00, 0x00, 0x12, 0x34});
  const std::string start5 = Record(5, 0, {0x00, 0x00, 0x00, 0x40});
  const FirmwareImage firmware = LoadIntelHex(Data(0x0100, {0x42}) + start3 + start5, TriggerTarget);
  ASSERT_TRUE(firmware.Loaded());
  EXPECT_EQ(NonErasedIn(firmware, 0, ImageCapacity), 1);
  EXPECT_EQ(firmware.codeStart, 0x100u);
  EXPECT_EQ(firmware.codeEnd, 0x100u);
  EXPECT_EQ(firmware.dataRecords, 1);

  std::string broken = start5;
  broken[broken.size() - 2] = broken[broken.size() - 2] == '0' ? '1' : '0';
  const FirmwareImage bad = LoadIntelHex(Data(0x0100, {0x42}) + broken, TriggerTarget);
  EXPECT_EQ(bad.error.kind, HexError::ChecksumError);
  EXPECT_EQ(bad.error.line, 2);
}

TEST(IntelHexRecords, UnknownRecordTypeStopsTheLoad) {
  for (const std::uint8_t type : {std::uint8_t{6}, std::uint8_t{0xFF}}) {
    const std::string text = Data(0x0000, {0x01}) + Record(type, 0, {0x00}) + Data(0x0010, {0x02});
    const FirmwareImage firmware = LoadIntelHex(text, ControllerTarget);
    EXPECT_FALSE(firmware.Loaded());
    EXPECT_EQ(firmware.error.kind, HexError::UnknownRecordType);
    EXPECT_EQ(firmware.error.text, "Extended Intel-hex: Unknown record type.");
    EXPECT_EQ(firmware.error.line, 2);
    EXPECT_EQ(firmware.image.at(0x0010), 0xFF) << "the line after the error was loaded";
  }
}

TEST(IntelHexRecords, ChecksumErrorStopsTheLoadAndNamesTheLine) {
  std::string bad = Data(0x0010, {0x10, 0x20});
  bad[10] = '1';  // 10h -> 11h, the sum no longer comes to 0
  const std::string text = "\n" + Data(0x0000, {0x01}) + bad + Data(0x0020, {0x03});
  const FirmwareImage firmware = LoadIntelHex(text, ControllerTarget);
  EXPECT_FALSE(firmware.Loaded());
  EXPECT_EQ(firmware.error.kind, HexError::ChecksumError);
  EXPECT_EQ(firmware.error.text, "Extended Intel-hex: Check sum error.");
  EXPECT_EQ(firmware.error.line, 3);
  EXPECT_EQ(DescribeLoadError(firmware.error), "Extended Intel-hex: Check sum error. (line 3)");
  EXPECT_EQ(firmware.image.at(0x0000), 0x01);  // loaded before the failing line
  EXPECT_EQ(firmware.image.at(0x0020), 0xFF);
}

TEST(IntelHexRecords, ChecksumByteTakesPartInTheSum) {
  // All bytes 00: a loader that forgets the checksum byte would accept any checksum.
  EXPECT_TRUE(LoadIntelHex(":0100000000FF\n", TriggerTarget).Loaded());
  EXPECT_EQ(LoadIntelHex(":0100000000FE\n", TriggerTarget).error.kind, HexError::ChecksumError);
  EXPECT_EQ(LoadIntelHex(":010000000000\n", TriggerTarget).error.kind, HexError::ChecksumError);
}

// --- Lines -------------------------------------------------------------------------------------

TEST(IntelHexLines, ShortLinesAreSkippedAndStillCounted) {
  const std::string text = "\n  \nrubbish\n:0000000\n" + Data(0x0000, {0x01}) + ":0100100000FF\n";
  const FirmwareImage firmware = LoadIntelHex(text, TriggerTarget);
  EXPECT_EQ(firmware.error.kind, HexError::ChecksumError);
  EXPECT_EQ(firmware.error.line, 6);
}

TEST(IntelHexLines, FirstCharacterIsNotExamined) {
  std::string line = Data(0x0010, {0x99});
  line[0] = ';';
  const FirmwareImage firmware = LoadIntelHex(line, TriggerTarget);
  ASSERT_TRUE(firmware.Loaded());
  EXPECT_EQ(firmware.image.at(0x0010), 0x99);
}

TEST(IntelHexLines, EveryLineEndingSeparatesRecords) {
  const std::string a = ":0100000011EE";
  const std::string b = ":0100010022DC";
  const std::string c = ":0100020033CA";
  for (const std::string& text : {a + "\n" + b + "\n" + c + "\n", a + "\r\n" + b + "\r\n" + c,
                                  a + "\r" + b + "\r" + c + "\r", a + "\r\n" + b + "\n" + c + "\r"}) {
    const FirmwareImage firmware = LoadIntelHex(text, TriggerTarget);
    ASSERT_TRUE(firmware.Loaded()) << firmware.error.text;
    EXPECT_EQ(ImageAt(firmware, 0, 3), (Bytes{0x11, 0x22, 0x33}));
    EXPECT_EQ(firmware.dataRecords, 3);
  }
}

TEST(IntelHexLines, LineNumbersCountCrLfOnce) {
  const FirmwareImage firmware = LoadIntelHex(":0100000011EE\r\n\r\n:0100010022DD\r\n", TriggerTarget);
  EXPECT_EQ(firmware.error.line, 3);
}

TEST(IntelHexLines, CharactersAfterTheChecksumAreIgnored) {
  const FirmwareImage firmware = LoadIntelHex(":0100000011EE   ; boot vector\n", TriggerTarget);
  ASSERT_TRUE(firmware.Loaded());
  EXPECT_EQ(firmware.image.at(0), 0x11);
}

TEST(IntelHexLines, LongRecordIsReadWhole) {
  // 200 data bytes: 411 characters on one line.
  const Bytes data = Counting(200, 7);
  const std::string line = Data(0x0100, data);
  ASSERT_GT(line.size(), 255u);
  const FirmwareImage firmware = LoadIntelHex(line, ControllerTarget);
  ASSERT_TRUE(firmware.Loaded()) << firmware.error.text;
  EXPECT_EQ(ImageAt(firmware, 0x0100, 200), data);
  EXPECT_EQ(firmware.codeEnd, 0x0100u + 199);
  EXPECT_EQ(firmware.dataRecords, 1);
}

TEST(IntelHexLines, LongLineIsNeverSplitIntoTwoRecords) {
  // A record, blanks up to character 255, and from there what would read as a record of its own.
  std::string line = ":0100000011EE";
  line.resize(255, ' ');
  line += ":0100400055AA";
  const FirmwareImage firmware = LoadIntelHex(line + "\n", TriggerTarget);
  ASSERT_TRUE(firmware.Loaded());
  EXPECT_EQ(firmware.image.at(0x0000), 0x11);
  EXPECT_EQ(firmware.image.at(0x0040), 0xFF);
  EXPECT_EQ(firmware.dataRecords, 1);
}

// --- Files that are refused ----------------------------------------------------------------------

TEST(IntelHexRejects, CharactersOutsideTheHexDigitsAreRejectedWithTheirPosition) {
  struct Case {
    std::string line;
    int column;
  };
  const std::vector<Case> cases = {
      {":0100000011ee", 12},  // lower case in the checksum
      {":01000000G1EE", 10},  // data
      {":01 0000011EE", 4},   // a blank in the address
      {":0x00000011EE", 3},   // the byte count
      {":010000-011EE", 8},   // the record type
      {":0100000011E\x01", 13},
  };
  for (const Case& c : cases) {
    const FirmwareImage firmware = LoadIntelHex(Data(0x0010, {0x01}) + c.line + "\n", TriggerTarget);
    EXPECT_FALSE(firmware.Loaded()) << c.line;
    EXPECT_EQ(firmware.error.kind, HexError::InvalidCharacter) << c.line;
    EXPECT_EQ(firmware.error.line, 2) << c.line;
    EXPECT_EQ(firmware.error.column, c.column) << c.line;
    EXPECT_EQ(firmware.error.text, "Extended Intel-hex: Invalid character in line 2, column " +
                                       std::to_string(c.column) + " (hex digits are 0-9 and A-F).");
  }
}

TEST(IntelHexRejects, LineShorterThanItsByteCount) {
  const FirmwareImage firmware = LoadIntelHex(":10000000010203040506070809\n", TriggerTarget);
  EXPECT_EQ(firmware.error.kind, HexError::RecordTooShort);
  EXPECT_EQ(firmware.error.text, "Extended Intel-hex: Record shorter than its byte count in line 1.");
  // Without its checksum.
  EXPECT_EQ(LoadIntelHex(":0100000011\n", TriggerTarget).error.kind, HexError::RecordTooShort);
}

TEST(IntelHexRejects, AddressRecordsNeedTwoDataBytes) {
  for (const std::string& line : {Record(2, 0, {0x10}), Record(4, 0, {0x00, 0x01, 0x00}), Record(4, 0, {})}) {
    const FirmwareImage firmware = LoadIntelHex(Data(0, {0x01}) + line, ControllerTarget);
    EXPECT_EQ(firmware.error.kind, HexError::BadAddressRecord) << line;
    EXPECT_EQ(firmware.error.text, "Extended Intel-hex: Address record without two data bytes in line 2.");
  }
}

TEST(IntelHexRejects, DataBeyondTheImageIsRejected) {
  // Ends at 1FFFFh exactly: accepted.
  const FirmwareImage last =
      LoadIntelHex(Data(0, {0x01}) + Linear(1) + Data(0xFFF0, Counting(16)), ControllerTarget);
  ASSERT_TRUE(last.Loaded()) << last.error.text;
  EXPECT_EQ(last.image.at(0x1FFFF), Counting(16).back());

  const std::vector<std::string> beyond = {
      Linear(1) + Data(0xFFF8, Counting(16)),       // reaches 20007h
      Linear(2) + Data(0x0000, {0x01}),             // 20000h
      Segment(0xF000) + Data(0x0000, {0x01}),       // F0000h
      Linear(0xFFFF) + Data(0xFFFF, {0x01, 0x02}),  // would wrap round to 00000h in 32 bits
  };
  for (const std::string& records : beyond) {
    const FirmwareImage firmware = LoadIntelHex(Data(0, {0x01}) + records, ControllerTarget);
    EXPECT_FALSE(firmware.Loaded());
    EXPECT_EQ(firmware.error.kind, HexError::BeyondImage) << records;
    EXPECT_EQ(firmware.error.line, 3);
    EXPECT_EQ(firmware.error.text, "Extended Intel-hex: Data beyond the 128 KiB image in line 3.");
    EXPECT_EQ(NonErasedIn(firmware, 1, ImageCapacity), 0) << records;
  }
}

TEST(IntelHexRejects, FileWithoutDataCannotBeProgrammed) {
  const std::string startOnly = Record(5, 0, {0x00, 0x00, 0x00, 0x00});
  for (const std::string& text :
       {std::string(), EndOfFile, startOnly + EndOfFile, Data(0x0040, {}) + EndOfFile}) {
    const FirmwareImage firmware = LoadIntelHex(text, TriggerTarget);
    EXPECT_FALSE(firmware.Loaded());
    EXPECT_EQ(firmware.error.kind, HexError::NoData);
    EXPECT_EQ(firmware.error.text, "Extended Intel-hex: No data records for addresses below 3800h.");
    EXPECT_EQ(firmware.codeStart, NoCodeStart);
  }
}

TEST(IntelHexRejects, DataOnlyAboveTheTargetsImageSizeIsNoDataForThatTarget) {
  const std::string text = Data(0x3800, {0x01});
  EXPECT_EQ(LoadIntelHex(text, TriggerTarget).error.kind, HexError::NoData);
  const FirmwareImage controller = LoadIntelHex(text, ControllerTarget);
  ASSERT_TRUE(controller.Loaded());
  EXPECT_EQ(controller.codeStart, 0x3800u);
  EXPECT_EQ(LoadIntelHex(Data(0xFC00, {0x01}), ControllerTarget).error.text,
            "Extended Intel-hex: No data records for addresses below FC00h.");
}

TEST(IntelHexRejects, FileThatCannotBeOpened) {
  const FirmwareImage firmware =
      LoadIntelHexFile(std::filesystem::path(QD_TEST_DATA_DIR) / "firmware" / "missing.hex", TriggerTarget);
  EXPECT_EQ(firmware.error.kind, HexError::CannotOpen);
  EXPECT_EQ(firmware.error.text, "Unable to open Intel hex file.");
  EXPECT_EQ(DescribeLoadError(firmware.error), "Unable to open Intel hex file.");
}

// --- Figures and labels ------------------------------------------------------------------------

TEST(IntelHexFigures, ChecksumsCountHolesAndStopAtTheirEnds) {
  // 01 02 03 at 0010h for the trigger modules: code 0010h..0012h.
  const FirmwareImage firmware = LoadIntelHex(Data(0x0010, {0x01, 0x02, 0x03}), TriggerTarget);
  ASSERT_TRUE(firmware.Loaded());
  EXPECT_EQ(firmware.codeChecksum, 0x0003);  // the byte at code end is not counted
  // 01+02+03 and 0xFF for each of the 37EDh erased bytes up to 37FFh, 16 bits.
  EXPECT_EQ(firmware.displayChecksum, 0xB519);
}

TEST(IntelHexFigures, CodeEndIsLimitedToTheImageSize) {
  const FirmwareImage firmware = LoadIntelHex(Data(0xFBF8, Counting(16, 0x10)), ControllerTarget);
  ASSERT_TRUE(firmware.Loaded());
  EXPECT_EQ(firmware.codeEnd, 0xFBFFu);
  EXPECT_EQ(firmware.programmingEnd, 0xFC00);
  // 10h..17h below FC00h; the bytes above stay in the image but out of both sums.
  EXPECT_EQ(firmware.displayChecksum, 0x10 + 0x11 + 0x12 + 0x13 + 0x14 + 0x15 + 0x16 + 0x17);
  EXPECT_EQ(firmware.codeChecksum, 0x10 + 0x11 + 0x12 + 0x13 + 0x14 + 0x15 + 0x16);
  EXPECT_EQ(firmware.image.at(0xFC00), 0x18);
}

TEST(IntelHexFigures, ErasedCodeTrimsBackToCodeStart) {
  const FirmwareImage firmware = LoadIntelHex(Data(0x0200, Bytes(40, 0xFF)), TriggerTarget);
  ASSERT_TRUE(firmware.Loaded());
  EXPECT_EQ(firmware.codeStart, 0x200u);
  EXPECT_EQ(firmware.codeEnd, 0x200u);
  EXPECT_EQ(firmware.codeChecksum, 0);
  EXPECT_EQ(LabelsFor(firmware).codeUsed, "0.0% (0 bytes)");
}

TEST(IntelHexFigures, SixteenBitSumsWrap) {
  std::string text;
  for (std::uint16_t a = 0; a < 0x800; a += 0x80)
    text += Data(a, Bytes(0x80, 0xFE));
  const FirmwareImage firmware = LoadIntelHex(text, ControllerTarget);
  ASSERT_TRUE(firmware.Loaded());
  EXPECT_EQ(firmware.codeChecksum, static_cast<std::uint16_t>(0x7FF * 0xFE));
  EXPECT_EQ(firmware.displayChecksum, static_cast<std::uint16_t>(0x800 * 0xFE + (0xFC00 - 0x800) * 0xFF));
}

TEST(IntelHexFigures, ProgrammingEndRoundsUpToTheBlockSizeWord) {
  EXPECT_EQ(ProgrammingEnd(0x0130, 128), 0x0180);
  EXPECT_EQ(ProgrammingEnd(0x0130, 256), 0x0200);
  EXPECT_EQ(ProgrammingEnd(0x0180, 128), 0x0180);
  EXPECT_EQ(ProgrammingEnd(0x0181, 128), 0x0200);
  EXPECT_EQ(ProgrammingEnd(0x0200, 256), 0x0200);
  EXPECT_EQ(ProgrammingEnd(0x0000, 256), 0x0000);
  EXPECT_EQ(ProgrammingEnd(0x37FF, 128), 0x3800);
  EXPECT_EQ(ProgrammingEnd(0xFBFF, 256), 0xFC00);
}

TEST(IntelHexFigures, LabelsAsTheWindowShowsThem) {
  Bytes data = Counting(0x131 - 0x20);
  const FirmwareImage firmware = LoadIntelHex(Data(0x0020, Bytes(data.begin(), data.begin() + 0x80)) +
                                                  Data(0x00A0, Bytes(data.begin() + 0x80, data.end())),
                                              TriggerTarget);
  ASSERT_TRUE(firmware.Loaded());
  const FirmwareLabels labels = LabelsFor(firmware);
  EXPECT_EQ(labels.codeStart, "0020h (32d)");
  EXPECT_EQ(labels.codeEnd, "0130h (304d)");
  EXPECT_EQ(labels.codeUsed, "1.9% (272 bytes)");  // 272 x 100 / 14336 = 1.897
  EXPECT_EQ(labels.checksum, "175Dh");             // the display checksum

  const FirmwareImage big =
      LoadIntelHex(Linear(0) + Data(0xABC0, {0x01}) + Data(0x0000, {0x01}), ControllerTarget);
  EXPECT_EQ(LabelsFor(big).codeEnd, "ABC0h (43968d)");
  EXPECT_EQ(LabelsFor(big).codeUsed, "68.2% (43968 bytes)");
}

TEST(IntelHexFigures, FileDateInTwoSecondSteps) {
  EXPECT_EQ(FileDateText(LocalTime{2024, 3, 9, 7, 5, 9}), "9-3-2024  7:05:08");
  EXPECT_EQ(FileDateText(LocalTime{2021, 12, 31, 23, 59, 58}), "31-12-2021  23:59:58");
  EXPECT_EQ(FileDateText(LocalTime{2000, 1, 1, 0, 0, 1}), "1-1-2000  0:00:00");
}

TEST(IntelHexFigures, ImageAccessIsBoundsChecked) {
  const FirmwareImage firmware;
  EXPECT_FALSE(firmware.Loaded());
  EXPECT_EQ(firmware.image.size(), ImageCapacity);
  EXPECT_EQ(NonErasedIn(firmware, 0, ImageCapacity), 0);
  EXPECT_NO_THROW(firmware.Bytes(ImageCapacity - BlockBytes, BlockBytes));
  EXPECT_THROW(firmware.Bytes(ImageCapacity - BlockBytes + 1, BlockBytes), std::out_of_range);
  EXPECT_THROW(firmware.Bytes(0xFFFFFFFF, 2), std::out_of_range);
}

// --- Files written by binutils' objcopy ----------------------------------------------------------

class ObjcopyFiles : public ::testing::Test {
 protected:
  static std::filesystem::path Data(const char* name) {
    return std::filesystem::path(QD_TEST_DATA_DIR) / "firmware" / name;
  }
  static Bytes Binary() {
    std::string error;
    const auto text = ReadWholeFile(Data("firmware.bin"), error);
    if (!text) throw std::runtime_error(error);
    return Bytes(text->begin(), text->end());
  }
  // The image holds the binary at `address`.
  static void ExpectBinaryAt(const FirmwareImage& firmware, const Bytes& binary, std::uint32_t address) {
    EXPECT_EQ(ImageAt(firmware, address, binary.size()), binary);
  }
  // The last address of the binary that does not hold 0xFF.
  static std::uint32_t LastCode(const Bytes& binary) {
    std::uint32_t last = static_cast<std::uint32_t>(binary.size()) - 1;
    while (binary[last] == 0xFF)
      --last;
    return last;
  }
};

TEST_F(ObjcopyFiles, BinaryAtAddressZero) {
  const Bytes binary = Binary();
  ASSERT_EQ(binary.size(), 700u);
  for (const FirmwareTarget* target : {&ControllerTarget, &TriggerTarget}) {
    const FirmwareImage firmware = LoadIntelHexFile(Data("firmware.hex"), *target);
    ASSERT_TRUE(firmware.Loaded()) << firmware.error.text;
    ExpectBinaryAt(firmware, binary, 0);
    EXPECT_EQ(NonErasedIn(firmware, 700, ImageCapacity), 0);
    EXPECT_EQ(firmware.codeStart, 0u);
    EXPECT_EQ(firmware.codeEnd, LastCode(binary));
    std::uint16_t sum = 0;
    for (std::uint32_t a = 0; a < firmware.codeEnd; ++a)
      sum = static_cast<std::uint16_t>(sum + binary[a]);
    EXPECT_EQ(firmware.codeChecksum, sum);
  }
}

TEST_F(ObjcopyFiles, SegmentRecordsStartRecordsAndTwoEndOfFileRecords) {
  const Bytes binary = Binary();
  const FirmwareImage firmware = LoadIntelHexFile(Data("firmware_split.hex"), ControllerTarget);
  ASSERT_TRUE(firmware.Loaded()) << firmware.error.text;
  ExpectBinaryAt(firmware, binary, 0x0000);
  ExpectBinaryAt(firmware, binary, 0xFF00);  // across 10000h, after an extended segment address record
  EXPECT_EQ(NonErasedIn(firmware, 700, 0xFF00), 0);
  EXPECT_EQ(firmware.codeEnd, LastCode(binary));
}

TEST_F(ObjcopyFiles, CodeAcrossTheTriggerImageSize) {
  const Bytes binary = Binary();
  const FirmwareImage trigger = LoadIntelHexFile(Data("firmware_3700.hex"), TriggerTarget);
  ASSERT_TRUE(trigger.Loaded()) << trigger.error.text;
  ExpectBinaryAt(trigger, binary, 0x3700);
  EXPECT_EQ(trigger.codeStart, 0x3700u);
  EXPECT_EQ(trigger.codeEnd, 0x37FFu);
  EXPECT_EQ(trigger.programmingEnd, 0x3800);

  const FirmwareImage controller = LoadIntelHexFile(Data("firmware_3700.hex"), ControllerTarget);
  ASSERT_TRUE(controller.Loaded());
  EXPECT_EQ(controller.codeEnd, 0x3700u + LastCode(binary));
}

// Fresh files from objcopy, when binutils are installed: random binaries at addresses that need
// segment records, and one that reaches beyond the image.
TEST_F(ObjcopyFiles, FreshlyConvertedBinaries) {
  if (std::system("objcopy --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "objcopy is not installed";
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("qd_intel_hex_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(dir);
  std::mt19937 random(520);
  struct Case {
    std::uint32_t address;
    std::size_t size;
  };
  for (const Case c : {Case{0x0000, 1}, Case{0x0100, 0xFB00}, Case{0xFFF0, 0x40}, Case{0x1F000, 0x1000},
                       Case{0x1FF00, 0x200}}) {
    Bytes binary(c.size);
    for (auto& b : binary)
      b = static_cast<std::uint8_t>(random() % 0xFF);  // no 0xFF: code end is the last byte
    const auto bin = dir / "in.bin";
    const auto hex = dir / "out.hex";
    std::ofstream(bin, std::ios::binary).write(reinterpret_cast<const char*>(binary.data()), binary.size());
    char command[512];
    std::snprintf(command, sizeof command, "objcopy -I binary -O ihex --change-addresses 0x%X '%s' '%s'",
                  static_cast<unsigned>(c.address), bin.string().c_str(), hex.string().c_str());
    ASSERT_EQ(std::system(command), 0) << command;

    const FirmwareImage firmware = LoadIntelHexFile(hex, ControllerTarget);
    const std::uint32_t end = c.address + static_cast<std::uint32_t>(c.size);
    if (end > ImageCapacity) {
      EXPECT_EQ(firmware.error.kind, HexError::BeyondImage);
      const std::size_t fits = ImageCapacity - c.address;
      EXPECT_EQ(ImageAt(firmware, c.address, fits), Bytes(binary.begin(), binary.begin() + fits));
      continue;
    }
    ExpectBinaryAt(firmware, binary, c.address);
    EXPECT_EQ(NonErasedIn(firmware, 0, c.address) + NonErasedIn(firmware, end, ImageCapacity), 0);
    if (c.address < ControllerTarget.imageSize) {
      ASSERT_TRUE(firmware.Loaded()) << firmware.error.text;
      EXPECT_EQ(firmware.codeStart, c.address);
      EXPECT_EQ(firmware.codeEnd, std::min(end, ControllerTarget.imageSize) - 1);
    } else {
      EXPECT_EQ(firmware.error.kind, HexError::NoData);
    }
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qd::firmware

namespace qd::firmware {
namespace {

TEST(IntelHexWarnings, AFileCutShortOrMeantForTheOtherTargetIsNamedBeforeProgramming) {
  const std::string code = Data(0x0000, {0x01, 0x02});
  const std::string high = Linear(0) + Data(0x5000, {0x03});  // beyond the trigger's 0x3800 bytes
  struct Case {
    const char* name;
    std::string text;
    const FirmwareTarget* target;
    std::vector<std::string> starts;  // how each warning begins
  };
  const Case cases[] = {
      {"complete", code + EndOfFile, &ControllerTarget, {}},
      {"cut short", code, &ControllerTarget, {"The file has no end-of-file record"}},
      {"other target", code + high + EndOfFile, &TriggerTarget, {"The file holds data up to 05000h"}},
      {"both", code + high, &TriggerTarget, {"The file has no end-of-file", "The file holds data up to"}},
      {"fits the controller", code + high + EndOfFile, &ControllerTarget, {}},
  };
  for (const Case& test : cases) {
    const FirmwareImage firmware = LoadIntelHex(test.text, *test.target);
    ASSERT_TRUE(firmware.Loaded()) << test.name;  // the load itself is unchanged
    const std::vector<std::string> warnings = LoadWarnings(firmware);
    ASSERT_EQ(warnings.size(), test.starts.size()) << test.name;
    for (std::size_t k = 0; k < warnings.size(); ++k)
      EXPECT_EQ(warnings[k].rfind(test.starts[k], 0), 0u) << test.name << ": " << warnings[k];
  }
  EXPECT_NE(
      LoadWarnings(LoadIntelHex(code + high + EndOfFile, TriggerTarget))[0].find("meant for the controller"),
      std::string::npos);
}

}  // namespace
}  // namespace qd::firmware
