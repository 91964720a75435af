#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "app/diagnostic_log.h"
#include "gui/app/about_form.h"
#include "gui/app/app.h"
#include "gui/app/file_dialog.h"
#include "gui/app/login_form.h"
#include "gui/app/main_form.h"
#include "gui/app/message_dialog.h"
#include "gui/app/text_codec.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;

namespace {

// Runs `act` on the modal window that the next call opens, once its event loop runs.
void OnModal(const std::function<void(QWidget*)>& act) {
  QTimer::singleShot(0, [act] { act(QApplication::activeModalWidget()); });
}

QString LabelText(const QWidget* window, const char* name) {
  const auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
  return label != nullptr ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the Login window showed when it opened, and the code in effect after `act` closed it.
struct LoginRun {
  QString shown;
  bool focused = false;
  bool closed = false;  // by `act`
  QString code;
};

LoginRun RunLogin(TLoginForm& login, const std::function<void(QDialog*, QLineEdit*)>& act) {
  LoginRun run;
  OnModal([&](QWidget* w) {
    auto* dialog = qobject_cast<QDialog*>(w);
    auto* edit = w != nullptr ? w->findChild<QLineEdit*>(QStringLiteral("CodeEdit")) : nullptr;
    if (dialog == nullptr || edit == nullptr) {
      if (w != nullptr) w->close();
      return;
    }
    run.shown = edit->text();
    run.focused = dialog->focusWidget() == edit;
    act(dialog, edit);
    run.closed = !dialog->isVisible();
    if (!run.closed) dialog->close();
  });
  login.exec();
  run.code = login.Code();
  return run;
}

}  // namespace

class AppShellTest : public QObject {
  Q_OBJECT

