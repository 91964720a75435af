#include "link/gateway_session.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "support/gateway_session_harness.h"

namespace qd::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Login(std::string_view user, std::string_view password) {
  Bytes message = {'A', '@'};
  message.insert(message.end(), user.begin(), user.end());
  message.push_back(0);
  message.insert(message.end(), password.begin(), password.end());
  message.push_back(0);
  return message;
}
Bytes Connect(std::string_view serial) {
  Bytes message = {'A', 'B'};
  message.insert(message.end(), serial.begin(), serial.end());
  message.push_back(0);
  return message;
}
const Bytes StatusRequest = {0x00, 'X', 0x1E, 0x00};

// Starts in remote mode, as the communication window does before the connect button is usable.
class GatewaySessionTest : public test::GatewaySessionHarness {
 protected:
  GatewaySessionTest() {
    session.SetLinkMode(false);
    changes = linkStateChanges = captionChanges = 0;
  }

  void ExpectSessionCleared() {
    EXPECT_FALSE(session.SocketConnected());
    EXPECT_FALSE(session.LinkReady());
    EXPECT_FALSE(session.RemoteLoggedIn());
    EXPECT_FALSE(session.RemoteOnline());
    EXPECT_FALSE(session.RemoteFullAccess());
    EXPECT_FALSE(session.RemoteReadOnly());
    EXPECT_EQ(session.AccessText(), "");
    EXPECT_EQ(session.CaptionPiece(), "");
    const RemoteView& view = session.View();
    EXPECT_FALSE(view.accessVisible);
    EXPECT_FALSE(view.ipAddressVisible);
    EXPECT_FALSE(view.systemNameVisible);
    EXPECT_FALSE(view.systemNameCaptionEnabled);
    EXPECT_EQ(view.connectCaption, "Connect");
  }
  void Ticks(int count) {
    for (int i = 0; i < count; ++i)
      session.LinkTick();
  }
};

using GatewaySessionLogin = GatewaySessionTest;
using GatewaySessionList = GatewaySessionTest;
using GatewaySessionConnectResult = GatewaySessionTest;
using GatewaySessionAddress = GatewaySessionTest;
using GatewaySessionRefusal = GatewaySessionTest;
using GatewaySessionEnd = GatewaySessionTest;
using GatewaySessionStatusRequest = GatewaySessionTest;

TEST_F(GatewaySessionLogin, ConnectOpensTheGatewayPortAndSendsTheLoginOnceConnected) {
  session.RemoteConnectBtnClick("gateway.test");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].first, "gateway.test");
  EXPECT_EQ(opened[0].second, 14011);
  EXPECT_EQ(session.View().connectCaption, "Disconnect");
  EXPECT_FALSE(session.View().stateVisible);
  EXPECT_EQ(loginAsks, 0);
  EXPECT_TRUE(sent.empty());

  logins.push_back(Credentials{"tech", "pw"});
  session.ClientSocketConnect();
  EXPECT_EQ(loginAsks, 1);
  EXPECT_EQ(session.View().state, RemoteState::Connecting);
  EXPECT_EQ(RemoteStateColour(session.View().state), LabelColour::Normal);
  EXPECT_TRUE(session.View().stateVisible);
  EXPECT_EQ(sent, (std::vector<Bytes>{{'A', '@', 't', 'e', 'c', 'h', 0, 'p', 'w', 0}}));
  EXPECT_EQ(sent[0], Login("tech", "pw"));
}

TEST_F(GatewaySessionLogin, CancelledLoginClosesTheSocketAndHidesTheState) {
  Connected(std::nullopt);
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(session.Socket(), SocketState::Closed);
  EXPECT_FALSE(session.View().stateVisible);
  EXPECT_EQ(session.View().connectCaption, "Connect");
  EXPECT_EQ(connectionsLost, 1);
}

TEST_F(GatewaySessionLogin, ConnectButtonWhileTheSocketOpensClosesIt) {
  session.RemoteConnectBtnClick("gateway.test");
  session.RemoteConnectBtnClick("gateway.test");
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(session.Socket(), SocketState::Closed);
  EXPECT_EQ(session.View().connectCaption, "Connect");
  // Nothing was connected, so nothing was lost and no "Disconnected" appears.
  EXPECT_EQ(connectionsLost, 0);
  EXPECT_FALSE(session.View().stateVisible);
  // A connect event that was already on its way belongs to the closed socket.
  session.ClientSocketConnect();
  EXPECT_EQ(loginAsks, 0);
  EXPECT_FALSE(session.SocketConnected());
}

