#pragma once

#include <QListWidget>
#include <vector>

#include "review/program_checker.h"

namespace qd::gui {

// A short list of checker findings, errors first, each with its severity icon; "No findings" when there
// are none. Activating a finding that concerns a line asks for that line.
class FindingsList : public QListWidget {
  Q_OBJECT

 public:
  explicit FindingsList(QWidget* parent, int visibleRows = 4);

  // Shows the findings, errors first; nothing changes when they are the ones shown.
  void ShowFindings(const std::vector<qd::review::Finding>& findings);
  const std::vector<qd::review::Finding>& Findings() const { return findings_; }

  // "Line 5: ..." inside a program editor, the whole place elsewhere.
  void SetShowWholePlace(bool whole) { wholePlace_ = whole; }

 signals:
  void LineChosen(int lineIndex);

 private:
  QString ItemText(const qd::review::Finding& finding) const;

  std::vector<qd::review::Finding> findings_;
  bool wholePlace_ = false;
  bool shown_ = false;
};

}  // namespace qd::gui
