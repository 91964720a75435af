#include "controller_memory.h"

#include <gtest/gtest.h>

namespace qd::sim {
namespace {

TEST(ControllerMemory, LoadTakesOnlyAWholeImage) {
  ControllerMemory memory;
  EXPECT_FALSE(memory.Load(std::vector<std::uint8_t>(100, 1)));
  EXPECT_EQ(memory.At(0), 0);
  EXPECT_TRUE(memory.Load(std::vector<std::uint8_t>(ControllerMemory::Size, 1)));
  EXPECT_EQ(memory.At(ControllerMemory::Size - 1), 1);
}

TEST(ControllerMemory, ReadAndWriteStopAtTheEnd) {
  ControllerMemory memory;
  EXPECT_EQ(memory.Read(0x7FF0, 128).size(), 16u);
  EXPECT_TRUE(memory.Read(0x8000, 1).empty());
  const std::vector<std::uint8_t> data(10, 0xAB);
  EXPECT_EQ(memory.Write(0x7FFB, data), 5u);
  EXPECT_EQ(memory.At(0x7FFF), 0xAB);
  EXPECT_EQ(memory.At(0x7FFA), 0x00);
  EXPECT_EQ(memory.Write(0x8000, data), 0u);
  EXPECT_EQ(memory.At(0x8000), 0);  // outside reads as 0
}

TEST(ControllerMemory, IdentitySitsInTheHeader) {
  ControllerMemory memory;
  memory.SetIdentity({7, 3, 12, 12345});
  EXPECT_EQ(memory.At(0x07), 7);
  EXPECT_EQ(memory.At(0x08), 3);
  EXPECT_EQ(memory.At(0x09), 12);
  EXPECT_EQ(memory.At(0x0A), 0x39);
  EXPECT_EQ(memory.At(0x0B), 0x30);
  EXPECT_EQ(memory.At(0x0C), 0x00);
  EXPECT_EQ(memory.Identity(), (ControllerIdentity{7, 3, 12, 12345}));
}

TEST(ControllerMemory, EnabledMachinesAreTenBits) {
  ControllerMemory memory;
  const std::vector<std::uint8_t> mask = {0xFF, 0xFF};
  memory.Write(0x64, mask);
  EXPECT_EQ(memory.EnabledMachines(), 0x3FF);
}

TEST(ControllerMemory, LogAreasMoveWithFirmwareOne) {
  ControllerMemory memory;
  memory.SetIdentity({1, 2, 0, 0});
  EXPECT_EQ(memory.AlarmLogOffset(), 0x6280u);
  EXPECT_EQ(memory.ConsumptionLogOffset(), 0x6380u);
  memory.SetIdentity({1, 1, 9, 0});
  EXPECT_EQ(memory.AlarmLogOffset(), 0x6200u);
  EXPECT_EQ(memory.ConsumptionLogOffset(), 0x6300u);
}

}  // namespace
}  // namespace qd::sim