TEST_F(GatewaySessionLogin, UnreachableGatewayReportsTheSocketError) {
  session.RemoteConnectBtnClick("nowhere.test");
  EXPECT_EQ(session.ClientSocketError(10061), "Asynchronous socket error 10061");
  EXPECT_EQ(session.View().state, RemoteState::Disconnected);
  EXPECT_EQ(RemoteStateColour(session.View().state), LabelColour::Normal);
  EXPECT_TRUE(session.View().stateVisible);
  EXPECT_EQ(session.View().connectCaption, "Connect");
  EXPECT_EQ(connectionsLost, 1);
  // A second report about the same, already forgotten socket is nobody's business.
  EXPECT_EQ(session.ClientSocketError(10061), "");
  EXPECT_EQ(connectionsLost, 1);
}

TEST_F(GatewaySessionLogin, SocketLostWhileTheLoginWindowIsOpenSendsNothing) {
  duringLogin = [this] { session.ClientSocketDisconnect(); };
  Connected();
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(session.View().state, RemoteState::Disconnected);
  EXPECT_TRUE(session.View().stateVisible);
}

TEST_F(GatewaySessionList, OneFreeSystemIsConnectedWithoutTheSelectionWindow) {
  Connected();
  sent.clear();
  Receive(Entry("12", "Laundry", "-", "10.0.0.5"));
  EXPECT_TRUE(sent.empty());
  Receive(EndOfList());
  EXPECT_EQ(chooserCalls, 0);
  EXPECT_EQ(sent, (std::vector<Bytes>{{'A', 'B', '1', '2', 0}}));
  EXPECT_EQ(session.SelectedSerial(), "12");
  EXPECT_EQ(session.SelectedName(), "Laundry");
  EXPECT_EQ(session.View().systemName, "12 / Laundry");
  EXPECT_TRUE(session.View().systemNameVisible);
  EXPECT_TRUE(session.View().systemNameCaptionEnabled);
  // Choosing a system is not being logged in to it.
  EXPECT_FALSE(session.RemoteLoggedIn());
  EXPECT_EQ(session.CaptionPiece(), "");
}

TEST_F(GatewaySessionList, OneSystemInUseShowsNothingAndStaysConnecting) {
  Connected();
  sent.clear();
  Receive(Entry("12", "Laundry", "tech2", "10.0.0.5"));
  Receive(EndOfList());
  EXPECT_EQ(chooserCalls, 0);
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(session.View().state, RemoteState::Connecting);
  EXPECT_TRUE(session.View().stateVisible);
  EXPECT_FALSE(session.View().systemNameVisible);
}

TEST_F(GatewaySessionList, TwoSystemsAreOfferedAndTheChosenRowIsConnected) {
  choose = [](const SystemList& systems) { return systems.ChoiceAt(2); };
  Connected();
  sent.clear();
  Receive(Entry("12", "Laundry", "-", "10.0.0.5"));
  Receive(Entry("34", "Hotel", "-", "10.0.0.6"));
  Receive(EndOfList());
  EXPECT_EQ(chooserCalls, 1);
  EXPECT_EQ(offeredCount, 2);
  EXPECT_EQ(sent, (std::vector<Bytes>{Connect("34")}));
  EXPECT_EQ(session.View().systemName, "34 / Hotel");
  ASSERT_EQ(session.Systems().Count(), 2);
  EXPECT_EQ(session.Systems().Entries()[1], (SystemEntry{"34", "Hotel", "-", "10.0.0.6"}));
}

TEST_F(GatewaySessionList, NoEntriesOrACancelledChoiceConnectNowhere) {
  Connected();
  sent.clear();
  Receive(EndOfList());
  EXPECT_EQ(chooserCalls, 0);
  EXPECT_TRUE(sent.empty());
  EXPECT_TRUE(session.View().stateVisible);

  session.Disconnect();
  Connected();
  sent.clear();
  Receive(Entry("12", "Laundry", "-", "10.0.0.5"));
  Receive(Entry("34", "Hotel", "-", "10.0.0.6"));
  Receive(EndOfList());  // the chooser is cancelled
  EXPECT_EQ(chooserCalls, 1);
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(session.View().state, RemoteState::Connecting);
  EXPECT_TRUE(session.View().stateVisible);
}

