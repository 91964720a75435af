#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/app/startup_probe.h"

int main(int argc, char** argv) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("QDsystem"));
  QApplication::setOrganizationName(QStringLiteral("Kestrelon"));
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
