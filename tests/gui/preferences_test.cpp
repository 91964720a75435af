#include "gui/app/preferences.h"

#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/app/app.h"
#include "gui/app/login_form.h"
#include "gui/app/main_form.h"
#include "gui/firmware/firmware_update_form.h"
#include "gui/link/communication_form.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;

namespace {

// The preferences as the first activation takes them, from values stored before the start.
struct Started {
  explicit Started(const QVariantMap& stored) {
    for (auto it = stored.begin(); it != stored.end(); ++it)
      preferences.Set(it.key(), it.value());
    app = std::make_unique<App>(QStringList{QStringLiteral("qdsystem")});
    app->Main().MainTimer100ms().stop();
    constructorPos = app->Main().pos();
    designSize = app->Main().size();
    app->Main().FormActivate();
  }

  TemporaryPreferences preferences;
  std::unique_ptr<App> app;
  QPoint constructorPos;
  QSize designSize;
};

// The numbers and texts the App restores, set in a fresh INI file.
QVariantMap AllValues() {
  return {{QStringLiteral("Width"), 900},
          {QStringLiteral("Height"), 300},
          {QStringLiteral("Left"), 40},
          {QStringLiteral("Top"), 30},
          {QStringLiteral("LastSystemFileName"), QStringLiteral("/data/laundry.xml")},
          {QStringLiteral("ComPort"), QStringLiteral("COM7")},
          {QStringLiteral("CommLocal"), 0},
          {QStringLiteral("LastFirmwareFile1"), QStringLiteral("/data/qd310.hex")},
          {QStringLiteral("LoginCode"), QStringLiteral("ABCDEFGH")},
          {QStringLiteral("GatewayServer"), QStringLiteral("gateway.example.com")}};
}

}  // namespace

class PreferencesTest : public QObject {
  Q_OBJECT

 private slots:
  // ReadPreferences and WritePreferences on their own, on an INI file.
  void ReadingRaisesSizesAndNeedsBothCorners() {
    QTemporaryDir folder;
    QSettings store(folder.filePath(QStringLiteral("p.ini")), QSettings::IniFormat);
    store.setValue(QStringLiteral("Width"), 600);
    store.setValue(QStringLiteral("Height"), 10);
    store.setValue(QStringLiteral("Left"), 12);
    StoredPreferences read = ReadPreferences(store);
    QCOMPARE(read.width, std::optional<int>(800));
    QCOMPARE(read.height, std::optional<int>(50));
    QVERIFY(!read.topLeft);
    QVERIFY(!read.lastSystemFileName);

    store.setValue(QStringLiteral("Top"), -5);
    store.setValue(QStringLiteral("Width"), 1200);
    read = ReadPreferences(store);
    QCOMPARE(read.width, std::optional<int>(1200));
    QCOMPARE(read.topLeft, std::optional<QPoint>(QPoint(12, -5)));
  }

