#include "transport/gateway_hosts.h"

#include <gtest/gtest.h>

namespace qd::transport {
namespace {

TEST(GatewayHostChoices, DefaultThenLastUsedThenLoopbackWithoutBlanksOrRepeats) {
  struct Case {
    const char* defaultHost;
    const char* lastUsed;
    QStringList expected;
  };
  const Case cases[] = {
      {"", "", {"127.0.0.1"}},
      {"", "  \t", {"127.0.0.1"}},
      {"", "gw.example.com", {"gw.example.com", "127.0.0.1"}},
      {"", " gw.example.com\t", {"gw.example.com", "127.0.0.1"}},
      {"", "127.0.0.1", {"127.0.0.1"}},
      {"", " 127.0.0.1 ", {"127.0.0.1"}},
      {"", "192.168.1.20:14012", {"192.168.1.20:14012", "127.0.0.1"}},
      {"gw.example.com", "", {"gw.example.com", "127.0.0.1"}},
      {" gw.example.com ", "other.example.org", {"gw.example.com", "other.example.org", "127.0.0.1"}},
      {"gw.example.com", "gw.example.com ", {"gw.example.com", "127.0.0.1"}},
      {"gw.example.com", "GW.Example.COM", {"gw.example.com", "127.0.0.1"}},
      {"gw.example.com", "127.0.0.1", {"gw.example.com", "127.0.0.1"}},
      {"127.0.0.1", "gw.example.com", {"127.0.0.1", "gw.example.com"}},
      {"   ", "gw.example.com", {"gw.example.com", "127.0.0.1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("default '") + c.defaultHost + "', last used '" + c.lastUsed + "'");
    EXPECT_EQ(GatewayHostChoices(QString::fromUtf8(c.defaultHost), QString::fromUtf8(c.lastUsed)),
              c.expected);
  }
}

TEST(GatewayHostChoices, TheBuildsDefaultHostComesFromTheBuildSetting) {
  EXPECT_EQ(BuildDefaultGatewayHost(), QString::fromUtf8(QD_EXPECTED_DEFAULT_GATEWAY_HOST).trimmed());
  for (const char* lastUsed : {"", "gw.example.com", "127.0.0.1"}) {
    SCOPED_TRACE(lastUsed);
    const QString last = QString::fromUtf8(lastUsed);
    EXPECT_EQ(GatewayHostChoices(last), GatewayHostChoices(BuildDefaultGatewayHost(), last));
  }
}

}  // namespace
}  // namespace qd::transport
