// Load a 64 KiB Intel HEX firmware file (16 data bytes a record, as compilers write them) into the image
// the boot loader is programmed from: from the file on disk and from text already in memory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "firmware/intel_hex.h"

namespace {

constexpr std::uint32_t FileBytes = 0x10000;
constexpr std::uint32_t RecordBytes = 16;

void AppendRecord(std::string& text, std::uint16_t address, std::uint8_t type,
                  const std::vector<std::uint8_t>& data) {
  std::uint8_t sum = static_cast<std::uint8_t>(data.size() + (address >> 8) + (address & 0xFF) + type);
  char field[16];
  std::snprintf(field, sizeof field, ":%02X%04X%02X", static_cast<unsigned>(data.size()), address, type);
  text += field;
  for (const std::uint8_t byte : data) {
    std::snprintf(field, sizeof field, "%02X", byte);
    text += field;
    sum = static_cast<std::uint8_t>(sum + byte);
  }
  std::snprintf(field, sizeof field, "%02X\r\n", static_cast<std::uint8_t>(-sum) & 0xFF);
  text += field;
}

std::string SixtyFourKiBHex() {
  std::string text;
  AppendRecord(text, 0, 4, {0x00, 0x00});
  std::vector<std::uint8_t> data(RecordBytes);
  for (std::uint32_t address = 0; address < FileBytes; address += RecordBytes) {
    for (std::uint32_t i = 0; i < RecordBytes; ++i)
      data[i] = static_cast<std::uint8_t>((address + i) * 7 + 1);
    AppendRecord(text, static_cast<std::uint16_t>(address), 0, data);
  }
  AppendRecord(text, 0, 1, {});
  return text;
}

void Check(benchmark::State& state, const qd::firmware::FirmwareImage& firmware) {
  if (!firmware.Loaded() || firmware.dataRecords != static_cast<int>(FileBytes / RecordBytes))
    state.SkipWithError(qd::firmware::DescribeLoadError(firmware.error).c_str());
}

void HexLoadFile(benchmark::State& state) {
  const auto path =
      std::filesystem::temp_directory_path() / ("qd-bench-64k-" + std::to_string(::getpid()) + ".hex");
  const std::string text = SixtyFourKiBHex();
  std::ofstream(path, std::ios::binary) << text;
  for (auto _ : state) {
    const auto firmware = qd::firmware::LoadIntelHexFile(path, qd::firmware::ControllerTarget);
    Check(state, firmware);
    benchmark::DoNotOptimize(firmware.image.data());
  }
  state.counters["file_bytes"] = static_cast<double>(text.size());
  std::filesystem::remove(path);
}
BENCHMARK(HexLoadFile)->Unit(benchmark::kMillisecond);

void HexLoadText(benchmark::State& state) {
  const std::string text = SixtyFourKiBHex();
  for (auto _ : state) {
    const auto firmware = qd::firmware::LoadIntelHex(text, qd::firmware::ControllerTarget);
    Check(state, firmware);
    benchmark::DoNotOptimize(firmware.image.data());
  }
}
BENCHMARK(HexLoadText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
