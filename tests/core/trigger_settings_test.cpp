#include "model/trigger_settings.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "model/trigger_edits.h"

namespace qd {
namespace {

std::string Area(const TriggerSettings& t, int from, int count) {
  return std::string(t.bytes.begin() + TriggerSettings::AreaOffset + from,
                     t.bytes.begin() + TriggerSettings::AreaOffset + from + count);
}

TEST(TriggerType, ChangeFromElectroluxToMieleClearsTheMapAndWritesTheMieleDefaults) {
  TriggerSettings t;
  t.bytes[TriggerSettings::AdjustLowOffset] = 30;
  t.bytes[TriggerSettings::LockInputMaskOffset] = 0x05;
  t.bytes[12] = 0x77;
  t.ChangeType(trigger::TypeElectrolux);
  for (int n = 1; n <= trigger::ElectroluxEntries; ++n)
    t.SetElectroluxEntry(n, 1 + n % 6);
  t.bytes[TriggerSettings::Size - 1] = 0xAA;  // beyond the map, still the area

  t.ChangeType(trigger::TypeMieleLogic);
  EXPECT_EQ(t.Type(), trigger::TypeMieleLogic);
  EXPECT_EQ(Area(t, 0, 16), std::string("Wash program\0\0\0\0", 16));
  EXPECT_EQ(t.FieldText(32, 8), "Prgm 1");
  EXPECT_EQ(t.FieldText(40, 8), "Prgm 2");
  EXPECT_EQ(t.FieldText(48, 8), "Prgm 3");
  EXPECT_EQ(t.FieldText(56, 16), "Fabric softner");
  EXPECT_EQ(t.FieldText(72, 8), "Softner");
  EXPECT_EQ(Area(t, 12, 4), std::string(4, '\0'));    // the map's last bytes, now padding of the header
  EXPECT_EQ(Area(t, 64, 16), std::string(16, '\0'));  // the unused field and the empty "Softner 2"
  EXPECT_EQ(t.FieldText(96, 16), "Level");
  EXPECT_EQ(t.FieldText(112, 8), "High");
  EXPECT_EQ(t.FieldText(120, 8), "Mid");
  EXPECT_EQ(t.FieldText(128, 8), "Low");
  // Nothing of the map is left: the rest of the area is zero.
  EXPECT_EQ(Area(t, 112, TriggerSettings::AreaSize - 112), std::string("Low", 3) + std::string(93, '\0'));
  // Bytes 1..15 are no part of the type.
  EXPECT_EQ(t.bytes[TriggerSettings::AdjustLowOffset], 30);
  EXPECT_EQ(t.bytes[TriggerSettings::LockInputMaskOffset], 0x05);
  EXPECT_EQ(t.bytes[12], 0x77);

  // Choosing the type it has keeps its area.
  t.SetFieldText(16, 16, "Edited");
  const TriggerSettings before = t;
  t.ChangeType(trigger::TypeMieleLogic);
  EXPECT_EQ(t, before);
}

TEST(TriggerLock, ShowsTheLowestThreeInputsAndFoldsDuplicates) {
  TriggerSettings t;
  t.bytes[TriggerSettings::LockInputMaskOffset] = 0b111010;  // inputs 2, 4, 5 and 6
  EXPECT_EQ(t.LockInputs(), (std::array<int, 3>{2, 4, 5}));
  t.bytes[TriggerSettings::LockInputMaskOffset] = 0b1100'0100;  // input 3; bits 6 and 7 are no input
  EXPECT_EQ(t.LockInputs(), (std::array<int, 3>{3, 0, 0}));
  t.bytes[TriggerSettings::LockInputMaskOffset] = 0;
  EXPECT_EQ(t.LockInputs(), (std::array<int, 3>{0, 0, 0}));

  t.SetLockInputs(std::array{6, 0, 6});
  EXPECT_EQ(t.bytes[TriggerSettings::LockInputMaskOffset], 0x20);
  t.SetLockInputs(std::array{1, 2, 3});
  EXPECT_EQ(t.bytes[TriggerSettings::LockInputMaskOffset], 0x07);
  t.SetLockInputs(std::array{-1, 7, 0});
  EXPECT_EQ(t.bytes[TriggerSettings::LockInputMaskOffset], 0x00);
}

TEST(TriggerReset, EntryCombinesInputAndFallingEdgeAndKeepsTheOtherBits) {
  TriggerSettings t;
  EXPECT_EQ(t.ResetEntry(), 0);
  t.bytes[TriggerSettings::ResetOffset] = 0x03;
  EXPECT_EQ(t.ResetEntry(), 3);
  t.bytes[TriggerSettings::ResetOffset] = 0x0E;
  EXPECT_EQ(t.ResetEntry(), 12);
  t.bytes[TriggerSettings::ResetOffset] = 0x08;  // a falling edge without an input is no reset
  EXPECT_EQ(t.ResetEntry(), 0);
  t.bytes[TriggerSettings::ResetOffset] = 0x07;  // input 7 does not exist
  EXPECT_EQ(t.ResetEntry(), -1);

  t.bytes[TriggerSettings::ResetOffset] = 0xF0;  // softener 2 and the unused bits
  t.SetResetEntry(8);
  EXPECT_EQ(t.bytes[TriggerSettings::ResetOffset], 0xFA);
  EXPECT_EQ(t.ResetMachineInput(), 2);
  EXPECT_TRUE(t.ResetMachineFallingEdge());
  t.SetResetEntry(6);
  EXPECT_EQ(t.bytes[TriggerSettings::ResetOffset], 0xF6);
  t.SetResetEntry(0);
  EXPECT_EQ(t.bytes[TriggerSettings::ResetOffset], 0xF0);
  t.SetResetEntry(5);
  t.SetResetEntry(-1);  // no selection
  EXPECT_EQ(t.bytes[TriggerSettings::ResetOffset], 0xF0);
  t.SetResetEntry(13);
  EXPECT_EQ(t.bytes[TriggerSettings::ResetOffset], 0xF0);

  t.SetSoftnerActive2(false);
  EXPECT_EQ(t.bytes[TriggerSettings::ResetOffset], 0xE0);
  EXPECT_FALSE(t.SoftnerActive2());
  t.SetSoftnerActive2(true);
  EXPECT_TRUE(t.SoftnerActive2());
}

TEST(TriggerMaxWeight, ShownWithADecimalComma) {
  EXPECT_EQ(trigger::MaxWeightText(15), "7,5");
  EXPECT_EQ(trigger::MaxWeightText(14), "7,0");
  EXPECT_EQ(trigger::MaxWeightText(0), "0,0");
  EXPECT_EQ(trigger::MaxWeightText(255), "127,5");
}

TEST(TriggerMaxWeight, TypedKilogramsBecomeHalvesTruncatedTowardZero) {
  EXPECT_EQ(trigger::MaxWeightOfText("7.5"), 15);
  EXPECT_EQ(trigger::MaxWeightOfText("7,5"), 15);
  EXPECT_EQ(trigger::MaxWeightOfText("7,7"), 15);
  EXPECT_EQ(trigger::MaxWeightOfText("7,49999"), 14);
  EXPECT_EQ(trigger::MaxWeightOfText("7"), 14);
  EXPECT_EQ(trigger::MaxWeightOfText(" 8,0 "), 16);
  EXPECT_EQ(trigger::MaxWeightOfText(".5"), 1);
  EXPECT_EQ(trigger::MaxWeightOfText("3."), 6);
  EXPECT_EQ(trigger::MaxWeightOfText("0,25"), 0);
  EXPECT_EQ(trigger::MaxWeightOfText("75e-1"), 15);
  EXPECT_EQ(trigger::MaxWeightOfText("0.75E1"), 15);
  EXPECT_EQ(trigger::MaxWeightOfText("127,5"), 255);
  // The low byte, as every typed number: 128 kg are 256 halves.
  EXPECT_EQ(trigger::MaxWeightOfText("128"), 0);
  EXPECT_EQ(trigger::MaxWeightOfText("-7,5"), 241);
  EXPECT_EQ(trigger::MaxWeightOfText("-0,4"), 0);
  EXPECT_EQ(trigger::MaxWeightOfText("1e300"), 0);
}

TEST(TriggerMaxWeight, TextThatIsNoNumberStoresZero) {
  for (const char* text :
       {"abc", "", " ", ",", "7,5kg", "7,5,0", "1,000.5", "7 5", "e5", "5e", "- 5", "0x10", "1e99999"}) {
    EXPECT_EQ(trigger::MaxWeightOfText(text), 0) << '"' << text << '"';
  }
}

TEST(TriggerEthernet, NumbersShowSignedAndAcceptTheWholeUnsignedRange) {
  EXPECT_EQ(trigger::MachineNumberText(0), "0");
  EXPECT_EQ(trigger::MachineNumberText(123456789), "123456789");
  EXPECT_EQ(trigger::MachineNumberText(0xFFFFFFFE), "-2");
  EXPECT_EQ(trigger::MachineNumberText(0x80000000), "-2147483648");

  EXPECT_EQ(trigger::MachineNumberOfText("-2"), 0xFFFFFFFEu);
  EXPECT_EQ(trigger::MachineNumberOfText(" 305419896 "), 0x12345678u);
  EXPECT_EQ(trigger::MachineNumberOfText("4294967295"), 0xFFFFFFFFu);
  EXPECT_EQ(trigger::MachineNumberOfText("+3000000000"), 3000000000u);
  for (const char* text : {"4294967296", "-2147483649", "abc", "", "12a", "1.0", "99999999999"})
    EXPECT_EQ(trigger::MachineNumberOfText(text), 0u) << '"' << text << '"';

  TriggerSettings t;
  t.ChangeType(trigger::TypeMieleEthernet);
  t.SetMachineSerialNumber(trigger::MachineNumberOfText("305419896"));
  t.SetMachineID(trigger::MachineNumberOfText("-2"));
  EXPECT_EQ(Area(t, 0, 8), std::string("\x12\x34\x56\x78\xFF\xFF\xFF\xFE", 8));
}

TEST(TriggerModule, VersionTextNamesTheKnownKinds) {
  EXPECT_EQ(trigger::ModuleVersionText(1, 0x21), "QD520, version: 1.2");
  EXPECT_EQ(trigger::ModuleVersionText(2, 0x0A), "QD740, version: 10.0");
  EXPECT_EQ(trigger::ModuleVersionText(5, 0xF3), ", version: 3.15");

  TriggerSettings t;
  t.bytes[TriggerSettings::ModuleKindOffset] = 0x52;  // the high nibble is kept, not part of the kind
  t.bytes[TriggerSettings::ModuleVersionOffset] = 0x31;
  EXPECT_EQ(t.ModuleKind(), 2);
  EXPECT_EQ(t.ModuleVersion(), 0x31);
}

}  // namespace
}  // namespace qd

