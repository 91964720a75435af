#pragma once

#include <QDialog>
#include <QRect>
#include <array>
#include <functional>
#include <optional>

#include "link/gateway_session.h"

class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qd::gui {

class App;

// "Remote login": the gateway's user name and password (login mode), or the choice of a dispenser
// system from the gateway's list (selection mode).
class TRemoteLoginForm : public QDialog {
  Q_OBJECT

 public:
  enum class Mode { Login, Selection };
  static constexpr int LoginHeight = 200;
  static constexpr int SelectionHeight = 600;
  static constexpr int ScreenBottomMargin = 50;  // selection mode keeps its bottom this far up
  static constexpr int ColumnCount = 5;
  // Column 2 (the system name) takes what the others leave.
  static constexpr std::array<int, ColumnCount> ColumnWidths = {40, 50, 0, 75, 140};
  static constexpr int NameColumn = 2;

  explicit TRemoteLoginForm(App& app);

  // Modal. The user name and password as typed, or none when cancelled. The password typed for one
  // gateway host is not offered to another.
  std::optional<qd::link::Credentials> AskLogin(const QString& host = {});
  // Modal, over the systems listed. The chosen system, or none when cancelled.
  std::optional<qd::link::SystemChoice> ChooseSystem(const qd::link::SystemList& systems);

  // The grid with one empty row and no entries.
  void ClearSystemList();
  // The grid filled with the list's entries, one row each.
  void ShowSystems(const qd::link::SystemList& systems);

  Mode CurrentMode() const { return mode_; }
  int EntryCount() const { return entryCount_; }
  // OK, Enter in the grid and a double click on a row. In selection mode the window closes only on a
  // listed row whose serial is a whole number of 0 or more.
  void OKbtnClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void CreateGrid();
  void AppendEntry(const qd::link::SystemEntry& entry);
  void SetMode(Mode mode);
  void FitOnScreen();
  // Runs the window modally (or hands it to the test answerer); true when it closed with OK.
  bool RunModal();
  std::optional<qd::link::SystemChoice> ChoiceAtSelectedRow() const;

  Mode mode_ = Mode::Login;
  QString passwordHost_;  // the gateway host the password field was last used for
  int entryCount_ = 0;
  qd::link::SystemChoice selected_;
  QFormLayout* credentialsLayout_ = nullptr;
  QLabel* UserNameLabel = nullptr;
  QLineEdit* UserNameEdit = nullptr;
  QLabel* PasswordLabel = nullptr;
  QLineEdit* PasswordEdit = nullptr;
  QGroupBox* SystemGridGroupBox = nullptr;
  QTableWidget* SystemsStringGrid = nullptr;
  QPushButton* OKbtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

// Where a window of frame `frame` goes so that its bottom stays `margin` pixels above the bottom of
// `available`: moved up as far as needed, never above the top; a window too tall for that is shortened.
QRect FitAboveScreenBottom(const QRect& frame, const QRect& available, int margin);

// Tests answer the window instead of a user. When an answerer is set, AskLogin and ChooseSystem call it
// in place of exec(), with the window set up (mode, grid filled) but not shown; it may type into the
// fields, select a row and call OKbtnClick() or reject(). A window the answerer leaves open counts as
// cancelled. An empty answerer runs the window modally again.
using RemoteLoginAnswerer = std::function<void(TRemoteLoginForm& form)>;
void SetRemoteLoginAnswerer(RemoteLoginAnswerer answerer);

}  // namespace qd::gui
