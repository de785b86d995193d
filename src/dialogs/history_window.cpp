#include "base/display_text.h"
#include "dialogs/history_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "accounting/log_file.h"
#include "accounting/session_model.h"
#include "base/background_work.h"
#include "base/cp932.h"
#include "dialogs/history_chart_view.h"
#include "dialogs/history_models.h"
#include "monitoring/message_boxes.h"
#include "dialogs/placed_windows.h"
#include "history/history_chart.h"
#include "persistence/settings.h"

namespace {

constexpr int kMemosOffered = 30;

QString DefaultSavePath(const QString& caption, const QString& suggested, const QString& filter) {
  return QFileDialog::getSaveFileName(nullptr, caption, suggested, filter);
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);
  return button;
}

QTableView* NewTable(QWidget* parent, const char* name, QAbstractItemModel* model) {
  auto* table = new QTableView(parent);
  table->setObjectName(QLatin1String(name));
  table->setModel(model);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setAlternatingRowColors(true);
  table->verticalHeader()->setVisible(false);
  table->verticalHeader()->setDefaultSectionSize(20);
  table->horizontalHeader()->setHighlightSections(false);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

// Room for a column's caption: captions in another language may be longer
// than the figures below them.
int HeaderWidth(const QTableView* table, int column) {
  const QHeaderView* header = table->horizontalHeader();
  const QString caption = table->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
  return header->fontMetrics().horizontalAdvance(caption) +
         2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
}

Notice CannotSave(const QString& path) {
  return Notice{QCoreApplication::translate("HistoryWindow", "ファイルに保存できませんでした。") + QStringLiteral("\r\n") +
                    QDir::toNativeSeparators(path),
                QCoreApplication::translate("HistoryWindow", "保存エラー")};
}

}  // namespace

HistoryWindow::HistoryWindow(const Settings& settings, MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings), boxes_(boxes), askSavePath_(DefaultSavePath) {
  setObjectName(QStringLiteral("HistoryWindow"));
  setWindowTitle(tr("履歴"));
  BuildControls();
  resize(860, 620);
  // The main window's close ends the program: this window goes with it.
  if (parent) parent->installEventFilter(this);
}