TEST_F(GatewaySessionList, AHostileGatewayCannotHoldTheWindowOrTheMemory) {
  std::vector<std::string> errors;
  session.events.error = [&errors](const std::string& text) { errors.push_back(text); };
  // Before the login nothing of a list counts.
  session.RemoteConnectBtnClick("gateway.test");
  Receive(Entry("12", "Laundry", "-", "10.0.0.5"));
  EXPECT_EQ(session.Systems().Count(), 0);
  session.Disconnect();

  // After the first end of the list, neither entries nor ends reopen the selection window.
  Connected();
  Receive(Entry("12", "Laundry", "-", "10.0.0.5"));
  Receive(Entry("34", "Hotel", "-", "10.0.0.6"));
  Receive(EndOfList());  // cancelled
  for (int k = 0; k < 5; ++k) {
    Receive(Entry("56", "Spa", "-", "10.0.0.7"));
    Receive(EndOfList());
  }
  EXPECT_EQ(chooserCalls, 1);
  EXPECT_EQ(session.Systems().Count(), 2);
  EXPECT_EQ(session.Outcome(), SessionOutcome::NoSystemChosen);
  EXPECT_TRUE(session.SocketConnected()) << "Disconnect is the user's";

  // A list past its cap ends the connection with a message.
  session.Disconnect();
  Connected();
  for (std::size_t k = 0; k <= GatewaySession::MaxListEntries; ++k)
    Receive(Entry(std::to_string(k), "Laundry", "-", "10.0.0.5"));
  EXPECT_EQ(session.Outcome(), SessionOutcome::ListTooLong);
  EXPECT_FALSE(session.SocketConnected());
  EXPECT_EQ(errors, (std::vector<std::string>{std::string(ListTooLongText)}));
  Receive(EndOfList());
  EXPECT_EQ(chooserCalls, 1);
}

TEST_F(GatewaySessionList, OnlyAFreeFirstEntryIsPreselected) {
  Connected();
  Receive(Entry("12", "Laundry", "tech2", ""));
  Receive(Entry("34", "Hotel", "-", ""));
  EXPECT_FALSE(session.Systems().Preselected());

  SystemList list;
  list.Add({"12", "Laundry", "-", ""});
  list.Add({"34", "Hotel", "-", ""});
  EXPECT_EQ(list.Preselected(), (SystemChoice{"12", "Laundry"}));
}

TEST_F(GatewaySessionList, AListFromAnEarlierConnectionIsForgotten) {
  ReadyOn12();
  session.Disconnect();
  Connected();
  sent.clear();
  Receive(Entry("56", "Spa", "tech2", ""));
  Receive(EndOfList());
  EXPECT_EQ(session.Systems().Count(), 1);
  EXPECT_TRUE(sent.empty());
}

TEST_F(GatewaySessionList, TextsUpToTheirLimitsAreAcceptedAndLongerOnesIgnored) {
  Connected();
  const std::size_t limits[] = {100, 200, 100, 40};
  for (int field = 0; field < 4; ++field) {
    for (std::size_t length : {limits[field], limits[field] + 1}) {
      std::string texts[4] = {"12", "Laundry", "-", "10.0.0.5"};
      texts[field] = std::string(length, '7');
      const int before = session.Systems().Count();
      Receive(Entry(texts[0], texts[1], texts[2], texts[3]));
      const bool accepted = session.Systems().Count() == before + 1;
      EXPECT_EQ(accepted, length == limits[field]) << "field " << field << " length " << length;
    }
  }
}

TEST_F(GatewaySessionList, TruncatedEntriesAreIgnoredAndDoNotEndTheList) {
  Connected();
  sent.clear();
  Bytes entry = Entry("12", "Laundry", "-", "10.0.0.5");
  entry.pop_back();  // the address has no zero byte
  Receive(entry);
  Receive(Message('B', 'D', {"12", "Laundry", "-"}));  // no address at all
  Receive(Message('B', 'D', {"12"}));
  Receive(Bytes{'B', 'D', '1', '2'});
  Receive(Bytes{'B', 'D'});
  EXPECT_EQ(session.Systems().Count(), 0);
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(chooserCalls, 0);

  Receive(Entry("12", "Laundry", "-", "10.0.0.5"));
  Receive(EndOfList());
  EXPECT_EQ(sent, (std::vector<Bytes>{Connect("12")}));
}