 private slots:
  void LoginShowsAnEmptyFieldAndKeepsWhatIsTyped() {
    TLoginForm login;
    QCOMPARE(login.windowTitle(), QStringLiteral("Login"));
    QCOMPARE(login.Code(), QStringLiteral("KMWPLTRS"));
    QCOMPARE(LabelText(&login, "Label1"), QStringLiteral("Login code"));
    QCOMPARE(login.findChild<QLabel*>(QStringLiteral("Label1"))->buddy(),
             login.findChild<QLineEdit*>(QStringLiteral("CodeEdit")));

    LoginRun run = RunLogin(login, [](QDialog* dialog, QLineEdit* edit) {
      QTest::keyClicks(edit, QStringLiteral("ABC 12 "));
      dialog->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
    });
    QCOMPARE(run.shown, QString());
    QVERIFY(run.focused);
    QVERIFY(run.closed);
    QCOMPARE(run.code, QStringLiteral("ABC 12"));

    // Blanks and control characters go at both ends; Escape keeps the text, as there is no cancel.
    run = RunLogin(login, [](QDialog* dialog, QLineEdit* edit) {
      edit->setText(QStringLiteral(" \t\x01XY Z\x7F\x02 "));
      QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QVERIFY(run.closed);
    QCOMPARE(run.shown, QString());
    QCOMPARE(run.code, QStringLiteral("XY Z\x7F"));

    // Closing at once leaves no code.
    run = RunLogin(login, [](QDialog* dialog, QLineEdit*) { dialog->close(); });
    QCOMPARE(run.shown, QString());
    QCOMPARE(run.code, QString());
  }

  void AboutShowsVersionAndBuildTime() {
    TAboutForm about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QCOMPARE(LabelText(&about, "VersionLabel"), QStringLiteral("Version: 3.17"));
    const QRegularExpression created(
        QStringLiteral("^Created: [A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4}  [0-2][0-9]:[0-5][0-9]:[0-5][0-9]$"));
    QVERIFY2(created.match(LabelText(&about, "CreatedLabel")).hasMatch(),
             qPrintable(LabelText(&about, "CreatedLabel")));
    bool titleShown = false;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
      titleShown |= label->text() == QStringLiteral("PC tool for QD310 dispenser system");
    }
    QVERIFY(titleShown);
    QCOMPARE(about.findChild<QPushButton*>(QStringLiteral("CloseBtn"))->text(), QStringLiteral("Close"));

    // Close and Escape both end the modal box.
    bool shown = false;
    OnModal([&](QWidget* w) {
      shown = w == &about;
      if (auto* close = w->findChild<QPushButton*>(QStringLiteral("CloseBtn"))) close->click();
    });
    about.exec();
    QVERIFY(shown);
    QVERIFY(!about.isVisible());
    bool escaped = false;
    OnModal([&](QWidget* w) {
      QTest::keyClick(w, Qt::Key_Escape);
      escaped = !w->isVisible();
      if (!escaped) w->close();
    });
    about.exec();
    QVERIFY(escaped);
  }

  void MessageDialogIsLoggedAndShown() {
    QTemporaryDir folder;
    qd::DiagnosticLog& log = qd::DiagnosticLog::Instance();
    QVERIFY(log.Start({PathOf(folder.filePath(QStringLiteral("qdsystem"))), {}}, 3, 17));

    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    OnModal([&](QWidget* w) {
      if (auto* box = qobject_cast<QMessageBox*>(w)) {
        text = box->text();
        buttons = box->standardButtons();
        icon = box->icon();
      }
      QTest::keyClick(w, Qt::Key_Escape);
    });
    const QString message = QStringLiteral("Unsaved program data, update before save?");
    // Escape is Cancel.
    QCOMPARE(ShowMessageDialog(message, DialogType::Warning,
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel),
             QMessageBox::Cancel);
    QCOMPARE(text, message);
    QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(icon, QMessageBox::Warning);

    // The boxes shown directly are not logged.
    OnModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    QCOMPARE(ShowMessageBox(QStringLiteral("Not logged"), DialogType::Error), QMessageBox::Ok);

    log.Stop();
    const QString logText =
        QString::fromLatin1(FileBytes(folder.filePath(QStringLiteral("Log.qdsystem.txt"))));
    QVERIFY2(logText.contains(QStringLiteral("> MsgDialog: Unsaved program data, update before save?")),
             qPrintable(logText));
    QVERIFY(!logText.contains(QStringLiteral("Not logged")));
  }

  void TheProgramStartsItsLogWithItsVersion() {
    TemporaryPreferences preferences;
    App app(QStringList{QStringLiteral("qdsystem")});
    const qd::DiagnosticLog& log = qd::DiagnosticLog::Instance();
    const QString path = QString::fromStdString(log.Path().string());
    const QString lastEntry = QString::fromLatin1(FileBytes(path)).section(QLatin1Char('\n'), -1);
    QVERIFY2(lastEntry.contains(QStringLiteral(" loaded, Compile date: ")), qPrintable(lastEntry));
    QVERIFY2(lastEntry.endsWith(QStringLiteral(", Version: 3.17")), qPrintable(lastEntry));
  }

  void FileDialogsTakeTheirSettings() {
    QTemporaryDir folder;
    FileDialogRequest open;
    open.kind = FileDialogRequest::Kind::Open;
    open.title = QStringLiteral("Load system data");
    open.filter = QStringLiteral("XML-file (*.xml)|*.xml|Any file (*.*)|*.*");
    open.defaultSuffix = QStringLiteral("xml");
    open.fileName = folder.filePath(QStringLiteral("old.xml"));
    QString title;
    QStringList filters;
    QStringList selected;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
    OnModal([&](QWidget* w) {
      if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        selected = dialog->selectedFiles();
        mode = dialog->acceptMode();
      }
      w->close();
    });
    QCOMPARE(AskFileName(open), QString());
    QCOMPARE(title, open.title);
    QCOMPARE(filters, (QStringList{QStringLiteral("XML-file (*.xml)"), QStringLiteral("Any file (*)")}));
    QCOMPARE(selected, QStringList{open.fileName});
    QCOMPARE(mode, QFileDialog::AcceptOpen);

    // A name typed without an extension gets the default one.
    FileDialogRequest save = open;
    save.kind = FileDialogRequest::Kind::Save;
    save.filter = QStringLiteral("XML-file|*.xml|Any file|*.*");
    OnModal([&](QWidget* w) {
      if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
        filters = dialog->nameFilters();
        dialog->selectFile(folder.filePath(QStringLiteral("new")));
        static_cast<QDialog*>(dialog)->accept();
      }
      if (w->isVisible()) w->close();
    });
    QCOMPARE(AskFileName(save), folder.filePath(QStringLiteral("new.xml")));
    QCOMPARE(filters, (QStringList{QStringLiteral("XML-file (*.xml)"), QStringLiteral("Any file (*)")}));
  }

  void TextCodecIsWindows1252() {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
      all.push_back(static_cast<char>(byte));
    const QString text = FromCp1252(all);
    QCOMPARE(text.size(), qsizetype{256});
    QCOMPARE(ToCp1252(text), all);
    QCOMPARE(FromCp1252("\x80\x9F\xE9"), QStringLiteral("\u20AC\u0178\u00E9"));
    // What the code page cannot hold becomes '?': one for a surrogate pair, one for the code points
    // 0x80..0x9F that the code page gives to other characters.
    QCOMPARE(ToCp1252(QStringLiteral("a\u65E5\U0001F600\u0080\u0081b")), std::string("a???\x81"
                                                                                     "b"));
  }
};

QTEST_MAIN(AppShellTest)
#include "app_shell_test.moc"
