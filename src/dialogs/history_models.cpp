#include "base/display_text.h"
#include "dialogs/history_models.h"

#include <array>

#include "accounting/session_model.h"

namespace {

QString RateText(const std::optional<double>& rate) { return rate ? GroupedNumber(*rate) : QStringLiteral("—"); }

bool RightAligned(RecordColumn column) {
  return column != RecordColumn::Memo && column != RecordColumn::LogFile && column != RecordColumn::Start &&
         column != RecordColumn::End;
}

const std::array<const char16_t*, kRecordColumns> kRecordHeaders{
    u"開始", u"終了", u"稼働時間", u"開始Lv", u"終了Lv", u"獲得Exp", u"平均時給(k/h)", u"最高10分(k/h)", u"メモ",
    u"ログファイル"};

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
  return QString::fromUtf16(kRecordHeaders[static_cast<std::size_t>(section)]);
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
      return t.first.toString(QStringLiteral("yyyy/MM/dd")) +
             (week_ ? QStringLiteral(" 〜") : QStringLiteral(" (%1)").arg(QStringLiteral("日月火水木金土")[t.first.dayOfWeek() % 7]));
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
  static const std::array<const char16_t*, 5> kHeaders{u"日付", u"測定", u"獲得Exp", u"稼働時間", u"平均時給(k/h)"};
  if (section == 0 && week_) return QStringLiteral("週 (月曜から)");
  return section >= 0 && section < 5 ? QString::fromUtf16(kHeaders[static_cast<std::size_t>(section)]) : QString();
}
