#include "gateway_config.h"

#include <gtest/gtest.h>

#include "sim_options.h"

namespace qd::sim {
namespace {

template <typename T>
std::optional<T> Parsed(std::optional<T> (*parse)(std::string_view, std::string&), std::string_view text,
                        std::string* error = nullptr) {
  std::string reason;
  auto result = parse(text, reason);
  if (error) *error = reason;
  return result;
}

TEST(GatewayConfigTest, Users) {
  EXPECT_EQ(Parsed(ParseGatewayUser, "anna:pw"), (GatewayUser{"anna", "pw", "A"}));
  EXPECT_EQ(Parsed(ParseGatewayUser, "ben:pw:B"), (GatewayUser{"ben", "pw", "B"}));
  EXPECT_EQ(Parsed(ParseGatewayUser, "carl:"), (GatewayUser{"carl", "", "A"})) << "an empty password";
  std::string error;
  EXPECT_FALSE(Parsed(ParseGatewayUser, "anna", &error));
  EXPECT_EQ(error, "wants NAME:PASSWORD[:ACCESS], not 'anna'");
  EXPECT_FALSE(Parsed(ParseGatewayUser, ":pw"));
  EXPECT_FALSE(Parsed(ParseGatewayUser, "anna:pw:"));
  EXPECT_FALSE(Parsed(ParseGatewayUser, "anna:pw:ABCDEFGHIJ")) << "ten characters of access";
}

TEST(GatewayConfigTest, Systems) {
  EXPECT_EQ(Parsed(ParseGatewaySystem, "12:Harbour laundry:-:10.0.0.7"),
            (GatewaySystemOption{"12", "Harbour laundry", "-", "10.0.0.7"}));
  EXPECT_EQ(Parsed(ParseGatewaySystem, "12::anna:fe80::1"),
            (GatewaySystemOption{"12", "", "anna", "fe80::1"}))
      << "the address takes the rest";
  std::string error;
  EXPECT_FALSE(Parsed(ParseGatewaySystem, "12:name:-", &error));
  EXPECT_EQ(error, "wants SERIAL:NAME:INUSE:ADDRESS, not '12:name:-'");
  EXPECT_FALSE(Parsed(ParseGatewaySystem, ":name:-:addr"));
  EXPECT_FALSE(Parsed(ParseGatewaySystem, "12:name::addr"));
  EXPECT_FALSE(Parsed(ParseGatewaySystem, "12:name:-:"));
  EXPECT_FALSE(Parsed(ParseGatewaySystem, "12345678901234567890:name:-:addr")) << "a serial of 20 characters";
  EXPECT_FALSE(Parsed(ParseGatewaySystem, "12:name:-:" + std::string(41, 'a')));
}

TEST(GatewayConfigTest, Access) {
  EXPECT_EQ(Parsed(ParseGatewayAccess, "12:B"), (GatewayAccessOption{"12", "B"}));
  EXPECT_FALSE(Parsed(ParseGatewayAccess, "12"));
  EXPECT_FALSE(Parsed(ParseGatewayAccess, "12:"));
}

TEST(GatewayConfigTest, Faults) {
  using enum GatewayFaultKind;
  const std::vector<std::pair<std::string, GatewayFault>> good = {
      {"wrong-sum", {WrongSum, 0, ""}},
      {"block-order", {BlockOrder, 0, ""}},
      {"drop-read:0", {DropRead, 0, ""}},
      {"drop-write:12", {DropWrite, 12, ""}},
      {"drop-read:10@310015", {DropRead, 10, "310015"}},
      {"drop-write:1@12", {DropWrite, 1, "12"}},
      {"wrong-sum@0042", {WrongSum, 0, "0042"}},
      {"block-order@a@b", {BlockOrder, 0, "a@b"}},
      {"drop-read:3@1234567890123456789", {DropRead, 3, "1234567890123456789"}},
  };
  for (const auto& [text, fault] : good)
    EXPECT_EQ(Parsed(ParseGatewayFault, text), fault) << text;

  const std::vector<std::pair<std::string, std::string>> bad = {
      {"drop-write:0", "drop-write wants a number of blocks from 1, not '0'"},
      {"drop-read:x", "drop-read wants a number of blocks from 0, not 'x'"},
      {"drop-read", "drop-read wants a number of blocks from 0, not ''"},
      {"drop-read@12", "drop-read wants a number of blocks from 0, not ''"},
      {"drop-read:3@", "the serial number after '@' wants 1 to 19 characters, not ''"},
      {"wrong-sum@12345678901234567890",
       "the serial number after '@' wants 1 to 19 characters, not '12345678901234567890'"},
      {"flood", "unknown gateway fault 'flood'"},
      {"wrong-sum:1", "unknown gateway fault 'wrong-sum:1'"},
      {"@12", "unknown gateway fault '@12'"},
      {"", "unknown gateway fault ''"},
  };
  for (const auto& [text, reason] : bad) {
    std::string error;
    EXPECT_FALSE(Parsed(ParseGatewayFault, text, &error)) << text;
    EXPECT_EQ(error, reason) << text;
  }
}

std::optional<SimOptions> Parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string reason;
  auto options = ParseOptions(args, reason);
  if (error) *error = reason;
  return options;
}

TEST(GatewayConfigTest, NoGatewayUnlessAsked) {
  const auto options = Parse({});
  ASSERT_TRUE(options);
  EXPECT_FALSE(options->gateway.port);
  EXPECT_EQ(options->gateway, GatewayOptions{});
}

TEST(GatewayConfigTest, EveryGatewayOption) {
  const auto options = Parse(
      {"--gateway", "0", "--gateway-host=0.0.0.0", "--gateway-user", "anna:pw", "--gateway-user=ben:pw:B",
       "--gateway-system", "12:Harbour:-:10.0.0.7", "--gateway-access", "12:B", "--gateway-fault",
       "drop-read:3", "--gateway-fault=wrong-sum@12", "--gateway-block", "1993", "--gateway-fleet", "20"});
  ASSERT_TRUE(options);
  const GatewayOptions& gateway = options->gateway;
  EXPECT_EQ(gateway.port, 0);
  EXPECT_EQ(gateway.host, "0.0.0.0");
  EXPECT_EQ(gateway.users, (std::vector<GatewayUser>{{"anna", "pw", "A"}, {"ben", "pw", "B"}}));
  EXPECT_EQ(gateway.systems, (std::vector<GatewaySystemOption>{{"12", "Harbour", "-", "10.0.0.7"}}));
  EXPECT_EQ(gateway.access, (std::vector<GatewayAccessOption>{{"12", "B"}}));
  EXPECT_EQ(gateway.faults, (std::vector<GatewayFault>{{GatewayFaultKind::DropRead, 3, ""},
                                                       {GatewayFaultKind::WrongSum, 0, "12"}}));
  EXPECT_EQ(gateway.blockSize, 1993u);
  EXPECT_EQ(gateway.fleet, 20);
}

TEST(GatewayConfigTest, Fleet) {
  struct Case {
    std::vector<std::string> args;
    std::optional<int> fleet;  // none: refused with `error`
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"--gateway", "0"}, 0, ""},
      {{"--gateway", "0", "--gateway-fleet", "20"}, 20, ""},
      {{"--gateway", "0", "--gateway-fleet=0"}, 0, ""},
      {{"--gateway", "0", "--gateway-fleet", "500"}, 500, ""},
      {{"--gateway", "0", "--gateway-fleet", "3", "--gateway-fleet", "5"}, 5, ""},
      {{"--gateway", "0", "--gateway-fleet", "501"},
       std::nullopt,
       "--gateway-fleet wants a whole number from 0 to 500, not '501'"},
      {{"--gateway", "0", "--gateway-fleet", "-1"},
       std::nullopt,
       "--gateway-fleet wants a whole number from 0 to 500, not '-1'"},
      {{"--gateway", "0", "--gateway-fleet", "2x"},
       std::nullopt,
       "--gateway-fleet wants a whole number from 0 to 500, not '2x'"},
      {{"--gateway", "0", "--gateway-fleet="},
       std::nullopt,
       "--gateway-fleet wants a whole number from 0 to 500, not ''"},
      {{"--gateway", "0", "--gateway-fleet"}, std::nullopt, "--gateway-fleet wants a value"},
      {{"--gateway-fleet", "20"}, std::nullopt, "the --gateway-... options want --gateway PORT"},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto options = Parse(c.args, &error);
    const std::string line = c.args.back();
    if (c.fleet) {
      ASSERT_TRUE(options) << line << ": " << error;
      EXPECT_EQ(options->gateway.fleet, *c.fleet) << line;
    } else {
      EXPECT_FALSE(options) << line;
      EXPECT_EQ(error, c.error) << line;
    }
  }
}

TEST(GatewayConfigTest, RefusedGatewayOptions) {
  std::string error;
  EXPECT_FALSE(Parse({"--gateway-user", "anna:pw"}, &error));
  EXPECT_EQ(error, "the --gateway-... options want --gateway PORT");
  EXPECT_FALSE(Parse({"--gateway", "65536"}, &error));
  EXPECT_EQ(error, "--gateway wants a whole number from 0 to 65535, not '65536'");
  EXPECT_FALSE(Parse({"--gateway", "1", "--gateway-block", "1994"}, &error));
  EXPECT_FALSE(Parse({"--gateway", "1", "--gateway-fault", "flood"}, &error));
  EXPECT_EQ(error, "--gateway-fault: unknown gateway fault 'flood'");
  EXPECT_FALSE(Parse({"--gateway", "1", "--gateway-system", "12"}, &error));
  EXPECT_EQ(error, "--gateway-system: wants SERIAL:NAME:INUSE:ADDRESS, not '12'");
  EXPECT_FALSE(Parse({"--gateway", "1", "--gateway-host", ""}, &error));
}

}  // namespace
}  // namespace qd::sim
