#include "gui/link/remote_login_form.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <numeric>
#include <optional>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "support/gui_test_support.h"

using qd::gui::TRemoteLoginForm;
using qd::link::Credentials;
using qd::link::SystemChoice;
using qd::link::SystemEntry;
using qd::link::SystemList;

namespace {

SystemList ListOf(std::initializer_list<SystemEntry> entries) {
  SystemList list;
  for (const SystemEntry& entry : entries)
    list.Add(entry);
  return list;
}

// Three systems; the second has a name with a windows-1252 letter (0xE4).
SystemList ThreeSystems() {
  return ListOf({{"12", "Laundry North", "-", "10.0.0.12"},
                 {"0034",
                  "W\xE4scherei S\xFC"
                  "d",
                  "tech1", "10.0.0.34"},
                 {"56", "Hotel", "-", "Offline"}});
}

// Runs `action` once the modal window is open, then closes it if the action left it open, so a
// failing test never hangs in exec().
void WhenOpen(TRemoteLoginForm& form, std::function<void()> action) {
  QTimer::singleShot(0, &form, [&form, action = std::move(action)] {
    qd::gui::test::WaitUntil([&form] { return form.isVisible(); });
    action();
    if (form.isVisible()) form.reject();
  });
}

}  // namespace

class RemoteLoginFormTest : public QObject {
  Q_OBJECT

 private:
  TRemoteLoginForm& Form() { return app_->RemoteLogin(); }
  template <typename T>
  T* Child(const char* name) {
    return Form().findChild<T*>(QString::fromLatin1(name));
  }
  QTableWidget* Grid() { return Child<QTableWidget>("SystemsStringGrid"); }

  std::unique_ptr<qd::gui::test::TemporaryPreferences> preferences_;
  std::unique_ptr<qd::gui::App> app_;

 private slots:
  void initTestCase() {
    preferences_ = std::make_unique<qd::gui::test::TemporaryPreferences>();
    app_ = std::make_unique<qd::gui::App>(QStringList{QStringLiteral("qdsystem")});
    app_->Main().MainTimer100ms().stop();
  }

  void cleanup() { qd::gui::SetRemoteLoginAnswerer({}); }

  void cleanupTestCase() {
    app_.reset();
    preferences_.reset();
  }

