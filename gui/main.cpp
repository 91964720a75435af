#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "gui/app/app.h"
#include "gui/app/main_form.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("QDsystem"));
  QApplication::setOrganizationName(QStringLiteral("Kestrelon"));
  try {
    qd::gui::App app(QApplication::arguments());
    app.Main().show();
    return QApplication::exec();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, QStringLiteral("QDsystem"), QString::fromLocal8Bit(error.what()));
    return 1;
  }
}