  void ReadingStopsAtTheFirstBadValue() {
    QTemporaryDir folder;
    QSettings store(folder.filePath(QStringLiteral("p.ini")), QSettings::IniFormat);
    store.setValue(QStringLiteral("Width"), 900);
    store.setValue(QStringLiteral("Height"), QStringLiteral("abc"));
    store.setValue(QStringLiteral("Left"), 1);
    store.setValue(QStringLiteral("Top"), 2);
    store.setValue(QStringLiteral("LastSystemFileName"), QStringLiteral("a.xml"));
    StoredPreferences read = ReadPreferences(store);
    QCOMPARE(read.width, std::optional<int>(900));
    QVERIFY(!read.height);
    QVERIFY(!read.topLeft);
    QVERIFY(!read.lastSystemFileName);

    // Without "CommLocal" the reading ends there: the port comes back, the firmware file and code do not.
    store.setValue(QStringLiteral("Height"), 400);
    store.setValue(QStringLiteral("ComPort"), QStringLiteral("COM3"));
    store.setValue(QStringLiteral("LastFirmwareFile1"), QStringLiteral("f.hex"));
    store.setValue(QStringLiteral("LoginCode"), QStringLiteral("CODE"));
    read = ReadPreferences(store);
    QCOMPARE(read.height, std::optional<int>(400));
    QCOMPARE(read.lastSystemFileName, std::optional<QString>(QStringLiteral("a.xml")));
    QCOMPARE(read.comPort, std::optional<QString>(QStringLiteral("COM3")));
    QVERIFY(!read.commLocal);
    QVERIFY(!read.lastFirmwareFile);
    QVERIFY(!read.loginCode);

    // A "CommLocal" that is not a number stops the reading the same way.
    store.setValue(QStringLiteral("CommLocal"), QStringLiteral("yes"));
    read = ReadPreferences(store);
    QVERIFY(!read.commLocal);
    QVERIFY(!read.lastFirmwareFile);

    store.setValue(QStringLiteral("CommLocal"), 1);
    read = ReadPreferences(store);
    QCOMPARE(read.commLocal, std::optional<bool>(true));
    QCOMPARE(read.lastFirmwareFile, std::optional<QString>(QStringLiteral("f.hex")));
    QCOMPARE(read.loginCode, std::optional<QString>(QStringLiteral("CODE")));

    // A list where a text belongs is the wrong type too.
    store.setValue(QStringLiteral("LastFirmwareFile1"),
                   QStringList{QStringLiteral("a"), QStringLiteral("b")});
    read = ReadPreferences(store);
    QCOMPARE(read.commLocal, std::optional<bool>(true));
    QVERIFY(!read.lastFirmwareFile);
    QVERIFY(!read.loginCode);
  }

