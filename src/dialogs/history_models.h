#pragma once
// The history window's tables: the records (formatted only as rows come
// into view, so ten thousand records cost nothing to show) and the totals
// per day or week.

#include <QAbstractTableModel>
#include <vector>

#include "history/history_view.h"

class RecordTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit RecordTableModel(QObject* parent = nullptr);

  // The records and which of them to show, in the order of the current sort.
  void SetRecords(const std::vector<MeasurementRecord>* records, std::vector<std::size_t> shown);
  const std::vector<std::size_t>& Shown() const { return shown_; }
  const MeasurementRecord& RecordAt(int row) const { return (*records_)[shown_[static_cast<std::size_t>(row)]]; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void sort(int column, Qt::SortOrder order) override;

 private:
  const std::vector<MeasurementRecord>* records_ = nullptr;
  std::vector<std::size_t> shown_;
  int sortColumn_ = 0;
  Qt::SortOrder sortOrder_ = Qt::DescendingOrder;
};

// The text a record's cell shows.
QString RecordCellText(const MeasurementRecord& record, RecordColumn column);

class PeriodTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // `week`: the first column names the week by its Monday.
  PeriodTableModel(bool week, QObject* parent = nullptr);
  void SetTotals(std::vector<PeriodTotal> totals);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  bool week_;
  std::vector<PeriodTotal> totals_;
};
