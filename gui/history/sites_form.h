#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "gui/history/site_history.h"
#include "gui/history/store_query.h"
#include "history/site_summary.h"
#include "logs/consumption_costs.h"
#include "store/store_location.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTabWidget;
class QTableView;

namespace qd::gui {

class SiteAlarmsPage;
class SiteConsumptionPage;
class SiteTimelinePage;

// "Sites": every site of the history store at a glance (last contact, new alarms, the last twelve months'
// consumption and cost), searchable, and the page of the site chosen: its consumption over every month
// kept, its configuration timeline and its alarms. The store is only read, on worker threads, so that a
// slow server never freezes the window.
class TSitesForm : public QWidget {
  Q_OBJECT

 public:
  TSitesForm();

  // Reads the list of sites again (and the page of the site chosen).
  void RefreshSitesBtnClick();
  // Asks for another store.
  void ChangeStoreBtnClick();
  // Uses the store `text` names (empty: the default one) from now on; false, with a box saying why,
  // when the text names no store.
  bool ChangeStore(const QString& text);
  // Chooses the site in the list; false when the list does not show it.
  bool ChooseSite(std::uint32_t serial);

  // A query of the store is under way.
  bool Loading() const;
  // The site whose page is shown.
  const SiteHistory& ShownSite() const { return site_; }
  SiteTimelinePage& Timeline() { return *TimelinePage; }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateControls();
  void ArrangeControls();
  void SetTabOrder();
  void ShowSites(const StoreReply<std::vector<qd::history::SiteSummary>>& reply);
  void ShowSiteCount();
  void SearchChanged();
  void CurrentSiteChanged();
  void LoadSite(std::uint32_t serial);
  void ShowSite(const StoreReply<SiteHistory>& reply);
  void ClearSite(const QString& why);

  std::optional<qd::store::StoreLocation> location_;
  qd::logs::PumpPrices prices_;
  int siteCount_ = 0;
  std::optional<std::uint32_t> chosenSerial_;
  SiteHistory site_;
  int listGeneration_ = 0;
  int siteGeneration_ = 0;
  bool listLoading_ = false;
  bool siteLoading_ = false;

  QLabel* StoreCaptionLabel = nullptr;
  QLabel* StoreLocationLabel = nullptr;
  QPushButton* ChangeStoreBtn = nullptr;
  QLabel* SiteSearchLabel = nullptr;
  QLineEdit* SiteSearchEdit = nullptr;
  QPushButton* RefreshSitesBtn = nullptr;
  QStandardItemModel* siteModel_ = nullptr;
  QSortFilterProxyModel* siteFilter_ = nullptr;
  QTableView* SiteGrid = nullptr;
  QLabel* StatusLabel = nullptr;
  QLabel* SiteLabel = nullptr;
  QTabWidget* SitePageTabs = nullptr;
  SiteConsumptionPage* ConsumptionPage = nullptr;
  SiteTimelinePage* TimelinePage = nullptr;
  SiteAlarmsPage* AlarmsPage = nullptr;
  QPushButton* CloseBtn = nullptr;
};

}  // namespace qd::gui