  void WritingStoresEveryValueWithItsType() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("p.ini"));
    PreferencesToWrite values;
    values.lastSystemFileName = QStringLiteral("/x/y.xml");
    values.commLocal = true;
    values.comPort = QStringLiteral("COM4");
    values.lastFirmwareFile = QStringLiteral("/x/fw, v2.hex");
    values.loginCode = QStringLiteral("K1");
    values.width = 1024;
    values.height = 70;
    values.left = -8;
    values.top = 3;
    values.gatewayServer = QStringLiteral("127.0.0.1:14011");
    {
      QSettings store(path, QSettings::IniFormat);
      WritePreferences(store, values);
    }
    QFile file(path);
    // It holds the login code: readable by its owner only.
    QCOMPARE(file.permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    for (const char* line :
         {"LastSystemFileName=/x/y.xml", "CommLocal=1", "ComPort=COM4", "LoginCode=K1", "Width=1024",
          "Height=70", "Left=-8", "Top=3", "GatewayServer=127.0.0.1:14011"}) {
      QVERIFY2(text.contains(line), line);
    }

    // What was written reads back.
    QSettings store(path, QSettings::IniFormat);
    const StoredPreferences read = ReadPreferences(store);
    QCOMPARE(read.width, std::optional<int>(1024));
    QCOMPARE(read.topLeft, std::optional<QPoint>(QPoint(-8, 3)));
    QCOMPARE(read.commLocal, std::optional<bool>(true));
    QCOMPARE(read.lastFirmwareFile, std::optional<QString>(QStringLiteral("/x/fw, v2.hex")));
    QCOMPARE(read.loginCode, std::optional<QString>(QStringLiteral("K1")));
  }

  // The same rules through the program's start and close.
  void StartWithoutPreferences() {
    Started s({});
    TMainForm& main = s.app->Main();
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(main.pos(), QPoint((work.width() - main.width()) / 2, 0));
    QCOMPARE(main.size(), s.designSize);
    TCommunicationForm& comm = s.app->Communication();
    qd::transport::Connection& link = s.app->Connection();
    QCOMPARE(comm.GatewayServerText(), QString());
    QCOMPARE(comm.ComPortText(), QStringLiteral("COM1"));
    QVERIFY(!comm.LocalSelected());
    QVERIFY(!comm.findChild<QRadioButton*>(QStringLiteral("RemoteBtn"))->isChecked());
    QVERIFY(!link.Port().IsOpen());
    QCOMPARE(s.app->Login().Code(), QStringLiteral("KMWPLTRS"));
    QCOMPARE(main.LastSystemFileName(), QString());
    QCOMPARE(s.app->FirmwareUpdate().LastFirmwareFile(), QString());
  }

  void SmallSizesAreRaisedAndOneCornerIsIgnored() {
    Started s({{QStringLiteral("Width"), 600}, {QStringLiteral("Height"), 10}, {QStringLiteral("Left"), 5}});
    TMainForm& main = s.app->Main();
    QCOMPARE(main.width(), 800);
    QCOMPARE(main.height(), 50);
    QCOMPARE(main.pos(), s.constructorPos);
  }

  void AWrongTypeStopsTheReading() {
    QVariantMap stored = AllValues();
    stored[QStringLiteral("Height")] = QStringLiteral("abc");
    Started s(stored);
    TMainForm& main = s.app->Main();
    QCOMPARE(main.width(), 900);
    QCOMPARE(main.height(), s.designSize.height());
    QCOMPARE(main.pos(), s.constructorPos);
    QCOMPARE(main.LastSystemFileName(), QString());
    QCOMPARE(s.app->Communication().ComPortText(), QStringLiteral("COM1"));
    QCOMPARE(s.app->Login().Code(), QStringLiteral("KMWPLTRS"));
  }

  void MissingCommLocalStopsAfterThePort() {
    QVariantMap stored = AllValues();
    stored.remove(QStringLiteral("CommLocal"));
    Started s(stored);
    QCOMPARE(s.app->Main().LastSystemFileName(), QStringLiteral("/data/laundry.xml"));
    QCOMPARE(s.app->Communication().ComPortText(), QStringLiteral("COM7"));
    QVERIFY(!s.app->Communication().LocalSelected());
    QVERIFY(!s.app->Communication().findChild<QRadioButton*>(QStringLiteral("RemoteBtn"))->isChecked());
    QCOMPARE(s.app->FirmwareUpdate().LastFirmwareFile(), QString());
    QCOMPARE(s.app->Login().Code(), QStringLiteral("KMWPLTRS"));
  }

  void AllValuesAreRestoredButTheGateway() {
    Started s(AllValues());
    TMainForm& main = s.app->Main();
    QCOMPARE(main.size(), QSize(900, 300));
    QCOMPARE(main.pos(), QPoint(40, 30));
    QCOMPARE(main.LastSystemFileName(), QStringLiteral("/data/laundry.xml"));
    TCommunicationForm& comm = s.app->Communication();
    QCOMPARE(comm.ComPortText(), QStringLiteral("COM7"));
    QVERIFY(!comm.LocalSelected());
    QVERIFY(comm.findChild<QRadioButton*>(QStringLiteral("RemoteBtn"))->isChecked());
    QCOMPARE(comm.GatewayServerText(), QString());
    QCOMPARE(s.app->FirmwareUpdate().LastFirmwareFile(), QStringLiteral("/data/qd310.hex"));
    QCOMPARE(s.app->Login().Code(), QStringLiteral("ABCDEFGH"));

    // "CommLocal" 1 selects the local mode.
    QVariantMap local = AllValues();
    local[QStringLiteral("CommLocal")] = 1;
    Started l(local);
    QVERIFY(l.app->Communication().LocalSelected());
    QVERIFY(l.app->Connection().LocalMode());
  }

  // Without a window manager the window may never become active: the first show reads the preferences,
  // so that the close does not overwrite them with the defaults.
  void TheFirstShowReadsThemWithoutAnActivation() {
    TemporaryPreferences preferences;
    preferences.Set(QStringLiteral("LastSystemFileName"), QStringLiteral("a.xml"));
    preferences.Set(QStringLiteral("ComPort"), QStringLiteral("COM5"));
    App app(QStringList{QStringLiteral("qdsystem")});
    app.Main().MainTimer100ms().stop();
    app.Main().show();
    QVERIFY(!app.Main().isActiveWindow());
    QCOMPARE(app.Communication().ComPortText(), QStringLiteral("COM5"));
    QCOMPARE(app.Main().windowTitle(), QStringLiteral("QD System, Version: 3.17,  Miele Ethernet"));
    app.Main().close();
    QCOMPARE(preferences.Get(QStringLiteral("ComPort")).toString(), QStringLiteral("COM5"));
  }

  void ClosingWritesThePreferences() {
    Started s({});
    TMainForm& main = s.app->Main();
    main.show();
    TCommunicationForm& comm = s.app->Communication();
    comm.SetComPortText(QStringLiteral("COM9"));
    comm.SetLinkMode(false);
    comm.SetGatewayServerText(QStringLiteral("gw.example.net"));
    s.app->FirmwareUpdate().SetLastFirmwareFile(QStringLiteral("/fw/trigger.hex"));
    s.app->Login().SetCode(QStringLiteral("LOGIN1"));
    ScriptedUser user;
    const QString saved = s.preferences.FolderPath() + QStringLiteral("/saved.xml");
    user.ChooseFile(saved);
    main.SaveSystemBtnClick();
    main.resize(1010, 120);
    main.move(33, 44);
    const QSize size = main.size();
    const QPoint pos = main.pos();

    QVERIFY(!s.preferences.Contains(QStringLiteral("Width")));
    QVERIFY(main.close());
    QCOMPARE(s.preferences.Get(QStringLiteral("LastSystemFileName")).toString(), saved);
    QCOMPARE(s.preferences.Get(QStringLiteral("CommLocal")).toString(), QStringLiteral("0"));
    QCOMPARE(s.preferences.Get(QStringLiteral("ComPort")).toString(), QStringLiteral("COM9"));
    QCOMPARE(s.preferences.Get(QStringLiteral("LastFirmwareFile1")).toString(),
             QStringLiteral("/fw/trigger.hex"));
    QCOMPARE(s.preferences.Get(QStringLiteral("LoginCode")).toString(), QStringLiteral("LOGIN1"));
    QCOMPARE(s.preferences.Get(QStringLiteral("Width")).toString(), QString::number(size.width()));
    QCOMPARE(s.preferences.Get(QStringLiteral("Height")).toString(), QString::number(size.height()));
    QCOMPARE(s.preferences.Get(QStringLiteral("Left")).toString(), QString::number(pos.x()));
    QCOMPARE(s.preferences.Get(QStringLiteral("Top")).toString(), QString::number(pos.y()));
    QCOMPARE(s.preferences.Get(QStringLiteral("GatewayServer")).toString(), QStringLiteral("gw.example.net"));

    // The next start takes them back; the gateway is offered, not chosen.
    App next(QStringList{QStringLiteral("qdsystem")});
    next.Main().MainTimer100ms().stop();
    next.Main().FormActivate();
    QCOMPARE(next.Main().LastSystemFileName(), saved);
    QCOMPARE(next.Main().pos(), pos);
    QCOMPARE(next.Main().size(), size);
    QCOMPARE(next.Communication().ComPortText(), QStringLiteral("COM9"));
    QVERIFY(next.Communication().findChild<QRadioButton*>(QStringLiteral("RemoteBtn"))->isChecked());
    QCOMPARE(next.Login().Code(), QStringLiteral("LOGIN1"));
    QCOMPARE(next.Communication().GatewayServerText(), QString());
    const auto* hosts =
        next.Communication().findChild<QComboBox*>(QStringLiteral("GatewayServerAddressCombo"));
    QCOMPARE(hosts->itemText(0), QStringLiteral("gw.example.net"));
    // Closed again without connecting: the host is still remembered.
    next.Main().close();
    QCOMPARE(s.preferences.Get(QStringLiteral("GatewayServer")).toString(), QStringLiteral("gw.example.net"));
  }
};

QTEST_MAIN(PreferencesTest)
#include "preferences_test.moc"
