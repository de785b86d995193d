#include "base/display_text.h"
#include "dialogs/history_models.h"

#include <QCoreApplication>
#include <array>

#include "accounting/session_model.h"

namespace {

QString RateText(const std::optional<double>& rate) { return rate ? GroupedNumber(*rate) : QStringLiteral("—"); }

bool RightAligned(RecordColumn column) {
  return column != RecordColumn::Memo && column != RecordColumn::LogFile && column != RecordColumn::Start &&
         column != RecordColumn::End;
}

const std::array<const char*, kRecordColumns> kRecordHeaders{
    QT_TRANSLATE_NOOP("HistoryTables", "開始"),     QT_TRANSLATE_NOOP("HistoryTables", "終了"),
    QT_TRANSLATE_NOOP("HistoryTables", "稼働時間"), QT_TRANSLATE_NOOP("HistoryTables", "開始Lv"),
    QT_TRANSLATE_NOOP("HistoryTables", "終了Lv"),   QT_TRANSLATE_NOOP("HistoryTables", "獲得Exp"),
    QT_TRANSLATE_NOOP("HistoryTables", "平均時給(k/h)"), QT_TRANSLATE_NOOP("HistoryTables", "最高10分(k/h)"),
    QT_TRANSLATE_NOOP("HistoryTables", "メモ"),     QT_TRANSLATE_NOOP("HistoryTables", "ログファイル")};

const std::array<const char*, 5> kPeriodHeaders{
    QT_TRANSLATE_NOOP("HistoryTables", "日付"), QT_TRANSLATE_NOOP("HistoryTables", "測定"),
    QT_TRANSLATE_NOOP("HistoryTables", "獲得Exp"), QT_TRANSLATE_NOOP("HistoryTables", "稼働時間"),
    QT_TRANSLATE_NOOP("HistoryTables", "平均時給(k/h)")};

// The days of the week, Sunday first, as QDate::dayOfWeek() % 7 counts.
const std::array<const char*, 7> kWeekdays{
    QT_TRANSLATE_NOOP("HistoryTables", "日"), QT_TRANSLATE_NOOP("HistoryTables", "月"),
    QT_TRANSLATE_NOOP("HistoryTables", "火"), QT_TRANSLATE_NOOP("HistoryTables", "水"),
    QT_TRANSLATE_NOOP("HistoryTables", "木"), QT_TRANSLATE_NOOP("HistoryTables", "金"),
    QT_TRANSLATE_NOOP("HistoryTables", "土")};

QString Translated(const char* text) { return QCoreApplication::translate("HistoryTables", text); }

}  // namespace

QString RecordCellText(const MeasurementRecord& r, RecordColumn column) {
  switch (column) {
    case RecordColumn::Start: return r.start.toString(QStringLiteral("yyyy/MM/dd hh:mm"));
    case RecordColumn::End:
      return r.end.toString(r.end.date() == r.start.date() ? QStringLiteral("hh:mm") : QStringLiteral("MM/dd hh:mm"));
    case RecordColumn::Active: return DurationText(r.activeMs);
    case RecordColumn::LevelFrom: return QString::number(r.levelFrom);
    case RecordColumn::LevelTo: return QString::number(r.levelTo);
    case RecordColumn::Gained: return GroupedNumber(r.gained);
    case RecordColumn::AverageRate: return RateText(r.averageRate);
    case RecordColumn::BestRate: return RateText(r.bestRate);
    case RecordColumn::Memo: return r.memo;
    case RecordColumn::LogFile: return r.logFile;
  }
  return QString();
}

RecordTableModel::RecordTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void RecordTableModel::SetRecords(const std::vector<MeasurementRecord>* records, std::vector<std::size_t> shown) {
  beginResetModel();
  records_ = records;
  shown_ = std::move(shown);
  if (records_) {
    SortRecordIndices(*records_, shown_, static_cast<RecordColumn>(sortColumn_), sortOrder_ == Qt::AscendingOrder);
  }
  endResetModel();
}

int RecordTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int RecordTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kRecordColumns; }

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
  if (!records_ || !index.isValid() || index.row() >= rowCount()) return {};
  const auto column = static_cast<RecordColumn>(index.column());
  if (role == Qt::DisplayRole) return RecordCellText(RecordAt(index.row()), column);
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(Qt::AlignVCenter | (RightAligned(column) ? Qt::AlignRight : Qt::AlignLeft));
  }
  return {};
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= kRecordColumns) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return Translated(kRecordHeaders[static_cast<std::size_t>(section)]);
}

void RecordTableModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= kRecordColumns) return;
  sortColumn_ = column;
  sortOrder_ = order;
  if (!records_) return;
  emit layoutAboutToBeChanged();
  SortRecordIndices(*records_, shown_, static_cast<RecordColumn>(column), order == Qt::AscendingOrder);
  emit layoutChanged();
}

PeriodTableModel::PeriodTableModel(bool week, QObject* parent) : QAbstractTableModel(parent), week_(week) {}

void PeriodTableModel::SetTotals(std::vector<PeriodTotal> totals) {
  beginResetModel();
  totals_ = std::move(totals);
  endResetModel();
}

int PeriodTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(totals_.size());
}

int PeriodTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 5; }

QVariant PeriodTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(Qt::AlignVCenter | (index.column() == 0 ? Qt::AlignLeft : Qt::AlignRight));
  }
  if (role != Qt::DisplayRole) return {};
  const PeriodTotal& t = totals_[static_cast<std::size_t>(index.row())];
  switch (index.column()) {
    case 0:
      //: A week in the table of weeks, named by its Monday: "2026/12/07 〜".
      if (week_) return QCoreApplication::translate("HistoryTables", "%1 〜").arg(t.first.toString(QStringLiteral("yyyy/MM/dd")));
      return QStringLiteral("%1 (%2)").arg(t.first.toString(QStringLiteral("yyyy/MM/dd")),
                                           Translated(kWeekdays[static_cast<std::size_t>(t.first.dayOfWeek() % 7)]));
    case 1: return QString::number(t.measurements);
    case 2: return GroupedNumber(t.gained);
    case 3: return DurationText(t.activeMs);
    default: return RateText(t.averageRate);
  }
}

QVariant PeriodTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  if (section == 0 && week_) return Translated(QT_TRANSLATE_NOOP("HistoryTables", "週 (月曜から)"));
  return section >= 0 && section < 5 ? Translated(kPeriodHeaders[static_cast<std::size_t>(section)]) : QString();
}
