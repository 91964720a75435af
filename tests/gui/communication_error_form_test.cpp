#include "gui/link/communication_error_form.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <array>
#include <cstdint>
#include <memory>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/link/communication_form.h"
#include "support/gui_test_support.h"

using qd::gui::TCommunicationErrorForm;

namespace {

// A poll from the controller to the PC whose checksum byte is wrong.
constexpr std::array<std::uint8_t, 8> BadChecksumFrame = {0x02, 0x40, 0x06, 0x01, 0x02, 0x01, 0x00, 0x03};

enum class CloseBy { Button, Escape, CloseBox };

}  // namespace

Q_DECLARE_METATYPE(CloseBy)

class CommunicationErrorFormTest : public QObject {
  Q_OBJECT

 private:
  TCommunicationErrorForm& Form() { return app_->CommunicationError(); }
  qd::link::BusLink& Link() { return app_->Connection().Link(); }
  QString LabelText(const char* name) { return Form().findChild<QLabel*>(QString::fromLatin1(name))->text(); }

  std::unique_ptr<qd::gui::test::TemporaryPreferences> preferences_;
  std::unique_ptr<qd::gui::App> app_;

 private slots:
  void initTestCase() {
    preferences_ = std::make_unique<qd::gui::test::TemporaryPreferences>();
    app_ = std::make_unique<qd::gui::App>(QStringList{QStringLiteral("qdsystem")});
    app_->Main().MainTimer100ms().stop();
  }

  void cleanupTestCase() {
    app_.reset();
    preferences_.reset();
  }

  void isAModelessWarningAlwaysOnTop() {
    QCOMPARE(Form().windowTitle(), QStringLiteral("Warning, communication error"));
    QVERIFY(Form().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!Form().isModal());
    QCOMPARE(Form().findChild<QPushButton*>(QStringLiteral("CloseBtn"))->text(), QStringLiteral("Close"));
    const QStringList captions = [this] {
      QStringList texts;
      for (const QLabel* label : Form().findChildren<QLabel*>())
        texts << label->text();
      return texts;
    }();
    QVERIFY(captions.contains(QStringLiteral("Re-try count")));
    QVERIFY(captions.contains(QStringLiteral("Checksum error count:")));
  }

  void showCountsSetsBothLabels() {
    Form().ShowCounts(3, 41);
    QCOMPARE(LabelText("RetryErrorLabel"), QStringLiteral("3"));
    QCOMPARE(LabelText("CheckSumErrorLabel"), QStringLiteral("41"));
  }

  void closingClearsTheLinkErrorCounts_data() {
    QTest::addColumn<CloseBy>("closeBy");
    QTest::newRow("Close button") << CloseBy::Button;
    QTest::newRow("Esc") << CloseBy::Escape;
    QTest::newRow("close box") << CloseBy::CloseBox;
  }

  void closingClearsTheLinkErrorCounts() {
    QFETCH(CloseBy, closeBy);
    Link().Receive(BadChecksumFrame);
    Link().Receive(BadChecksumFrame);
    QCOMPARE(Link().Counters().checksumErrorCount, 2);
    Form().ShowCounts(Link().Counters().retryCount, Link().Counters().checksumErrorCount);
    Form().show();
    QVERIFY(Form().isVisible());

    switch (closeBy) {
      case CloseBy::Button:
        QTest::mouseClick(Form().findChild<QPushButton*>(QStringLiteral("CloseBtn")), Qt::LeftButton);
        break;
      case CloseBy::Escape:
        QTest::keyClick(&Form(), Qt::Key_Escape);
        break;
      case CloseBy::CloseBox:
        QVERIFY(Form().close());
        break;
    }

    QVERIFY(!Form().isVisible());
    QCOMPARE(Link().Counters().checksumErrorCount, 0);
    QCOMPARE(Link().Counters().retryCount, 0);
    QCOMPARE(LabelText("CheckSumErrorLabel"), QStringLiteral("0"));
  }

  void hidingWithTheOtherWindowsKeepsTheCounts() {
    Link().Receive(BadChecksumFrame);
    Form().show();
    app_->HideSecondaryWindows();
    QVERIFY(!Form().isVisible());
    QCOMPARE(Link().Counters().checksumErrorCount, 1);
    Link().ClearErrorCounters();
  }
};

QTEST_MAIN(CommunicationErrorFormTest)
#include "communication_error_form_test.moc"