TEST_F(GatewaySessionList, TheSelectionTakesOnlyRowsWithANonNegativeWholeSerial) {
  SystemList list;
  list.Add({"12", "Laundry", "-", ""});
  list.Add({"ABC", "Hotel", "-", ""});
  list.Add({"-5", "Spa", "-", ""});
  list.Add({"0", "Depot", "-", ""});
  EXPECT_EQ(list.ChoiceAt(1), (SystemChoice{"12", "Laundry"}));
  EXPECT_FALSE(list.ChoiceAt(0));
  EXPECT_FALSE(list.ChoiceAt(2));
  EXPECT_FALSE(list.ChoiceAt(3));
  EXPECT_EQ(list.ChoiceAt(4), (SystemChoice{"0", "Depot"}));
  EXPECT_FALSE(list.ChoiceAt(5));
  EXPECT_EQ(list.FindSerial("0012"), (SystemChoice{"12", "Laundry"}));
  EXPECT_EQ(list.FindSerial("ABC"), (SystemChoice{"ABC", "Hotel"}));
  EXPECT_FALSE(list.FindSerial("13"));
  EXPECT_EQ(RowNumberText(7), "   7");
}

TEST_F(GatewaySessionConnectResult, ZeroPaddedSerialMatchesTheSelectedSystem) {
  Connected();
  Receive(Entry("12", "Laundry", "-", "10.0.0.5"));
  Receive(EndOfList());
  const int stateChangesBefore = linkStateChanges;
  const int captionChangesBefore = captionChanges;
  Receive(Result(0, "0012", "A"));
  EXPECT_EQ(session.View().state, RemoteState::Ready);
  EXPECT_EQ(RemoteStateColour(session.View().state), LabelColour::Green);
  EXPECT_TRUE(session.View().stateVisible);
  EXPECT_TRUE(session.LinkReady());
  EXPECT_TRUE(session.RemoteLoggedIn());
  EXPECT_EQ(session.AccessText(), "A");
  EXPECT_EQ(linkStateChanges, stateChangesBefore + 1);
  EXPECT_GT(captionChanges, captionChangesBefore);
  EXPECT_EQ(session.CaptionPiece(), "        System: Laundry (12).");
  // Online is the address's business, not the connect result's.
  EXPECT_FALSE(session.RemoteOnline());
}

TEST_F(GatewaySessionConnectResult, AccessTextDecidesTheAccessFlags) {
  struct Case {
    const char* access;
    RemoteAccess shown;
    bool full;
    bool readOnly;
  };
  const Case cases[] = {
      {"A", RemoteAccess::Full, true, false},
      {"B", RemoteAccess::ReadOnly, false, true},
      {"ABC", RemoteAccess::Full, true, false},
      {"C", RemoteAccess::Unknown, false, false},
      {"BA", RemoteAccess::ReadOnly, false, true},
      {"a", RemoteAccess::Unknown, false, false},
      {"", RemoteAccess::Unknown, false, false},
      {"A", RemoteAccess::Full, true, false},
      {"Z12345678", RemoteAccess::Unknown, false, false},
  };
  ReadyOn12();
  // One after the other: each result replaces what the previous one granted.
  for (const Case& c : cases) {
    Receive(Result(0, "12", c.access));
    EXPECT_EQ(session.View().access, c.shown) << c.access;
    EXPECT_TRUE(session.View().accessVisible) << c.access;
    EXPECT_EQ(session.RemoteFullAccess(), c.full) << c.access;
    EXPECT_EQ(session.RemoteReadOnly(), c.readOnly) << c.access;
    EXPECT_EQ(session.AccessText(), c.access);
  }
  EXPECT_EQ(RemoteAccessText(RemoteAccess::Full), "Full access");
  EXPECT_EQ(RemoteAccessText(RemoteAccess::ReadOnly), "Read only");
  EXPECT_EQ(RemoteAccessText(RemoteAccess::Unknown), "Access: ?");
}

TEST_F(GatewaySessionConnectResult, ResultForAnotherSerialLeavesFailed) {
  Connected();
  Receive(Entry("12", "Laundry", "-", "10.0.0.5"));
  Receive(EndOfList());
  const int before = linkStateChanges;
  Receive(Result(0, "13", "A"));
  EXPECT_EQ(session.View().state, RemoteState::Failed);
  EXPECT_EQ(RemoteStateColour(session.View().state), LabelColour::Yellow);
  EXPECT_TRUE(session.View().stateVisible);
  EXPECT_FALSE(session.LinkReady());
  EXPECT_FALSE(session.RemoteLoggedIn());
  EXPECT_FALSE(session.RemoteFullAccess());
  EXPECT_FALSE(session.RemoteReadOnly());
  EXPECT_FALSE(session.View().accessVisible);
  EXPECT_EQ(session.AccessText(), "");
  EXPECT_EQ(linkStateChanges, before + 1);  // well formed, so the windows look again
}

