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
  EXPECT_EQ(Parsed(ParseGatewayFault, "wrong-sum"), (GatewayFault{GatewayFaultKind::WrongSum, 0}));
  EXPECT_EQ(Parsed(ParseGatewayFault, "block-order"), (GatewayFault{GatewayFaultKind::BlockOrder, 0}));
  EXPECT_EQ(Parsed(ParseGatewayFault, "drop-read:0"), (GatewayFault{GatewayFaultKind::DropRead, 0}));
  EXPECT_EQ(Parsed(ParseGatewayFault, "drop-write:12"), (GatewayFault{GatewayFaultKind::DropWrite, 12}));
  std::string error;
  EXPECT_FALSE(Parsed(ParseGatewayFault, "drop-write:0", &error));
  EXPECT_EQ(error, "drop-write wants a number of blocks from 1, not '0'");
  EXPECT_FALSE(Parsed(ParseGatewayFault, "drop-read:x"));
  EXPECT_FALSE(Parsed(ParseGatewayFault, "drop-read"));
  EXPECT_FALSE(Parsed(ParseGatewayFault, "flood", &error));
  EXPECT_EQ(error, "unknown gateway fault 'flood'");
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
  const auto options = Parse({"--gateway", "0", "--gateway-host=0.0.0.0", "--gateway-user", "anna:pw",
                              "--gateway-user=ben:pw:B", "--gateway-system", "12:Harbour:-:10.0.0.7",
                              "--gateway-access", "12:B", "--gateway-fault", "drop-read:3",
                              "--gateway-fault=wrong-sum", "--gateway-block", "1993"});
  ASSERT_TRUE(options);
  const GatewayOptions& gateway = options->gateway;
  EXPECT_EQ(gateway.port, 0);
  EXPECT_EQ(gateway.host, "0.0.0.0");
  EXPECT_EQ(gateway.users, (std::vector<GatewayUser>{{"anna", "pw", "A"}, {"ben", "pw", "B"}}));
  EXPECT_EQ(gateway.systems, (std::vector<GatewaySystemOption>{{"12", "Harbour", "-", "10.0.0.7"}}));
  EXPECT_EQ(gateway.access, (std::vector<GatewayAccessOption>{{"12", "B"}}));
  EXPECT_EQ(gateway.faults,
            (std::vector<GatewayFault>{{GatewayFaultKind::DropRead, 3}, {GatewayFaultKind::WrongSum, 0}}));
  EXPECT_EQ(gateway.blockSize, 1993u);
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
