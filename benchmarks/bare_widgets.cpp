// The baseline of the start-up and memory benchmarks: a bare Qt Widgets program whose main window has
// qdsystem's menu bar and status bar and nothing else. It answers QDSYSTEM_STARTUP_PROBE=1 as qdsystem
// does: one line "main window shown: N ms after main" once the window has painted, then it quits.
//
// usage: bare_widgets
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>

#include "gui/app/startup_probe.h"

namespace {

constexpr int MachineCount = 10;
constexpr int DesignWidth = 1000;

void CreateMenus(QMainWindow& window) {
  QMenuBar* bar = window.menuBar();
  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  for (const char* caption :
       {"Login...", "New System...", "Load System...", "Save System...", "Firmware update, QD310...",
        "Firmware update, Trigger...", "Print service report..."})
    file->addAction(QString::fromLatin1(caption));
  QObject::connect(file->addAction(QStringLiteral("Exit")), &QAction::triggered, &window, &QWidget::close);

  QMenu* setup = bar->addMenu(QStringLiteral("&System"));
  for (const char* caption :
       {"Read/write system data...", "System setup...", "Communication...", "Log data...", "Alarm log..."})
    setup->addAction(QString::fromLatin1(caption));
  setup->addSeparator();
  setup->addAction(QStringLiteral("Copy Machine..."));
  QMenu* clear = setup->addMenu(QStringLiteral("Clear Machine"));
  for (int tag = 1; tag <= MachineCount; ++tag)
    clear->addAction(QStringLiteral("Machine %1").arg(tag));
  clear->addAction(QStringLiteral("All"));

  for (int tag = 1; tag <= MachineCount; ++tag)
    bar->addAction(QStringLiteral("Machine %1...").arg(tag));
  QMenu* compare = bar->addMenu(QStringLiteral("&Compare"));
  for (const char* caption : {"Compare with controller...", "Compare with file...", "Compare with backup..."})
    compare->addAction(QString::fromLatin1(caption));
  bar->addAction(QStringLiteral("&Help"));
}

void CreateStatusBar(QMainWindow& window) {
  constexpr std::array<int, 4> widths = {110, 160, 220, 0};
  for (const int width : widths) {
    auto* panel = new QLabel(&window);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setContentsMargins(4, 0, 4, 0);
    if (width > 0) panel->setMinimumWidth(width);
    window.statusBar()->addWidget(panel, width > 0 ? 0 : 1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer sinceMain;
  sinceMain.start();
  QApplication application(argc, argv);
  QMainWindow window;
  CreateMenus(window);
  CreateStatusBar(window);
  window.setCentralWidget(new QWidget(&window));
  // The size qdsystem's main window takes: a strip of menus and status panels.
  window.ensurePolished();
  window.resize(std::max(DesignWidth, window.menuBar()->sizeHint().width()),
                window.minimumSizeHint().height());
  if (qd::gui::StartupProbe::Wanted()) new qd::gui::StartupProbe(window, sinceMain);
  window.show();
  return QApplication::exec();
}
