#include "app/translation.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "link/bus_link.h"
#include "logs/alarm_log.h"
#include "review/program_checker.h"

namespace qd {
namespace {

TEST(Substitute, FillsPlaceholdersAndLeavesEverythingElse) {
  struct Case {
    const char* pattern;
    std::initializer_list<std::string_view> arguments;
    const char* expected;
  };
  const Case cases[] = {
      {"Reading %1 bytes.", {"32768"}, "Reading 32768 bytes."},
      {"%2 before %1", {"a", "b"}, "b before a"},
      {"%1 and %3", {"x", "y"}, "x and %3"},  // beyond the arguments
      {"100%% of %1", {"z"}, "100%% of z"},   // "%%" is no escape
      {"Used text: %1%", {"12.5"}, "Used text: 12.5%"},
      {"ends with %", {}, "ends with %"},
      {"%0 %a %", {"q"}, "%0 %a %"},
      {"%1-%2", {"%2", "v"}, "%2-v"},  // an argument is not substituted again
      {"%1%1", {"w"}, "ww"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Substitute(c.pattern, c.arguments), c.expected);
  }
}

// A German translator for a few texts; everything else it marks as untranslated.
std::string German(const char* context, const char* source) {
  struct Entry {
    std::string_view context, source, translation;
  };
  static constexpr Entry entries[] = {
      {"BusLink", "Port closed", "Port geschlossen"},
      {"AlarmLog", "Pressure alarm.", "Druckalarm."},
      {"ProgramChecker", "Machine %1 / Program %2 / Line %3", "Zeile %3 in Programm %2, Maschine %1"},
      {"ProgramChecker", "error: %1: %2", "Fehler: %1: %2"},
      {"Numbers", ".", ","},
  };
  for (const Entry& e : entries) {
    if (e.context == context && e.source == source) return std::string(e.translation);
  }
  return "?" + std::string(source);
}

// Removes the translator however the test ends.
struct InstalledTranslator {
  explicit InstalledTranslator(Translator translator) { InstallTranslator(translator); }
  ~InstalledTranslator() { InstallTranslator(nullptr); }
};

TEST(UiText, TranslatesWhileInstalledAndNotInsideASourceTextScope) {
  struct Case {
    const char* context;
    const char* source;
    const char* translated;
  };
  const Case cases[] = {
      {"BusLink", "Port closed", "Port geschlossen"},
      {"AlarmLog", "Port closed", "?Port closed"},  // the context counts
      {"BusLink", "Ready", "?Ready"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.context) + " / " + c.source);
    EXPECT_EQ(UiText(c.context, c.source), c.source);
    {
      const InstalledTranslator german(German);
      EXPECT_EQ(UiText(c.context, c.source), c.translated);
      {
        const SourceTextScope outer;
        { const SourceTextScope inner; }
        EXPECT_EQ(UiText(c.context, c.source), c.source);
      }
      EXPECT_EQ(UiText(c.context, c.source), c.translated);
    }
    EXPECT_EQ(UiText(c.context, c.source), c.source);
  }
}

TEST(UiText, CoreTextsFollowTheTranslatorButTheCsvStaysEnglish) {
  std::array<std::uint8_t, 256> area{};
  area[16] = 2;     // a pressure alarm
  area[17] = 0x40;  // on day 1
  const review::Finding finding{review::Severity::Error, 3, 2, 5, "m"};

  EXPECT_EQ(UiDecimal(8.94, 1), "8.9");
  const InstalledTranslator german(German);
  EXPECT_EQ(link::PortStatusText(link::PortStatus::PortClosed), "Port geschlossen");
  EXPECT_EQ(UiDecimal(8.94, 1), "8,9");
  EXPECT_EQ(finding.Text(), "Fehler: Zeile 5 in Programm 2, Maschine 3: m");
  EXPECT_EQ(logs::AlarmHistoryLines(area).front(), " 1: 2000-00-01  0:00 > Druckalarm.");
  EXPECT_EQ(
      logs::AlarmHistoryCsv(area),
      "alarm,slot,date,time,kind,number,trigger_type,text\n1,1,2000-00-01,00:00,2,0,0,Pressure alarm.\n");
  // The CSV's scope has ended.
  EXPECT_EQ(logs::AlarmKindText(logs::DecodeAlarmEntry(std::span(area).subspan(16, 5))), "Druckalarm.");
}

}  // namespace
}  // namespace qd
