#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/bytes.h"
#include "gateway_connection.h"
#include "gateway_directory.h"
#include "link/frame_codec.h"

// A PC's gateway connections played without a socket, shared by the gateway tests.
namespace qd::sim::gateway_test {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t Serial = 4711;

inline Bytes Message(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

// The login message: 'A','@' user 0 password 0.
inline Bytes Login(std::string_view user, std::string_view password) {
  Bytes message = Message("A@");
  message.insert(message.end(), user.begin(), user.end());
  message.push_back(0);
  message.insert(message.end(), password.begin(), password.end());
  message.push_back(0);
  return message;
}

inline Bytes ConnectTo(std::string_view serial) {
  Bytes message = Message("AB");
  message.insert(message.end(), serial.begin(), serial.end());
  message.push_back(0);
  return message;
}

inline Bytes WriteBlock(std::uint16_t offset, const Bytes& data) {
  Bytes message{0x00, 'Q', static_cast<std::uint8_t>(offset), static_cast<std::uint8_t>(offset >> 8),
                static_cast<std::uint8_t>(data.size())};
  message.insert(message.end(), data.begin(), data.end());
  return message;
}

inline const Bytes ReadRequest = Message("AC");
inline const Bytes ConfirmRequest{0x00, 'S', 0x00, 0x00};
inline const Bytes StatusRequest{0x00, 'X', 0x1E, 0x00};

inline ControllerMemory Patterned() {
  Bytes bytes(ControllerMemory::Size);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 13 + (i >> 8));
  // A system name, and machines 1 and 3 enabled.
  const std::string name = "Harbour laundry";
  std::fill_n(bytes.begin() + layout::SystemName, layout::SystemNameField, 0);
  std::copy(name.begin(), name.end(), bytes.begin() + layout::SystemName);
  bytes::PutU16LE(bytes, layout::MachinesEnabled, 0x0005);
  ControllerMemory memory;
  memory.Load(bytes);
  memory.SetIdentity({4, 2, 3, Serial});
  return memory;
}

// One PC's connection to the gateway, played without a socket. What the gateway sends is unframed by
// the PC's own receiver, so the framing is checked on the way.
class GatewayTest : public testing::Test {
 protected:
  explicit GatewayTest(GatewayOptions options = {}) : directory_(options, Serial) {}

  GatewayConnection& Open() {
    connections_.push_back(std::make_unique<GatewayConnection>(directory_, controller_, nextId_++));
    GatewayConnection& connection = *connections_.back();
    connection.onSend = [this](std::span<const std::uint8_t> frame) {
      EXPECT_EQ(frame.front(), link::Stx);
      EXPECT_EQ(frame.back(), link::Etx);
      pc_.Feed(frame);
    };
    return connection;
  }

  void SetUp() override {
    pc_.onMessage = [this](std::span<const std::uint8_t> message) {
      received_.emplace_back(message.begin(), message.end());
    };
  }

  // What the gateway answers to one message.
  std::vector<Bytes> Ask(GatewayConnection& connection, const Bytes& message, SimTime now = {}) {
    received_.clear();
    connection.Receive(link::EncodeRawFrame(message), now);
    return received_;
  }

  // Logs in and connects to the simulated controller.
  GatewayConnection& Session(std::string_view user = "service", std::string_view password = "secret") {
    GatewayConnection& connection = Open();
    Ask(connection, Login(user, password));
    const auto answers = Ask(connection, ConnectTo(std::to_string(Serial)));
    EXPECT_EQ(answers.size(), 2u);
    return connection;
  }

  Controller controller_{Patterned(), {}};
  GatewayDirectory directory_;
  std::vector<std::unique_ptr<GatewayConnection>> connections_;
  link::GatewayReceiver pc_;
  std::vector<Bytes> received_;
  int nextId_ = 1;
};

}  // namespace qd::sim::gateway_test