void HistoryWindow::BuildControls() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 8, 8, 8);

  auto* filterRow = new QHBoxLayout();
  filterRow->addWidget(new QLabel(tr("期間"), this));
  const auto dateEdit = [this](const char* name) {
    auto* edit = new QDateEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    edit->setCalendarPopup(true);
    // The whole date, never squeezed by the row: "2026/12/0" is no date.
    // Some styles' own size leaves no room for the calendar's arrow
    // (Windows'), so the date's width and the arrow's are added up too.
    const int arrow = edit->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, edit);
    const int frame = edit->style()->pixelMetric(QStyle::PM_SpinBoxFrameWidth, nullptr, edit);
    const int date = edit->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00"));
    edit->setMinimumWidth(std::max(edit->sizeHint().width(), date + arrow + 2 * frame + 12));
    connect(edit, &QDateEdit::dateChanged, this, [this] { SetFilter({from_->date(), to_->date(), filter_.memo}); });
    return edit;
  };
  from_ = dateEdit("txtHistoryFrom");
  to_ = dateEdit("txtHistoryTo");
  filterRow->addWidget(from_);
  filterRow->addWidget(new QLabel(tr("〜"), this));
  filterRow->addWidget(to_);
  QPushButton* allDays = Button(this, "cmdHistoryAllDays", tr("全期間"));
  filterRow->addWidget(allDays);
  filterRow->addSpacing(12);
  filterRow->addWidget(new QLabel(tr("メモ"), this));
  memo_ = new QComboBox(this);
  memo_->setObjectName(QStringLiteral("cboHistoryMemo"));
  memo_->setEditable(true);
  memo_->setInsertPolicy(QComboBox::NoInsert);
  memo_->setMinimumWidth(160);
  memo_->lineEdit()->setPlaceholderText(tr("すべて"));
  filterRow->addWidget(memo_, 1);
  importAgain_ = Button(this, "cmdHistoryImport", tr("ログから取込み"));
  importAgain_->setToolTip(tr("ログフォルダのログファイルを読み直し、履歴にない測定を加えます"));
  filterRow->addWidget(importAgain_);
  column->addLayout(filterRow);

  recordModel_ = new RecordTableModel(this);
  table_ = NewTable(this, "tblHistory", recordModel_);
  table_->setSortingEnabled(true);
  table_->installEventFilter(this);
  table_->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
  const std::array<int, kRecordColumns> widths{132, 84, 84, 56, 56, 110, 100, 100, 110, 180};
  for (int c = 0; c < kRecordColumns; ++c) {
    table_->setColumnWidth(c, std::max(widths[static_cast<std::size_t>(c)], HeaderWidth(table_, c)));
  }
  // The log file's name, last, as long as it is: the table scrolls sideways.
  table_->horizontalHeader()->setStretchLastSection(false);

  dayModel_ = new PeriodTableModel(false, this);
  weekModel_ = new PeriodTableModel(true, this);
  chart_ = new HistoryChartView(this);
  auto* tabs = new QTabWidget(this);
  tabs->setObjectName(QStringLiteral("tabHistory"));
  tabs->addTab(chart_, tr("グラフ"));
  for (auto [model, name, caption] : {std::tuple{dayModel_, "tblHistoryDays", tr("日別")},
                                      std::tuple{weekModel_, "tblHistoryWeeks", tr("週別")}}) {
    QTableView* totals = NewTable(this, name, model);
    for (int c = 0; c < 4; ++c) totals->setColumnWidth(c, std::max(c == 0 ? 140 : 110, HeaderWidth(totals, c)));
    tabs->addTab(totals, caption);
  }
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(table_);
  split->addWidget(tabs);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  column->addWidget(split, 1);

  auto* buttons = new QHBoxLayout();
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("lblHistoryStatus"));
  buttons->addWidget(status_, 1);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("prgHistoryLoad"));
  progress_->setRange(0, 1000);
  progress_->setTextVisible(false);
  progress_->setMaximumWidth(160);
  progress_->hide();
  buttons->addWidget(progress_);
  QPushButton* copy = Button(this, "cmdHistoryCopy", tr("コピー"));
  QPushButton* csv = Button(this, "cmdHistoryCsv", tr("CSVに書出し..."));
  QPushButton* png = Button(this, "cmdHistoryPng", tr("グラフをPNGで保存..."));
  QPushButton* close = Button(this, "cmdHistoryClose", tr("閉じる"));
  for (QPushButton* b : {copy, csv, png, close}) buttons->addWidget(b);
  column->addLayout(buttons);

  connect(allDays, &QPushButton::clicked, this, [this] { SetFilter({QDate(), QDate(), filter_.memo}); });
  connect(memo_, &QComboBox::editTextChanged, this,
          [this](const QString& text) { SetFilter({filter_.from, filter_.to, text.trimmed()}); });
  connect(importAgain_, &QPushButton::clicked, this, &HistoryWindow::ImportAgain);
  loading_ = new BackgroundWork(this);
  connect(loading_, &BackgroundWork::Progressed, progress_, &QProgressBar::setValue);
  connect(copy, &QPushButton::clicked, this, &HistoryWindow::CopySelection);
  connect(csv, &QPushButton::clicked, this, &HistoryWindow::ExportCsv);
  connect(png, &QPushButton::clicked, this, &HistoryWindow::SaveChartPng);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void HistoryWindow::Reload() {
  StartLoading([folder = settings_.saveFolder](const ReadProgress& progress) { return OpenHistory(folder, progress); });
}

void HistoryWindow::ImportAgain() {
  // The records shown while the logs are read are the ones they are read against.
  if (Loading()) return;
  StartLoading([folder = settings_.saveFolder, kept = records_](const ReadProgress& progress) {
    return ImportLogsAgain(folder, kept, progress);
  });
}

bool HistoryWindow::Loading() const { return loading_->Running(); }

void HistoryWindow::StartLoading(std::function<HistoryLoad(const ReadProgress&)> read) {
  progress_->setValue(0);
  progress_->show();
  importAgain_->setEnabled(false);
  loading_->Start([this, read = std::move(read)](const ReadProgress& progress) -> std::function<void()> {
    auto load = std::make_shared<HistoryLoad>(read(progress));
    if (load->stopped) return {};
    return [this, load] {
      progress_->hide();
      importAgain_->setEnabled(true);
      ShowLoad(std::move(*load));
      emit Loaded();
    };
  });
  status_->setText(StatusText());
}

void HistoryWindow::ShowLoad(HistoryLoad load) {
  // Moved, not copied: years of records are not held twice.
  records_ = std::move(load.records);
  QStringList notes;
  if (load.imported > 0) notes << tr("ログから %1件を取込み").arg(load.imported);
  if (load.skippedLogLines > 0) notes << tr("読めないログ行 %1").arg(load.skippedLogLines);
  if (!load.unreadableLogs.isEmpty()) notes << tr("開けないログ %1").arg(load.unreadableLogs.size());
  if (load.damagedLines > 0) notes << tr("読めない記録行 %1").arg(load.damagedLines);
  loadNote_ = notes.join(QStringLiteral("  "));

  {
    const QSignalBlocker quiet(memo_);
    const QString typed = memo_->currentText();
    memo_->clear();
    memo_->addItem(QString());
    memo_->addItems(RecentMemos(records_, kMemosOffered));
    memo_->setEditText(typed);
  }
  SetFilter({QDate(), QDate(), filter_.memo});
  if (load.notice) boxes_.Inform(load.notice->text, load.notice->title);
}

