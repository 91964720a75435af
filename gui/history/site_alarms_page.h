#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "history/site_read.h"

class QLabel;
class QTableWidget;

namespace qd::gui {

// Every alarm the history keeps of one site, newest first, and how many came since the previous contact.
class SiteAlarmsPage : public QWidget {
  Q_OBJECT

 public:
  explicit SiteAlarmsPage(QWidget* parent);

  // `alarms` oldest first; `previousContact` as the site's record has it (empty after one read).
  void ShowAlarms(const std::vector<qd::history::AlarmEvent>& alarms, const std::string& previousContact);
  void Clear();

  QWidget* FirstInTabOrder() const;

 private:
  QLabel* AlarmCountLabel = nullptr;
  QTableWidget* AlarmGrid = nullptr;
};

}  // namespace qd::gui