namespace qd {
namespace {

TriggerSettings OfType(int code) {
  TriggerSettings t;
  t.ChangeType(code);
  return t;
}

TEST(TriggerEdits, WhatTheControlsShowIsStoredBackUnchangedForEveryType) {
  for (const int code : {trigger::TypeQd520, trigger::TypeNyborgW3, trigger::TypeMieleLogic,
                         trigger::TypeElectrolux, trigger::TypeMieleEthernet}) {
    TriggerSettings t = OfType(code);
    t.bytes[TriggerSettings::AdjustLowOffset] = 17;
    t.bytes[TriggerSettings::MaxWeightOffset] = 15;
    t.SetLockInputs(std::array<int, 2>{2, 5});
    t.SetResetEntry(9);
    if (code == trigger::TypeElectrolux) t.SetElectroluxEntry(30, 6);
    if (code == trigger::TypeMieleEthernet) t.SetMachineSerialNumber(3000000000u);
    EXPECT_EQ(WithEdits(t, EditsOf(t)), t) << code;
  }
}

TEST(TriggerEdits, TypedNumbersAreStoredAsTheirLowByteAndOnlyTheTypesOwnAreaChanges) {
  TriggerSettings t = OfType(trigger::TypeNyborgW3);
  t.bytes[TriggerSettings::Size - 1] = 0x5A;
  TriggerEdits edits = EditsOf(t);
  edits.adjustLow = "300";
  edits.adjustHigh = "x";
  edits.maxWeight = "7,7";
  edits.lockDelay = "-1";
  edits.resetDelay = " 9 ";
  edits.miele[0] = "not this type";
  edits.electrolux[0] = 3;
  const TriggerSettings stored = WithEdits(t, edits);
  EXPECT_EQ(stored.bytes[TriggerSettings::AdjustLowOffset], 300 & 0xFF);
  EXPECT_EQ(stored.bytes[TriggerSettings::AdjustHighOffset], 0);
  EXPECT_EQ(stored.bytes[TriggerSettings::MaxWeightOffset], 15);
  EXPECT_EQ(stored.bytes[TriggerSettings::LockInputDelayOffset], 255);
  EXPECT_EQ(stored.bytes[TriggerSettings::ResetMachineDelayOffset], 9);
  EXPECT_EQ(Area(stored, 0, TriggerSettings::AreaSize), Area(t, 0, TriggerSettings::AreaSize));
}

TEST(TriggerEdits, AnElectroluxEntryTheListDoesNotHoldIsStoredAsNotInUse) {
  TriggerSettings t = OfType(trigger::TypeElectrolux);
  t.SetElectroluxEntry(4, 9);                   // no program 9
  t.bytes[TriggerSettings::AreaOffset] = 0xF0;  // entry 1, and the nibble beside it
  TriggerEdits edits = EditsOf(t);
  EXPECT_EQ(edits.electrolux[3], -1);
  EXPECT_EQ(edits.electrolux[0], -1);
  const TriggerSettings stored = WithEdits(t, edits);
  EXPECT_EQ(stored.ElectroluxEntry(4), 0);
  EXPECT_EQ(stored.bytes[TriggerSettings::AreaOffset], 0) << "the map is written whole";
}

TEST(TriggerEdits, TheModuleHeardKeepsTheHighNibbleOfItsByte) {
  TriggerSettings t;
  t.bytes[TriggerSettings::ModuleKindOffset] = 0xA0;
  RecordTriggerModule(t, 0x12, 0x41);
  EXPECT_EQ(t.bytes[TriggerSettings::ModuleKindOffset], 0xA2);
  EXPECT_EQ(t.ModuleKind(), 2);
  EXPECT_EQ(t.ModuleVersion(), 0x41);
}

}  // namespace
}  // namespace qd