void HistoryWindow::SetFilter(const HistoryFilter& filter) {
  filter_ = filter;
  // The date boxes show the range in force: with no limit, the records'
  // own (they are kept oldest first).
  const QDate first = records_.empty() ? QDate() : records_.front().start.date();
  const QDate last = records_.empty() ? QDate() : records_.back().start.date();
  const QSignalBlocker quietFrom(from_);
  const QSignalBlocker quietTo(to_);
  from_->setDate(filter_.from.isValid() ? filter_.from : first.isValid() ? first : QDate::currentDate());
  to_->setDate(filter_.to.isValid() ? filter_.to : last.isValid() ? last : QDate::currentDate());
  ApplyFilter();
}

void HistoryWindow::ApplyFilter() {
  std::vector<std::size_t> shown = FilterRecords(records_, filter_);
  dayModel_->SetTotals(DayTotals(records_, shown));
  weekModel_->SetTotals(WeekTotals(records_, shown));
  chart_->SetChart(MakeHistoryChart(records_, shown));
  recordModel_->SetRecords(&records_, std::move(shown));
  const int last = kRecordColumns - 1;
  table_->resizeColumnToContents(last);
  table_->setColumnWidth(last, std::max({180, HeaderWidth(table_, last), table_->columnWidth(last)}));
  status_->setText(StatusText());
}

QString HistoryWindow::StatusText() const {
  if (Loading()) return tr("履歴を読み込んでいます...");
  QString text = tr("%1件 / 全%2件").arg(GroupedNumber(static_cast<double>(recordModel_->Shown().size())),
                                                     GroupedNumber(static_cast<double>(records_.size())));
  if (!loadNote_.isEmpty()) text += QStringLiteral("  ") + loadNote_;
  return text;
}

QString HistoryWindow::CopySelection() {
  QModelIndexList rows = table_->selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  QStringList lines;
  QStringList header;
  for (int c = 0; c < kRecordColumns; ++c) header << recordModel_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
  lines << header.join(QLatin1Char('\t'));
  for (const QModelIndex& row : rows) {
    QStringList cells;
    for (int c = 0; c < kRecordColumns; ++c) {
      cells << RecordCellText(recordModel_->RecordAt(row.row()), static_cast<RecordColumn>(c));
    }
    lines << cells.join(QLatin1Char('\t'));
  }
  QString text = lines.join(QStringLiteral("\n")) + QStringLiteral("\n");
  QApplication::clipboard()->setText(text);
  return text;
}

QString HistoryWindow::InLogFolder(const QString& nameOfDay) const {
  // Beside the log files the records come from, not wherever the program runs.
  return QDir(LogFolder(settings_.saveFolder))
      .filePath(nameOfDay.arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))));
}

bool HistoryWindow::ExportCsv() {
  const QString path = askSavePath_(tr("CSVに書出し"),
                                    InLogFolder(QStringLiteral("測定記録_%1.csv")),
                                    QStringLiteral("CSV (*.csv)"));
  if (path.isEmpty()) return false;
  QSaveFile file(path);
  const bool saved = file.open(QIODevice::WriteOnly) &&
                     file.write(EncodeCp932(RecordsText(records_, recordModel_->Shown()))) >= 0 && file.commit();
  if (!saved) {
    const Notice notice = CannotSave(path);
    boxes_.Inform(notice.text, notice.title);
  }
  return saved;
}

bool HistoryWindow::SaveChartPng() {
  const QString path = askSavePath_(tr("グラフをPNGで保存"),
                                    InLogFolder(QStringLiteral("履歴グラフ_%1.png")),
                                    QStringLiteral("PNG (*.png)"));
  if (path.isEmpty()) return false;
  const QSize size = chart_->width() >= 400 ? chart_->size() : QSize(900, 400);
  const bool saved = chart_->Picture(size).save(path, "PNG");
  if (!saved) {
    const Notice notice = CannotSave(path);
    boxes_.Inform(notice.text, notice.title);
  }
  return saved;
}

// Ctrl+C in the table copies whole records, not the one cell the table
// would copy by itself.
bool HistoryWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Close) close();
  if (watched == table_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    CopySelection();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

HistoryWindow* ShowHistoryWindow(QWidget* owner, const Settings& settings, MessageBoxes& boxes) {
  auto* window = owner->findChild<HistoryWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (!window) {
    window = new HistoryWindow(settings, boxes, owner);
    PlaceBesideOwner(window, owner);
  }
  window->Reload();
  window->show();
  window->raise();
  window->activateWindow();
  window->findChild<QTableView*>(QStringLiteral("tblHistory"))->setFocus();
  return window;
}