  void controlsAreLabelledAndTheGridIsARowPicker() {
    QCOMPARE(Form().windowTitle(), QStringLiteral("Remote login"));
    QCOMPARE(Child<QLabel>("UserNameLabel")->text(), QStringLiteral("User name"));
    QCOMPARE(Child<QLabel>("UserNameLabel")->buddy(), Child<QLineEdit>("UserNameEdit"));
    QCOMPARE(Child<QLabel>("PasswordLabel")->text(), QStringLiteral("Password"));
    QCOMPARE(Child<QLabel>("PasswordLabel")->buddy(), Child<QLineEdit>("PasswordEdit"));
    QCOMPARE(Child<QLineEdit>("PasswordEdit")->echoMode(), QLineEdit::Password);
    QCOMPARE(Child<QGroupBox>("SystemGridGroupBox")->title(), QStringLiteral(" Dispenser systems "));
    QCOMPARE(Child<QPushButton>("OKbtn")->text(), QStringLiteral("OK"));
    QVERIFY(Child<QPushButton>("OKbtn")->isDefault());
    QCOMPARE(Child<QPushButton>("CancelBtn")->text(), QStringLiteral("Cancel"));

    QTableWidget* grid = Grid();
    QCOMPARE(grid->columnCount(), 5);
    const QStringList headers = {QStringLiteral(" No."), QStringLiteral(" Serial"),
                                 QStringLiteral(" System name"), QStringLiteral(" In use"),
                                 QStringLiteral(" IP address")};
    for (int column = 0; column < 5; ++column)
      QCOMPARE(grid->horizontalHeaderItem(column)->text(), headers[column]);
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(grid->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  }

  void listFillsRowsAndClearingLeavesOneEmptyRow() {
    Form().ShowSystems(ThreeSystems());
    QTableWidget* grid = Grid();
    QCOMPARE(Form().EntryCount(), 3);
    QCOMPARE(grid->rowCount(), 3);
    const QStringList second = {QStringLiteral("   2"), QStringLiteral("0034"),
                                QString::fromUtf8("W\u00e4scherei S\u00fcd"), QStringLiteral("tech1"),
                                QStringLiteral("10.0.0.34")};
    for (int column = 0; column < 5; ++column)
      QCOMPARE(grid->item(1, column)->text(), second[column]);
    QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("   3"));

    Form().ClearSystemList();
    QCOMPARE(Form().EntryCount(), 0);
    QCOMPARE(grid->rowCount(), 1);
    for (int column = 0; column < 5; ++column)
      QVERIFY(grid->item(0, column) == nullptr || grid->item(0, column)->text().isEmpty());

    // A shorter list after a longer one leaves no stale rows behind.
    Form().ShowSystems(ThreeSystems());
    Form().ShowSystems(ListOf({{"7", "Only", "-", "10.0.0.7"}}));
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("7"));
  }

  void modesShowTheirFieldsAndHeights() {
    struct Seen {
      TRemoteLoginForm::Mode mode;
      int height;
      bool userNameShown, passwordShown, gridShown;
      QString userName;
    };
    std::vector<Seen> seen;
    qd::gui::SetRemoteLoginAnswerer([&](TRemoteLoginForm& form) {
      seen.push_back(
          {form.CurrentMode(), form.height(), !Child<QLineEdit>("UserNameEdit")->isHidden(),
           !Child<QLineEdit>("PasswordEdit")->isHidden() && !Child<QLabel>("PasswordLabel")->isHidden(),
           !Child<QGroupBox>("SystemGridGroupBox")->isHidden(), Child<QLineEdit>("UserNameEdit")->text()});
      if (form.CurrentMode() == TRemoteLoginForm::Mode::Login)
        Child<QLineEdit>("UserNameEdit")->setText(QStringLiteral("service"));
      form.reject();
    });
    Form().AskLogin();
    Form().ChooseSystem(ThreeSystems());
    Form().AskLogin();

    QCOMPARE(seen.size(), 3u);
    for (int i : {0, 2}) {
      QCOMPARE(seen[i].mode, TRemoteLoginForm::Mode::Login);
      QCOMPARE(seen[i].height, TRemoteLoginForm::LoginHeight);
      QVERIFY(seen[i].userNameShown);
      QVERIFY(seen[i].passwordShown);
      QVERIFY(!seen[i].gridShown);
    }
    QCOMPARE(seen[1].mode, TRemoteLoginForm::Mode::Selection);
    QCOMPARE(seen[1].height, TRemoteLoginForm::SelectionHeight);
    QVERIFY(!seen[1].passwordShown);
    QVERIFY(seen[1].gridShown);
    // The user name fields keep their state in selection mode.
    QVERIFY(seen[1].userNameShown);
    QCOMPARE(seen[1].userName, QStringLiteral("service"));
  }

  void askLoginGivesTheTypedCredentialsOrNoneWhenCancelled() {
    qd::gui::SetRemoteLoginAnswerer([&](TRemoteLoginForm& form) {
      Child<QLineEdit>("UserNameEdit")->clear();
      Child<QLineEdit>("PasswordEdit")->clear();
      QTest::keyClicks(Child<QLineEdit>("UserNameEdit"), QStringLiteral("Tech 7"));
      // Letters beyond Latin-1 cannot be typed as key clicks.
      QTest::keyClicks(Child<QLineEdit>("PasswordEdit"), QStringLiteral("s3cret "));
      Child<QLineEdit>("PasswordEdit")->insert(QString::fromUtf8("\u00fc\u20ac\u4e2d"));
      form.OKbtnClick();
    });
    const std::optional<Credentials> login = Form().AskLogin();
    QVERIFY(login.has_value());
    // Sent as windows-1252: the u-umlaut and the euro sign have a byte, the CJK letter does not.
    QCOMPARE(login->user, std::string("Tech 7"));
    QCOMPARE(login->password, std::string("s3cret \xFC\x80?"));

    qd::gui::SetRemoteLoginAnswerer([&](TRemoteLoginForm&) { Child<QPushButton>("CancelBtn")->click(); });
    QVERIFY(!Form().AskLogin().has_value());

    // An answer that leaves the window open counts as cancelled.
    qd::gui::SetRemoteLoginAnswerer([](TRemoteLoginForm&) {});
    QVERIFY(!Form().AskLogin().has_value());
  }

  void askLoginRunsModallyWithEnterAndEscape() {
    WhenOpen(Form(), [&] {
      Child<QLineEdit>("UserNameEdit")->setText(QStringLiteral("tech"));
      Child<QLineEdit>("PasswordEdit")->setText(QStringLiteral("pw"));
      QTest::keyClick(Child<QLineEdit>("PasswordEdit"), Qt::Key_Return);
    });
    const std::optional<Credentials> login = Form().AskLogin();
    QVERIFY(login.has_value());
    QCOMPARE(login->user, std::string("tech"));
    QCOMPARE(login->password, std::string("pw"));

    WhenOpen(Form(), [&] { QTest::keyClick(&Form(), Qt::Key_Escape); });
    QVERIFY(!Form().AskLogin().has_value());
  }

  void thePasswordOfOneGatewayIsNotOfferedToAnother() {
    QString offered;
    qd::gui::SetRemoteLoginAnswerer([&](TRemoteLoginForm& form) {
      offered = Child<QLineEdit>("PasswordEdit")->text();
      Child<QLineEdit>("PasswordEdit")->setText(QStringLiteral("pw-a"));
      form.OKbtnClick();
    });
    Form().AskLogin(QStringLiteral("gateway-a"));
    Form().AskLogin(QStringLiteral("gateway-a"));
    QCOMPARE(offered, QStringLiteral("pw-a"));  // the same host: kept, as a retry needs
    Form().AskLogin(QStringLiteral("gateway-b"));
    QCOMPARE(offered, QString());
    qd::gui::SetRemoteLoginAnswerer({});
  }

  void okTakesOnlyAListedRowWithAWholeSerial() {
    const SystemList list =
        ListOf({{"x7", "Letters", "-", ""}, {"-3", "Negative", "-", ""}, {"12", "Good", "-", "10.0.0.1"}});
    std::vector<bool> closed;
    qd::gui::SetRemoteLoginAnswerer([&](TRemoteLoginForm& form) {
      auto tryOk = [&] {
        form.OKbtnClick();
        closed.push_back(form.result() == QDialog::Accepted);
      };
      Grid()->clearSelection();
      tryOk();
      for (int row : {0, 1}) {
        Grid()->selectRow(row);
        tryOk();
      }
      Grid()->selectRow(2);
      tryOk();
    });
    const std::optional<SystemChoice> choice = Form().ChooseSystem(list);
    QCOMPARE(closed, (std::vector<bool>{false, false, false, true}));
    QVERIFY(choice.has_value());
    QCOMPARE(*choice, (SystemChoice{"12", "Good"}));

    // The empty row of an empty list is no entry.
    qd::gui::SetRemoteLoginAnswerer([&](TRemoteLoginForm& form) {
      Grid()->selectRow(0);
      form.OKbtnClick();
    });
    QVERIFY(!Form().ChooseSystem(SystemList{}).has_value());
    QCOMPARE(Grid()->rowCount(), 1);
  }

  void chooseSystemGivesSerialAndNameOfTheRowAsListed() {
    qd::gui::SetRemoteLoginAnswerer([&](TRemoteLoginForm& form) {
      Grid()->selectRow(1);
      form.OKbtnClick();
    });
    std::optional<SystemChoice> choice = Form().ChooseSystem(ThreeSystems());
    QVERIFY(choice.has_value());
    QCOMPARE(*choice, (SystemChoice{"0034",
                                    "W\xE4scherei S\xFC"
                                    "d"}));

    // The first row is current when the window opens.
    qd::gui::SetRemoteLoginAnswerer([](TRemoteLoginForm& form) { form.OKbtnClick(); });
    choice = Form().ChooseSystem(ThreeSystems());
    QVERIFY(choice.has_value());
    QCOMPARE(choice->serial, std::string("12"));

    // A choice made earlier is forgotten when the window opens again and is cancelled.
    qd::gui::SetRemoteLoginAnswerer([](TRemoteLoginForm& form) { form.reject(); });
    QVERIFY(!Form().ChooseSystem(ThreeSystems()).has_value());
  }

  void doubleClickOnARowActsAsOk() {
    WhenOpen(Form(), [&] {
      QTableWidget* grid = Grid();
      const QRect cell = grid->visualRect(grid->model()->index(2, 2));
      // A double click arrives as press, release, double click.
      QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
      QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    });
    const std::optional<SystemChoice> choice = Form().ChooseSystem(ThreeSystems());
    QVERIFY(choice.has_value());
    QCOMPARE(*choice, (SystemChoice{"56", "Hotel"}));
  }

  void enterInTheGridActsAsOk() {
    const SystemList list =
        ListOf({{"12", "Good", "-", ""}, {"abc", "Bad", "-", ""}, {"99", "Last", "-", ""}});
    bool openAfterBadRow = false;
    WhenOpen(Form(), [&] {
      QTableWidget* grid = Grid();
      grid->setFocus();
      grid->selectRow(1);
      QTest::keyClick(grid, Qt::Key_Return);
      openAfterBadRow = Form().isVisible();
      grid->selectRow(2);
      QTest::keyClick(grid, Qt::Key_Enter, Qt::KeypadModifier);
    });
    const std::optional<SystemChoice> choice = Form().ChooseSystem(list);
    QVERIFY(openAfterBadRow);
    QVERIFY(choice.has_value());
    QCOMPARE(*choice, (SystemChoice{"99", "Last"}));
  }

  void nameColumnTakesTheRestOfTheGridWidth() {
    SystemList many;
    for (int i = 1; i <= 40; ++i)
      many.Add({std::to_string(i), "System", "-", "10.0.0.1"});
    constexpr int others = 40 + 50 + 75 + 140;
    std::vector<int> widths;
    bool fitted = true;
    WhenOpen(Form(), [&] {
      QTableWidget* grid = Grid();
      QHeaderView* header = grid->horizontalHeader();
      auto fits = [&] { return header->sectionSize(2) == grid->viewport()->width() - others; };
      fitted = qd::gui::test::WaitUntil(fits) && fitted;
      widths.push_back(header->sectionSize(2));
      Form().resize(Form().width() + 150, Form().height());
      fitted = qd::gui::test::WaitUntil(fits) && fitted;
      widths.push_back(header->sectionSize(2));
      for (int column : {0, 1, 3, 4})
        widths.push_back(header->sectionSize(column));
      fitted = fitted && grid->verticalScrollBar()->isVisible();
    });
    Form().ChooseSystem(many);
    QVERIFY(fitted);
    QCOMPARE(widths.size(), 6u);
    QCOMPARE(widths[1] - widths[0], 150);
    QCOMPARE((std::vector<int>(widths.begin() + 2, widths.end())), (std::vector<int>{40, 50, 75, 140}));
  }

  void selectionWindowKeepsItsBottomAboveTheScreenBottom() {
    QRect frame;
    QRect available;
    int height = 0;
    WhenOpen(Form(), [&] {
      frame = Form().frameGeometry();
      height = Form().height();
      available = Form().screen()->availableGeometry();
    });
    // Left low on the screen, the window comes up when it opens.
    Form().move(0, 10000);
    Form().ChooseSystem(ThreeSystems());
    QVERIFY(!available.isEmpty());
    QVERIFY2(frame.bottom() <= available.bottom() - TRemoteLoginForm::ScreenBottomMargin,
             qPrintable(QStringLiteral("frame %1..%2, screen bottom %3")
                            .arg(frame.top())
                            .arg(frame.bottom())
                            .arg(available.bottom())));
    QVERIFY(frame.top() >= available.top());
    QVERIFY(height > TRemoteLoginForm::LoginHeight && height <= TRemoteLoginForm::SelectionHeight);
  }

  void fitAboveScreenBottom_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("fitted");
    const QRect screen(0, 0, 1920, 1040);
    QTest::newRow("fits") << QRect(100, 100, 500, 600) << screen << QRect(100, 100, 500, 600);
    QTest::newRow("moved up") << QRect(100, 500, 500, 600) << screen << QRect(100, 390, 500, 600);
    QTest::newRow("exactly at the margin")
        << QRect(100, 390, 500, 600) << screen << QRect(100, 390, 500, 600);
    QTest::newRow("panel on top") << QRect(0, 500, 500, 600) << QRect(0, 40, 1024, 728)
                                  << QRect(0, 118, 500, 600);
    QTest::newRow("too tall: shortened, title bar on screen")
        << QRect(0, 100, 500, 600) << QRect(0, 0, 800, 600) << QRect(0, 0, 500, 550);
  }

  void fitAboveScreenBottom() {
    QFETCH(QRect, frame);
    QFETCH(QRect, available);
    QFETCH(QRect, fitted);
    QCOMPARE(qd::gui::FitAboveScreenBottom(frame, available, TRemoteLoginForm::ScreenBottomMargin), fitted);
  }
};

QTEST_MAIN(RemoteLoginFormTest)
#include "remote_login_form_test.moc"
