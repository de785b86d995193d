#pragma once
// The history window (ツール → 履歴): every measurement kept, newest first,
// sortable by each column and filtered by days and memo; the totals per day
// and per week; the chart of the rates by memo. The shown records can be
// copied, exported as CSV, and the chart saved as PNG. The window opens at
// once: the history is read on a thread of its own, its progress shown.

#include <QWidget>
#include <functional>
#include <vector>

#include "history/history_store.h"
#include "history/history_view.h"

class BackgroundWork;
class HistoryChartView;
class MessageBoxes;
class PeriodTableModel;
class QComboBox;
class QDateEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
struct Settings;

// Asks where to save: caption, suggested file name, filter. Empty: cancelled.
using SavePathAsker = std::function<QString(const QString&, const QString&, const QString&)>;

class RecordTableModel;

class HistoryWindow : public QWidget {
  Q_OBJECT
 public:
  HistoryWindow(const Settings& settings, MessageBoxes& boxes, QWidget* parent = nullptr);

  // The sessions file read again (on first use, the log files imported).
  // Both read off the window's thread; Loaded() says when they are shown.
  void Reload();
  // The log files read again: measurements the history lacks are added.
  void ImportAgain();
  bool Loading() const;
  // The selected rows as tab-separated text with a header line, put on the
  // clipboard; returns it.
  QString CopySelection();
  // Export the shown records, in the table's order, as the sessions file
  // writes them; save the chart as PNG. False when cancelled or failed.
  bool ExportCsv();
  bool SaveChartPng();

  void SetSavePathAsker(SavePathAsker ask) { askSavePath_ = std::move(ask); }
  void SetFilter(const HistoryFilter& filter);
  const std::vector<MeasurementRecord>& Records() const { return records_; }
  const RecordTableModel& Table() const { return *recordModel_; }
  QString StatusText() const;

 signals:
  void Loaded();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void ApplyFilter();
  void StartLoading(std::function<HistoryLoad(const ReadProgress&)> read);
  void ShowLoad(HistoryLoad load);
  // A file name with %1 for today's date, in the log folder.
  QString InLogFolder(const QString& nameOfDay) const;

  const Settings& settings_;
  MessageBoxes& boxes_;
  SavePathAsker askSavePath_;
  std::vector<MeasurementRecord> records_;
  HistoryFilter filter_;
  QString loadNote_;

  QDateEdit* from_ = nullptr;
  QDateEdit* to_ = nullptr;
  QComboBox* memo_ = nullptr;
  QTableView* table_ = nullptr;
  RecordTableModel* recordModel_ = nullptr;
  PeriodTableModel* dayModel_ = nullptr;
  PeriodTableModel* weekModel_ = nullptr;
  HistoryChartView* chart_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* importAgain_ = nullptr;
  BackgroundWork* loading_ = nullptr;
};

// ツール → 履歴: the owner's history window, made on first use, reloaded
// and brought to the front.
HistoryWindow* ShowHistoryWindow(QWidget* owner, const Settings& settings, MessageBoxes& boxes);
