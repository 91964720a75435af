#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <exception>

#include "gui/app/app.h"
#include "gui/app/language.h"
#include "gui/app/main_form.h"
#include "gui/app/preferences.h"
#include "gui/app/startup_probe.h"
#include "qd_version.h"

int main(int argc, char** argv) {
  // Answered before QApplication, which would want a display.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("qdsystem %s\n", qd::version::Text);
      return 0;
    }
  }
  QElapsedTimer sinceMain;
  sinceMain.start();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("QDsystem"));
  QApplication::setOrganizationName(QStringLiteral("Kestrelon"));
  qd::gui::InstallLanguage(application, qd::gui::StoredLanguage(*qd::gui::OpenPreferences()));
  try {
    qd::gui::App app(QApplication::arguments());
    if (qd::gui::StartupProbe::Wanted()) new qd::gui::StartupProbe(app.Main(), sinceMain);
    app.Main().show();
    return QApplication::exec();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, QStringLiteral("QDsystem"), QString::fromLocal8Bit(error.what()));
    return 1;
  }
}