TEST_F(GatewaySessionConnectResult, SerialsThatAreNoNumbersNeverMatch) {
  Connected();
  session.ConnectToSystem({"ABC", "Hotel"});
  Receive(Result(0, "XYZ", "A"));
  EXPECT_EQ(session.View().state, RemoteState::Failed);
  EXPECT_FALSE(session.RemoteLoggedIn());
  Receive(Result(0, "ABC", "A"));
  EXPECT_FALSE(session.RemoteLoggedIn());
}

TEST_F(GatewaySessionConnectResult, RefusalsAndUnknownResultsOnlyChangeTheLabel) {
  Connected();
  Receive(Entry("12", "Laundry", "-", "10.0.0.5"));
  Receive(EndOfList());
  const int before = linkStateChanges;
  Receive(Result(7));
  EXPECT_EQ(session.View().state, RemoteState::Connecting);
  Receive(Result(1));
  EXPECT_EQ(session.View().state, RemoteState::NotFound);
  EXPECT_EQ(RemoteStateText(session.View().state), "Not found");
  EXPECT_EQ(RemoteStateColour(session.View().state), LabelColour::Yellow);
  Receive(Result(2));
  EXPECT_EQ(RemoteStateText(session.View().state), "In use");
  EXPECT_EQ(RemoteStateColour(session.View().state), LabelColour::Yellow);
  Receive(Result(0xFF));
  EXPECT_EQ(session.View().state, RemoteState::InUse);
  EXPECT_TRUE(session.View().stateVisible);
  EXPECT_FALSE(session.RemoteLoggedIn());
  EXPECT_EQ(linkStateChanges, before);
}

TEST_F(GatewaySessionConnectResult, UnknownResultMakesTheHiddenLabelVisible) {
  session.RemoteConnectBtnClick("gateway.test");
  ASSERT_FALSE(session.View().stateVisible);
  Receive(Result(9));
  EXPECT_TRUE(session.View().stateVisible);
  EXPECT_EQ(session.View().state, RemoteState::None);
}

TEST_F(GatewaySessionConnectResult, BadlyFormedTextsFailWithoutLoggingIn) {
  Connected();
  session.ConnectToSystem({"12", "Laundry"});
  const int before = linkStateChanges;
  const Bytes malformed[] = {
      Result(0, std::string(18, '0') + "12", "A"),  // serial of 20 characters
      Result(0, "12", "ABCDEFGHIJ"),                // access of 10 characters
      Bytes{'B', 'E', 0, '1', '2', 0, 'A'},         // access without its zero byte
      Bytes{'B', 'E', 0, '1', '2'},                 // serial without its zero byte
      Bytes{'B', 'E', 0},
  };
  for (const Bytes& message : malformed) {
    Receive(message);
    EXPECT_EQ(session.View().state, RemoteState::Failed);
    EXPECT_FALSE(session.RemoteLoggedIn());
    EXPECT_FALSE(session.LinkReady());
  }
  EXPECT_EQ(linkStateChanges, before);

  // The limits themselves are well formed.
  Receive(Result(0, std::string(17, '0') + "12", "ABCDEFGHI"));
  EXPECT_TRUE(session.RemoteLoggedIn());
  EXPECT_TRUE(session.RemoteFullAccess());
}

TEST_F(GatewaySessionConnectResult, MessageWithoutAResultByteIsIgnored) {
  Connected();
  const int before = changes;
  Receive(Bytes{'B', 'E'});
  EXPECT_EQ(session.View().state, RemoteState::Connecting);
  EXPECT_EQ(changes, before);
}

TEST_F(GatewaySessionAddress, AddressMeansOnlineAndOfflineDoesNot) {
  ReadyOn12();
  EXPECT_TRUE(session.RemoteOnline());
  EXPECT_EQ(session.View().ipAddress, "10.0.0.5");
  EXPECT_TRUE(session.View().ipAddressVisible);
  EXPECT_TRUE(session.RemoteChangesAllowed());

  const int before = linkStateChanges;
  Receive(Address("Offline"));
  EXPECT_FALSE(session.RemoteOnline());
  EXPECT_FALSE(session.RemoteChangesAllowed());
  EXPECT_EQ(session.View().ipAddress, "Offline");
  EXPECT_EQ(linkStateChanges, before + 1);

  Receive(Bytes{'B', 'F', '1', '0', '.', '0', '.', '0', '.', '7'});  // no zero byte: up to the end
  EXPECT_TRUE(session.RemoteOnline());
  EXPECT_EQ(session.View().ipAddress, "10.0.0.7");
  EXPECT_EQ(linkStateChanges, before + 2);
}

