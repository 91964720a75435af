#include "review/config_diff.h"

#include <gtest/gtest.h>

#include <fstream>

#include "model/image_builder.h"
#include "model/system_file.h"
#include "review_test_lines.h"
#include "support/rich_system.h"

namespace qd::review {
namespace {

std::vector<std::string> Texts(const std::vector<Difference>& differences) {
  std::vector<std::string> texts;
  for (const Difference& d : differences)
    texts.push_back(d.Text());
  return texts;
}

TEST(CompareSystems, EqualConfigurationsHaveNoDifferences) {
  const WorkingConfig rich = test::RichConfig();
  EXPECT_TRUE(CompareSystems(rich.system, rich.system).empty());
  EXPECT_TRUE(CompareSystems(SystemConfig{}, SystemConfig{}).empty());
}

TEST(CompareSystems, NamesProgramLinesAsTheEditorShowsThem) {
  SystemConfig before;
  before.Machines[2].Programs[1].Lines[4] = test::PumpLine(3, 20, 30, 40);
  SystemConfig after = before;
  after.Machines[2].Programs[1].Lines[4] = test::PumpLine(3, 25, 30, 40);
  after.Machines[2].Programs[1].Lines[5] = test::JumpLine(2);
  after.Machines[2].Programs[1].Lines[5].comment = "again";
  EXPECT_EQ(Texts(CompareSystems(before, after)),
            (std::vector<std::string>{
                "Machine 3 / Program 2 / Line 5: Pump: P3, V=20/30/40 -> Pump: P3, V=25/30/40",
                "Machine 3 / Program 2 / Line 6: Empty -> Jump: Jump L2  \"again\""}));
}

TEST(CompareSystems, LinesThatLookAlikeShowTheirBytes) {
  SystemConfig before;
  SystemConfig after;
  after.Machines[0].Programs[0].Lines[0].bytes[0] = 0x10;  // reserved bits of an "Empty" line
  const auto differences = Texts(CompareSystems(before, after));
  ASSERT_EQ(differences.size(), 1u);
  EXPECT_EQ(differences[0],
            "Machine 1 / Program 1 / Line 1: Empty [00 00 00 00 00 00] -> Empty [10 00 00 00 00 00]");
}

TEST(CompareSystems, SystemSettingsMachineItemsAndProgramHeaders) {
  SystemConfig before;
  SystemConfig after;
  after.Recipients[1] = "+4512345678";
  after.AlarmGroups[2][static_cast<int>(Alarm::Water)] = true;
  after.MachineEnabled[6] = true;
  after.Machines[6].Calibration[3] = "42";
  after.Machines[6].SoftnerPump = 7;
  after.Machines[6].Programs[5].Name = "Towels";
  after.Machines[6].Programs[5].DefaultLevel = 3;
  EXPECT_EQ(Texts(CompareSystems(before, after)),
            (std::vector<std::string>{
                "System / Alarm group 3 / Water alarm: off -> on",
                "System / Recipient 2: \"\" -> \"+4512345678\"",
                "Machine 7 / Enabled: off -> on",
                "Machine 7 / Fabric softner: - -> 7",
                "Machine 7 / Calibration pump 4: 30 -> 42",
                "Machine 7 / Program 6 / Name: \"Program 6\" -> \"Towels\"",
                "Machine 7 / Program 6 / Default level: Mid -> High",
            }));
}

TEST(CompareSystems, TriggerItemsByTypeAndUnnamedBytes) {
  SystemConfig before;
  SystemConfig after;
  TriggerSettings& trigger = after.Machines[6].Trigger;
  trigger.ChangeType(trigger::TypeElectrolux);
  trigger.SetElectroluxEntry(4, 2);
  trigger.bytes[200] = 0xAB;
  EXPECT_EQ(Texts(CompareSystems(before, after)),
            (std::vector<std::string>{
                "Machine 7 / Trigger / Type: QD520, Standard -> QD310, Electrolux: 5xx",
                "Machine 7 / Trigger / Program map 4: 0 -> 2",
                "Machine 7 / Trigger / Byte 200: 00 -> AB",
            }));

  SystemConfig miele = before;
  miele.Machines[0].Trigger.ChangeType(trigger::TypeMieleLogic);
  SystemConfig renamed = miele;
  renamed.Machines[0].Trigger.SetFieldText(32, 8, "Cotton");
  EXPECT_EQ(Texts(CompareSystems(miele, renamed)),
            (std::vector<std::string>{"Machine 1 / Trigger / Text11: \"Prgm 1\" -> \"Cotton\""}));
}

TEST(CanonicalSystem, TypedNumbersCompareAsStored) {
  WorkingConfig typed = test::RichConfig();
  WorkingConfig plain = typed;
  typed.system.Machines[0].Calibration[0] = " 030";
  typed.system.Machines[0].LongFlushTime = "+10";
  plain.system.Machines[0].Calibration[0] = "30";
  plain.system.Machines[0].LongFlushTime = "10";
  EXPECT_TRUE(CompareSystems(CanonicalSystem(typed), CanonicalSystem(plain)).empty());
  // A calibration above what the controller holds is what the controller would get.
  plain.system.Machines[0].Calibration[0] = "900";
  const auto differences = Texts(CompareSystems(CanonicalSystem(typed), CanonicalSystem(plain)));
  EXPECT_EQ(differences, (std::vector<std::string>{"Machine 1 / Calibration pump 1: 30 -> 250"}));
}

TEST(CompareSystems, AmountsCompareWhateverTheDecimalSeparator) {
  SystemConfig comma, point;
  comma.AlarmAmount[0] = "25,00";
  point.AlarmAmount[0] = "25.00";
  EXPECT_TRUE(CompareSystems(comma, point).empty());
  point.UsedAmount[1] = "0.01";
  EXPECT_EQ(Texts(CompareSystems(comma, point)),
            (std::vector<std::string>{"System / Used amount pump 2: 0.00 -> 0.01"}));
}

TEST(CanonicalSystem, ImageOfABuiltConfigurationComparesEqual) {
  WorkingConfig config = test::RichConfig();
  WorkingConfig built = config;
  BuildImage(built, test::kBuildTime);
  SystemConfig fromImage;
  ASSERT_TRUE(SystemOfImage(built.image, fromImage));
  EXPECT_TRUE(CompareSystems(CanonicalSystem(config), fromImage).empty());
  EXPECT_EQ(config.system.Machines[0].Comment, test::RichConfig().system.Machines[0].Comment);  // untouched
}

TEST(SystemOfImage, RefusesAnImageOfAnotherFormat) {
  ControllerImage image;
  SystemConfig system;
  system.SystemName = "kept";
  EXPECT_FALSE(SystemOfImage(image, system));
  EXPECT_EQ(system.SystemName, "kept");
}

TEST(LoadSystemForComparison, SystemFilesAndImagesOfOneConfigurationCompareEqual) {
  const auto folder = std::filesystem::temp_directory_path() / "qd_compare_files";
  std::filesystem::create_directories(folder);
  WorkingConfig config = test::RichConfig();
  // A line of code 13 is "15 ???" once through a system file (its format keeps no invalid codes).
  config.system.Machines[0].Programs[0].Lines[5] = ProgramLine{};
  ASSERT_TRUE(WriteSystemFile(config, folder / "rich.XML").ok);
  BuildImage(config, test::kBuildTime);
  const auto& bytes = config.image.bytes;
  ASSERT_TRUE(
      WriteFileAtomically(folder / "rich.bin", {reinterpret_cast<const char*>(bytes.data()), bytes.size()})
          .ok);

  const LoadedSystem fromFile = LoadSystemForComparison(folder / "rich.XML");
  const LoadedSystem fromImage = LoadSystemForComparison(folder / "rich.bin");
  ASSERT_TRUE(fromFile.ok) << fromFile.error;
  ASSERT_TRUE(fromImage.ok) << fromImage.error;
  for (const Difference& d : CompareSystems(fromFile.system, fromImage.system))
    ADD_FAILURE() << d.Text();

  std::ofstream(folder / "short.bin") << "QD310";
  const LoadedSystem shortImage = LoadSystemForComparison(folder / "short.bin");
  EXPECT_FALSE(shortImage.ok);
  EXPECT_NE(shortImage.error.find("not a controller image (5 bytes, not 32768)"), std::string::npos)
      << shortImage.error;

  std::ofstream(folder / "broken.xml") << "<QD310><SystemData><SystemName>x";
  const LoadedSystem broken = LoadSystemForComparison(folder / "broken.xml");
  EXPECT_FALSE(broken.ok);
  EXPECT_EQ(broken.error.rfind((folder / "broken.xml").string() + ": ", 0), 0u) << broken.error;
  EXPECT_FALSE(LoadSystemForComparison(folder / "missing.xml").ok);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qd::review
