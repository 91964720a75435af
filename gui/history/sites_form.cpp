#include "gui/history/sites_form.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/app/message_dialog.h"
#include "gui/app/preferences.h"
#include "gui/app/status_text.h"
#include "gui/app/text_codec.h"
#include "gui/history/site_alarms_page.h"
#include "gui/history/site_consumption_page.h"
#include "gui/history/site_timeline_page.h"
#include "gui/logs/locale_numbers.h"
#include "gui/review/read_recorded.h"
#include "transport/pump_prices.h"

namespace qd::gui {
namespace {

enum SiteColumn {
  SerialColumn,
  NameColumn,
  LastContactColumn,
  NewAlarmsColumn,
  LitresColumn,
  CostColumn,
  SiteColumnCount
};

// The serial number (on the first cell of a row), what the columns sort by and what the search looks at.
constexpr int SerialRole = Qt::UserRole + 1;
constexpr int SortRole = Qt::UserRole + 2;
constexpr int SearchRole = Qt::UserRole + 3;

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

QStandardItem* Cell(const QString& text, const QVariant& sortKey, bool number) {
  auto* item = new QStandardItem(text);
  item->setData(sortKey, SortRole);
  item->setEditable(false);
  if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QList<QStandardItem*> SiteRow(const qd::history::SiteSummary& summary) {
  const qd::history::SiteIdentity& identity = summary.site.identity;
  const QString name = FromCp1252(identity.name);
  const QString lastContact = QString::fromStdString(summary.site.lastContact);
  const qd::logs::ConsumptionCosts& costs = summary.lastYearCosts;
  const QList<QStandardItem*> row = {
      Cell(QString::number(identity.serial), QVariant::fromValue<qlonglong>(identity.serial), false),
      Cell(name, name, false),
      // To the minute: the seconds of a read tell a technician nothing.
      Cell(lastContact.left(16), lastContact, false),
      Cell(QLocale().toString(summary.alarmsSincePrevious), summary.alarmsSincePrevious, true),
      Cell(LitresShown(summary.lastYear.volumeCounts),
           QVariant::fromValue<qlonglong>(summary.lastYear.volumeCounts), true),
      Cell(MoneyShown(costs.anyPrice ? std::optional(costs.total) : std::nullopt),
           QVariant::fromValue<qlonglong>(costs.anyPrice ? costs.total : -1), true)};
  row[SerialColumn]->setData(QVariant::fromValue<qulonglong>(identity.serial), SerialRole);
  row[SerialColumn]->setData(QString::number(identity.serial) + QLatin1Char(' ') + name, SearchRole);
  return row;
}

QString StorePreference() {
  return OpenPreferences()->value(QLatin1String(qd::store::StorePreferenceKey)).toString().trimmed();
}

}  // namespace

TSitesForm::TSitesForm() : QWidget(nullptr, Qt::Window) {
  setObjectName(QStringLiteral("SitesForm"));
  setWindowTitle(tr("Sites"));
  CreateControls();
  ArrangeControls();
  SetTabOrder();
  resize(1060, 800);
  // A read recorded while the list is shown joins it.
  connect(&ReadRecordedNotifier::Instance(), &ReadRecordedNotifier::ReadRecorded, this, [this] {
    if (isVisible()) RefreshSitesBtnClick();
  });
}

void TSitesForm::CreateControls() {
  StoreCaptionLabel = new QLabel(tr("History store:"), this);
  StoreCaptionLabel->setObjectName(QStringLiteral("StoreCaptionLabel"));
  StoreLocationLabel = new QLabel(this);
  StoreLocationLabel->setObjectName(QStringLiteral("StoreLocationLabel"));
  StoreLocationLabel->setAccessibleDescription(tr("History store"));
  StoreLocationLabel->setTextFormat(Qt::PlainText);
  StoreLocationLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  ChangeStoreBtn = Button(this, "ChangeStoreBtn", tr("C&hange..."));
  ChangeStoreBtn->setAccessibleName(tr("Change the history store"));
  ChangeStoreBtn->setToolTip(tr("Use another history store: an SQLite file or a PostgreSQL database"));

  SiteSearchEdit = new QLineEdit(this);
  SiteSearchEdit->setObjectName(QStringLiteral("SiteSearchEdit"));
  SiteSearchEdit->setPlaceholderText(tr("Name or serial number"));
  SiteSearchEdit->setClearButtonEnabled(true);
  SiteSearchEdit->setMinimumWidth(SiteSearchEdit->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);
  SiteSearchLabel = new QLabel(tr("&Search:"), this);
  SiteSearchLabel->setObjectName(QStringLiteral("SiteSearchLabel"));
  SiteSearchLabel->setBuddy(SiteSearchEdit);
  RefreshSitesBtn = Button(this, "RefreshSitesBtn", tr("&Refresh"));
  RefreshSitesBtn->setShortcut(QKeySequence::Refresh);
  RefreshSitesBtn->setToolTip(tr("Read the sites from the history store again (F5)"));

  siteModel_ = new QStandardItemModel(0, SiteColumnCount, this);
  siteModel_->setHorizontalHeaderLabels({tr("Serial"), tr("System name"), tr("Last contact"),
                                         tr("New alarms"), tr("Litres, 12 months"), tr("Cost, 12 months")});
  siteModel_->setHeaderData(NewAlarmsColumn, Qt::Horizontal,
                            tr("Alarms since the contact before the last one"), Qt::ToolTipRole);
  siteModel_->setHeaderData(LitresColumn, Qt::Horizontal,
                            tr("All pumps, the twelve months up to the last contact"), Qt::ToolTipRole);
  siteModel_->setHeaderData(CostColumn, Qt::Horizontal,
                            tr("At the pump prices of the consumption log window; empty without prices"),
                            Qt::ToolTipRole);
  siteFilter_ = new QSortFilterProxyModel(this);
  siteFilter_->setSourceModel(siteModel_);
  siteFilter_->setSortRole(SortRole);
  siteFilter_->setSortLocaleAware(true);
  siteFilter_->setSortCaseSensitivity(Qt::CaseInsensitive);
  siteFilter_->setFilterRole(SearchRole);
  siteFilter_->setFilterKeyColumn(SerialColumn);
  siteFilter_->setFilterCaseSensitivity(Qt::CaseInsensitive);

  SiteGrid = new QTableView(this);
  SiteGrid->setObjectName(QStringLiteral("SiteGrid"));
  SiteGrid->setAccessibleName(tr("Sites"));
  SiteGrid->setModel(siteFilter_);
  SiteGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  SiteGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  SiteGrid->setAlternatingRowColors(true);
  SiteGrid->setWordWrap(false);
  SiteGrid->setSortingEnabled(true);
  SiteGrid->sortByColumn(NameColumn, Qt::AscendingOrder);
  SiteGrid->verticalHeader()->hide();
  QHeaderView* header = SiteGrid->horizontalHeader();
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
  const QFontMetrics metrics = SiteGrid->fontMetrics();
  const auto width = [&metrics](const QString& sample) { return metrics.horizontalAdvance(sample) + 28; };
  SiteGrid->setColumnWidth(SerialColumn, width(QStringLiteral("0000000000")));
  SiteGrid->setColumnWidth(LastContactColumn, width(QStringLiteral("0000-00-00 00:00")));
  SiteGrid->setColumnWidth(NewAlarmsColumn,
                           width(siteModel_->headerData(NewAlarmsColumn, Qt::Horizontal).toString()));
  for (const int column : {LitresColumn, CostColumn})
    SiteGrid->setColumnWidth(column,
                             std::max(width(QStringLiteral("000,000.00 L")),
                                      width(siteModel_->headerData(column, Qt::Horizontal).toString())));

  StatusLabel = new QLabel(this);
  StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
  StatusLabel->setAccessibleDescription(tr("History store status"));
  StatusLabel->setTextFormat(Qt::PlainText);
  StatusLabel->setWordWrap(true);

  SiteLabel = new QLabel(this);
  SiteLabel->setObjectName(QStringLiteral("SiteLabel"));
  SiteLabel->setAccessibleDescription(tr("Site chosen"));
  SiteLabel->setTextFormat(Qt::PlainText);
  SiteLabel->setWordWrap(true);
  QFont bold = SiteLabel->font();
  bold.setBold(true);
  SiteLabel->setFont(bold);
  SitePageTabs = new QTabWidget(this);
  SitePageTabs->setObjectName(QStringLiteral("SitePageTabs"));
  ConsumptionPage = new SiteConsumptionPage(SitePageTabs);
  TimelinePage = new SiteTimelinePage(SitePageTabs);
  AlarmsPage = new SiteAlarmsPage(SitePageTabs);
  SitePageTabs->addTab(ConsumptionPage, tr("Consumption"));
  SitePageTabs->addTab(TimelinePage, tr("Configuration timeline"));
  SitePageTabs->addTab(AlarmsPage, tr("Alarms"));
  CloseBtn = Button(this, "CloseBtn", tr("Close"));

  connect(ChangeStoreBtn, &QPushButton::clicked, this, &TSitesForm::ChangeStoreBtnClick);
  connect(SiteSearchEdit, &QLineEdit::textChanged, this, &TSitesForm::SearchChanged);
  connect(RefreshSitesBtn, &QPushButton::clicked, this, &TSitesForm::RefreshSitesBtnClick);
  connect(SiteGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &TSitesForm::CurrentSiteChanged);
  connect(CloseBtn, &QPushButton::clicked, this, &QWidget::close);
}

void TSitesForm::ArrangeControls() {
  auto* store = new QHBoxLayout;
  store->addWidget(StoreCaptionLabel);
  store->addWidget(StoreLocationLabel, 1);
  store->addWidget(ChangeStoreBtn);

  auto* list = new QWidget(this);
  auto* search = new QHBoxLayout;
  search->addWidget(SiteSearchLabel);
  search->addWidget(SiteSearchEdit);
  search->addStretch(1);
  search->addWidget(RefreshSitesBtn);
  auto* listLayout = new QVBoxLayout(list);
  listLayout->setContentsMargins(0, 0, 0, 0);
  listLayout->addLayout(search);
  listLayout->addWidget(SiteGrid, 1);
  listLayout->addWidget(StatusLabel);

  auto* page = new QWidget(this);
  auto* pageLayout = new QVBoxLayout(page);
  pageLayout->setContentsMargins(0, 6, 0, 0);
  pageLayout->addWidget(SiteLabel);
  pageLayout->addWidget(SitePageTabs, 1);

  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->setObjectName(QStringLiteral("SiteSplitter"));
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(list);
  splitter->addWidget(page);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(CloseBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(store);
  layout->addWidget(splitter, 1);
  layout->addLayout(buttons);
}

void TSitesForm::SetTabOrder() {
  QWidget::setTabOrder(ChangeStoreBtn, SiteSearchEdit);
  QWidget::setTabOrder(SiteSearchEdit, RefreshSitesBtn);
  QWidget::setTabOrder(RefreshSitesBtn, SiteGrid);
  // The tabs and their pages follow in the order they were made; each page orders its own controls.
  QWidget::setTabOrder(ConsumptionPage->LastInTabOrder(), TimelinePage->FirstInTabOrder());
  QWidget::setTabOrder(TimelinePage->LastInTabOrder(), AlarmsPage->FirstInTabOrder());
  QWidget::setTabOrder(AlarmsPage->FirstInTabOrder(), CloseBtn);
}

bool TSitesForm::Loading() const {
  return listLoading_ || siteLoading_ || TimelinePage->Comparing();
}

void TSitesForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) RefreshSitesBtnClick();
}

void TSitesForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TSitesForm::RefreshSitesBtnClick() {
  prices_ = qd::transport::StoredPumpPrices();
  QString error;
  location_ = qd::store::ChosenStoreLocation({}, error);
  const QString preference = StorePreference();
  if (!location_) {
    StoreLocationLabel->setText(preference);
  } else {
    //: The history store's location when the preferences name none
    StoreLocationLabel->setText(preference.isEmpty() ? tr("%1 (default)").arg(location_->Text())
                                                     : location_->Text());
  }
  // A page still loading belongs to the list being replaced.
  ++siteGeneration_;
  siteLoading_ = false;
  const int generation = ++listGeneration_;
  if (!location_) {
    listLoading_ = false;
    ShowSites({error, {}});
    return;
  }
  listLoading_ = true;
  ShowStatusText(StatusLabel, tr("Loading the sites from the history store %1...").arg(location_->Text()));
  QueryStoreInBackground<std::vector<qd::history::SiteSummary>>(
      *location_, this,
      [prices = prices_](qd::store::HistoryStore& store, QString& failure) {
        std::vector<qd::history::SiteSummary> summaries = store.SiteSummaries(prices);
        failure = store.LastError();
        return summaries;
      },
      [this, generation](const StoreReply<std::vector<qd::history::SiteSummary>>& reply) {
        if (generation != listGeneration_) return;
        listLoading_ = false;
        ShowSites(reply);
      });
}

void TSitesForm::ShowSites(const StoreReply<std::vector<qd::history::SiteSummary>>& reply) {
  siteModel_->setRowCount(0);
  siteCount_ = 0;
  if (!reply.Ok()) {
    ShowStatusText(StatusLabel,
                   location_
                       ? tr("The history store %1 cannot be used: %2").arg(location_->Text(), reply.error)
                       : tr("No history store can be used: %1").arg(reply.error));
    ClearSite(QString());
    return;
  }
  for (const qd::history::SiteSummary& summary : reply.answer)
    siteModel_->appendRow(SiteRow(summary));
  siteCount_ = static_cast<int>(reply.answer.size());
  ShowSiteCount();
  // The site chosen stays chosen; the first one is chosen when there was none.
  if (chosenSerial_ && !ChooseSite(*chosenSerial_)) {
    const bool kept = !siteModel_
                           ->match(siteModel_->index(0, SerialColumn), SerialRole,
                                   QVariant::fromValue<qulonglong>(*chosenSerial_), 1, Qt::MatchExactly)
                           .isEmpty();
    // A site the search hides keeps its page.
    if (kept) {
      LoadSite(*chosenSerial_);
    } else {
      ClearSite(tr("The site %1 is not in the history store.").arg(*chosenSerial_));
    }
  } else if (!chosenSerial_ && siteFilter_->rowCount() > 0) {
    SiteGrid->setCurrentIndex(siteFilter_->index(0, SerialColumn));
  } else if (!chosenSerial_) {
    ClearSite(QString());
  }
}

void TSitesForm::ShowSiteCount() {
  const QString store = location_ ? location_->Text() : QString();
  QString text =
      siteCount_ == 0
          ? tr("No sites in the history store %1 yet: every read from a controller is recorded there.")
                .arg(store)
      : siteCount_ == 1 ? tr("1 site in the history store %1.").arg(store)
                        : tr("%1 sites in the history store %2.").arg(siteCount_).arg(store);
  if (!SiteSearchEdit->text().trimmed().isEmpty())
    text += QLatin1Char(' ') + tr("Matching the search: %1.").arg(siteFilter_->rowCount());
  ShowStatusText(StatusLabel, text);
}

void TSitesForm::SearchChanged() {
  siteFilter_->setFilterFixedString(SiteSearchEdit->text().trimmed());
  if (!listLoading_ && location_) ShowSiteCount();
}

bool TSitesForm::ChooseSite(std::uint32_t serial) {
  for (int row = 0; row < siteFilter_->rowCount(); ++row) {
    const QModelIndex index = siteFilter_->index(row, SerialColumn);
    if (index.data(SerialRole).toULongLong() != serial) continue;
    if (SiteGrid->currentIndex().row() == row) {
      LoadSite(serial);
    } else {
      SiteGrid->setCurrentIndex(index);
    }
    SiteGrid->scrollTo(index);
    return true;
  }
  return false;
}

void TSitesForm::CurrentSiteChanged() {
  const QModelIndex current = SiteGrid->currentIndex();
  if (!current.isValid()) return;
  const auto serial = static_cast<std::uint32_t>(
      siteFilter_->index(current.row(), SerialColumn).data(SerialRole).toULongLong());
  chosenSerial_ = serial;
  LoadSite(serial);
}

void TSitesForm::LoadSite(std::uint32_t serial) {
  if (!location_) return;
  const int generation = ++siteGeneration_;
  siteLoading_ = true;
  ShowStatusText(SiteLabel, tr("Loading the site %1...").arg(serial));
  const qd::store::StoreLocation location = *location_;
  QueryStoreInBackground<SiteHistory>(
      location, this,
      [serial](qd::store::HistoryStore& store, QString& error) {
        return LoadSiteHistory(store, serial, error);
      },
      [this, generation, location, serial](const StoreReply<SiteHistory>& reply) {
        if (generation != siteGeneration_) return;
        siteLoading_ = false;
        if (!reply.Ok()) {
          ClearSite(tr("The site %1 could not be read: %2").arg(serial).arg(reply.error));
        } else if (!reply.answer.found) {
          ClearSite(tr("The site %1 is not in the history store.").arg(serial));
        } else {
          site_ = reply.answer;
          const qd::history::Site& site = site_.site;
          ShowStatusText(
              SiteLabel,
              tr("%1 (serial %2), hardware %3, firmware %4; first contact %5, last contact %6.")
                  .arg(FromCp1252(site.identity.name), QString::number(site.identity.serial),
                       QString::number(site.identity.hardware),
                       QStringLiteral("%1.%2")
                           .arg(site.identity.firmwareMajor)
                           .arg(site.identity.firmwareMinor),
                       QString::fromStdString(site.firstContact), QString::fromStdString(site.lastContact)));
          ConsumptionPage->ShowMonths(serial, site_.months, prices_);
          TimelinePage->ShowTimeline(location, serial, site_.timeline);
          AlarmsPage->ShowAlarms(site_.alarms, site.previousContact);
        }
      });
}

void TSitesForm::ClearSite(const QString& why) {
  site_ = SiteHistory{};
  ShowStatusText(SiteLabel, why.isEmpty() ? tr("Choose a site in the list to see its history.") : why);
  ConsumptionPage->Clear();
  TimelinePage->Clear();
  AlarmsPage->Clear();
}

void TSitesForm::ChangeStoreBtnClick() {
  QInputDialog dialog(this);
  dialog.setObjectName(QStringLiteral("StoreLocationDialog"));
  dialog.setWindowTitle(tr("History store"));
  dialog.setLabelText(tr("The history store: the path of an SQLite file, or a PostgreSQL database as\n"
                         "postgresql://[USER@]HOST[:PORT]/DATABASE (its password belongs in the PostgreSQL\n"
                         "password file, never here). Empty for the default store:\n%1")
                          .arg(qd::store::DefaultStoreLocation().Text()));
  dialog.setTextValue(StorePreference());
  dialog.resize(std::max(dialog.sizeHint().width(), 560), dialog.sizeHint().height());
  // A text that names no store is asked for again, as typed.
  while (dialog.exec() == QDialog::Accepted) {
    if (ChangeStore(dialog.textValue())) return;
  }
}

bool TSitesForm::ChangeStore(const QString& text) {
  const QString trimmed = text.trimmed();
  std::optional<qd::store::StoreLocation> location;
  if (!trimmed.isEmpty()) {
    QString error;
    location = qd::store::ParseStoreLocation(trimmed, error);
    if (!location) {
      ShowMessageBox(tr("\"%1\" is no history store this program can use.\n\n%2").arg(trimmed, error),
                     DialogType::Error);
      return false;
    }
  }
  const std::unique_ptr<QSettings> preferences = OpenPreferences();
  const QString key = QLatin1String(qd::store::StorePreferenceKey);
  if (location) {
    preferences->setValue(key, location->Text());
  } else {
    preferences->remove(key);
  }
  SyncPrivately(*preferences);
  RefreshSitesBtnClick();
  return true;
}

}  // namespace qd::gui