TEST_F(GatewaySessionAddress, ReadOnlyAccessAllowsNoChanges) {
  ReadyOn12("B");
  EXPECT_TRUE(session.RemoteOnline());
  EXPECT_FALSE(session.RemoteChangesAllowed());
}

TEST_F(GatewaySessionRefusal, RetryAsksForTheLoginAgainOnTheSameSocket) {
  Connected(Credentials{"tech", "wrong"});
  logins.push_back(Credentials{"tech", "right"});
  retry = true;
  Receive(Refused());
  EXPECT_EQ(retryAsks, 1);
  EXPECT_EQ(loginAsks, 2);
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_EQ(closes, 0);
  EXPECT_EQ(sent, (std::vector<Bytes>{Login("tech", "wrong"), Login("tech", "right")}));
  EXPECT_EQ(session.View().state, RemoteState::Connecting);
  EXPECT_TRUE(session.SocketConnected());
}

TEST_F(GatewaySessionRefusal, CancelDisconnects) {
  Connected(Credentials{"tech", "wrong"});
  retry = false;
  Receive(Refused());
  EXPECT_EQ(retryAsks, 1);
  EXPECT_EQ(loginAsks, 1);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(connectionsLost, 1);
  EXPECT_EQ(session.View().state, RemoteState::Disconnected);
  EXPECT_TRUE(session.View().stateVisible);
  ExpectSessionCleared();
}

TEST_F(GatewaySessionRefusal, RetryThenCancelledLoginCloses) {
  Connected(Credentials{"tech", "wrong"});
  retry = true;  // and no second login: the window is cancelled
  Receive(Refused());
  EXPECT_EQ(loginAsks, 2);
  EXPECT_EQ(sent.size(), 1u);
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(session.SocketConnected());
  EXPECT_FALSE(session.View().stateVisible);
}

TEST_F(GatewaySessionEnd, DisconnectButtonClearsEverything) {
  ReadyOn12();
  ASSERT_TRUE(session.RemoteFullAccess());
  session.RemoteConnectBtnClick("gateway.test");
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(connectionsLost, 1);  // once, though the close reported itself too
  ExpectSessionCleared();
  EXPECT_EQ(session.Systems().Count(), 0);
  EXPECT_EQ(session.View().state, RemoteState::Disconnected);
  EXPECT_EQ(RemoteStateColour(session.View().state), LabelColour::Normal);
  EXPECT_TRUE(session.View().stateVisible);
  // The next press connects again.
  session.RemoteConnectBtnClick("gateway.test");
  EXPECT_EQ(opened.size(), 2u);
}

TEST_F(GatewaySessionEnd, ServerDisconnectAndSocketErrorClearTheSession) {
  ReadyOn12();
  session.ClientSocketDisconnect();
  EXPECT_EQ(connectionsLost, 1);
  EXPECT_EQ(session.View().state, RemoteState::Disconnected);
  EXPECT_TRUE(session.View().stateVisible);
  ExpectSessionCleared();
  session.ClientSocketDisconnect();
  EXPECT_EQ(connectionsLost, 1);

  ReadyOn12("B");
  ASSERT_TRUE(session.RemoteReadOnly());
  EXPECT_EQ(session.ClientSocketError(10054), "Asynchronous socket error 10054");
  EXPECT_EQ(connectionsLost, 2);
  EXPECT_EQ(session.View().state, RemoteState::Disconnected);
  ExpectSessionCleared();
}

TEST_F(GatewaySessionEnd, LocalModeClosesTheSocketAndClearsTheSession) {
  ReadyOn12();
  const int before = linkStateChanges;
  session.SetLinkMode(true);
  EXPECT_TRUE(session.LocalMode());
  EXPECT_EQ(closes, 1);
  EXPECT_GT(linkStateChanges, before);
  EXPECT_EQ(connectionsLost, 0);  // the owner is changing the mode already
  ExpectSessionCleared();
  EXPECT_EQ(session.View().state, RemoteState::Disconnected);
}

TEST_F(GatewaySessionStatusRequest, EveryEleventhTickAsksForTheStatus) {
  ReadyOn12();
  Ticks(10);
  EXPECT_TRUE(sent.empty());
  Ticks(1);
  EXPECT_EQ(sent, (std::vector<Bytes>{StatusRequest}));
  Ticks(10);
  EXPECT_EQ(sent.size(), 1u);
  Ticks(1);
  EXPECT_EQ(sent.size(), 2u);
  Ticks(110);
  EXPECT_EQ(sent.size(), 12u);
}

TEST_F(GatewaySessionStatusRequest, OnlyForAnOnlineSystemWithAStatusWindowShown) {
  ReadyOn12();
  statusWanted = false;
  Ticks(22);
  EXPECT_TRUE(sent.empty());
  statusWanted = true;
  Ticks(11);
  EXPECT_EQ(sent.size(), 1u);

  Receive(Address("Offline"));
  Ticks(33);
  EXPECT_EQ(sent.size(), 1u);
  Receive(Address("10.0.0.5"));
  Ticks(11);
  EXPECT_EQ(sent.size(), 2u);
}

TEST_F(GatewaySessionStatusRequest, NotBeforeTheAddressNorAfterTheSocketClosed) {
  Connected();
  Receive(Entry("12", "Laundry", "-", "10.0.0.5"));
  Receive(EndOfList());
  Receive(Result(0, "12", "A"));
  sent.clear();
  Ticks(22);
  EXPECT_TRUE(sent.empty());

  Receive(Address("10.0.0.5"));
  session.ClientSocketDisconnect();
  Ticks(22);
  EXPECT_TRUE(sent.empty());

  ReadyOn12();
  session.SetLinkMode(true);
  Ticks(22);
  EXPECT_TRUE(sent.empty());
}

// --- How a connect attempt ends --------------------------------------------------------------------

class GatewaySessionOutcomes : public GatewaySessionTest, public ::testing::WithParamInterface<std::size_t> {
 public:
  struct Case {
    const char* name;
    std::function<void(GatewaySessionOutcomes&)> path;
    SessionOutcome outcome;
    SessionOutcome afterDisconnect;  // once the owner has closed the connection
  };
  static const std::vector<Case>& Cases();

 protected:
  void UpToTheList() {
    Connected();
    Receive(Entry("12", "Laundry", "-", "10.0.0.5"));
    Receive(EndOfList());
  }
};

const std::vector<GatewaySessionOutcomes::Case>& GatewaySessionOutcomes::Cases() {
  using enum SessionOutcome;
  static const std::vector<Case> cases = {
      {"LoggedIn", [](GatewaySessionOutcomes& t) { t.ReadyOn12(); }, LoggedIn, ConnectionLost},
      {"LoginWindowCancelled", [](GatewaySessionOutcomes& t) { t.Connected(std::nullopt); }, Cancelled,
       Cancelled},
      {"LoginRefusedNotRetried",
       [](GatewaySessionOutcomes& t) {
         t.Connected();
         t.Receive(Refused());
       },
       LoginRefused, LoginRefused},
      {"LoginRefusedRetryCancelled",
       [](GatewaySessionOutcomes& t) {
         t.retry = true;
         t.Connected();
         t.Receive(Refused());
       },
       Cancelled, Cancelled},
      {"EmptyList",
       [](GatewaySessionOutcomes& t) {
         t.Connected();
         t.Receive(EndOfList());
       },
       NoSystemChosen, NoSystemChosen},
      {"OnlySystemInUse",
       [](GatewaySessionOutcomes& t) {
         t.Connected();
         t.Receive(Entry("12", "Laundry", "tech2", "10.0.0.5"));
         t.Receive(EndOfList());
       },
       NoSystemChosen, NoSystemChosen},
      {"ChoiceCancelled",
       [](GatewaySessionOutcomes& t) {
         t.Connected();
         t.Receive(Entry("12", "Laundry", "-", "10.0.0.5"));
         t.Receive(Entry("34", "Hotel", "-", "10.0.0.6"));
         t.Receive(EndOfList());
       },
       NoSystemChosen, NoSystemChosen},
      {"NotFound",
       [](GatewaySessionOutcomes& t) {
         t.UpToTheList();
         t.Receive(Result(1));
       },
       NotFound, NotFound},
      {"InUse",
       [](GatewaySessionOutcomes& t) {
         t.UpToTheList();
         t.Receive(Result(2));
       },
       InUse, InUse},
      {"AcceptedForAnotherSerial",
       [](GatewaySessionOutcomes& t) {
         t.UpToTheList();
         t.Receive(Result(0, "13", "A"));
       },
       Failed, Failed},
      {"MalformedAcceptance",
       [](GatewaySessionOutcomes& t) {
         t.UpToTheList();
         t.Receive(Result(0, "12", "ABCDEFGHIJ"));
       },
       Failed, Failed},
      {"UnknownResultDecidesNothing",
       [](GatewaySessionOutcomes& t) {
         t.UpToTheList();
         t.Receive(Result(7));
       },
       None, ConnectionLost},
      {"WaitingForTheResult", [](GatewaySessionOutcomes& t) { t.UpToTheList(); }, None, ConnectionLost},
      {"GatewayUnreachable",
       [](GatewaySessionOutcomes& t) {
         t.session.RemoteConnectBtnClick("nowhere.test");
         t.session.ClientSocketError(10061);
       },
       ConnectionLost, ConnectionLost},
      {"ConnectAbandonedWhileOpening",
       [](GatewaySessionOutcomes& t) {
         t.session.RemoteConnectBtnClick("gateway.test");
         t.session.RemoteConnectBtnClick("gateway.test");
       },
       None, None},
      {"SocketLostWhileTheLoginWindowIsOpen",
       [](GatewaySessionOutcomes& t) {
         t.duringLogin = [&t] { t.session.ClientSocketDisconnect(); };
         t.Connected();
       },
       ConnectionLost, ConnectionLost},
      {"ServerDisconnectAfterLogin",
       [](GatewaySessionOutcomes& t) {
         t.ReadyOn12();
         t.session.ClientSocketDisconnect();
       },
       ConnectionLost, ConnectionLost},
      {"SocketErrorAfterLogin",
       [](GatewaySessionOutcomes& t) {
         t.ReadyOn12();
         t.session.ClientSocketError(10054);
       },
       ConnectionLost, ConnectionLost},
  };
  return cases;
}

TEST_P(GatewaySessionOutcomes, EachPathEndsWithItsOutcome) {
  const Case& c = Cases()[GetParam()];
  c.path(*this);
  EXPECT_EQ(session.Outcome(), c.outcome);
  session.Disconnect();
  EXPECT_EQ(session.Outcome(), c.afterDisconnect);

  // A new attempt starts undecided, and its own end counts.
  session.RemoteConnectBtnClick("gateway.test");
  EXPECT_EQ(session.Outcome(), SessionOutcome::None);
  session.ClientSocketError(10061);
  EXPECT_EQ(session.Outcome(), SessionOutcome::ConnectionLost);
}

INSTANTIATE_TEST_SUITE_P(, GatewaySessionOutcomes,
                         ::testing::Range<std::size_t>(0, GatewaySessionOutcomes::Cases().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                           return std::string(GatewaySessionOutcomes::Cases()[info.param].name);
                         });

TEST(GatewayMessages, TextsAreReadOnlyInsideTheMessage) {
  // A zero byte right behind the message must not end a text inside it.
  const Bytes buffer = {'B', 'D', '1', '2', 0};
  const std::span<const std::uint8_t> message = std::span(buffer).first(4);
  EXPECT_FALSE(ReadTerminatedText(message, 2, 100));
  EXPECT_FALSE(ReadTerminatedText(message, 4, 100));
  EXPECT_FALSE(DecodeSystemListEntry(message));

  const Bytes result = {'B', 'E', 0, '1', '2', 0, 'A', 0};
  EXPECT_TRUE(DecodeConnectResult(result)->wellFormed);
  EXPECT_FALSE(DecodeConnectResult(std::span(result).first(7))->wellFormed);
  EXPECT_FALSE(DecodeConnectResult(std::span(result).first(2)));

  const auto text = ReadTerminatedText(buffer, 2, 2);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->text, "12");
  EXPECT_EQ(text->next, 5u);
  EXPECT_FALSE(ReadTerminatedText(buffer, 2, 1));
}

TEST(GatewayMessages, RequestsAndCaptionPiece) {
  EXPECT_EQ(LoginMessage("", ""), (Bytes{'A', '@', 0, 0}));
  EXPECT_EQ(ConnectMessage("0012"), (Bytes{'A', 'B', '0', '0', '1', '2', 0}));
  EXPECT_EQ(SystemCaptionPiece("Laundry", "12"), "        System: Laundry (12).");
}

}  // namespace
}  // namespace qd::link
