#include "persistence/measurement_state.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cmath>

#include "base/cp932.h"
#include "persistence/config_fields.h"
#include "persistence/file_system.h"

namespace {

const QString kFormatLine = QStringLiteral("Tallymeter measurement 1");
const QString kStampLabel = QStringLiteral("ログファイル");
const QString kTimeLabel = QStringLiteral("最終読取");
const QString kLevelLabel = QStringLiteral("Lv");
const QString kExpLabel = QStringLiteral("Exp");
const QString kRecordLabel = QStringLiteral("ここまでの記録");
const QString kRecordReadingLabel = QStringLiteral("記録の最終読取");
const QString kTimeFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");
const QString kPreciseTimeFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss.zzz");
// The moment is kept in UTC, so that a change to or from daylight-saving
// time (or of the zone) does not misdate its age; a time without this mark
// comes from an earlier version and is local.
const QString kUtcMark = QStringLiteral(" UTC");
constexpr qint64 kReadLimit = 4096;  // a few short lines; anything longer is not ours

bool AllDigits(const QString& text) {
  if (text.isEmpty()) return false;
  for (const QChar c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

// "Lv Exp yyyy/MM/dd HH:mm:ss.zzz UTC"
QString RecordReadingText(const MeasurementState::RecordReading& r) {
  return QStringLiteral("%1 %2 %3").arg(r.level).arg(r.exp, 0, 'f', 3).arg(r.at.toUTC().toString(kPreciseTimeFormat)) +
         kUtcMark;
}

std::optional<MeasurementState::RecordReading> ParseRecordReading(const QString& text) {
  const QStringList parts = text.split(QLatin1Char(' '));
  if (parts.size() != 5 || parts[4] != kUtcMark.trimmed()) return std::nullopt;
  MeasurementState::RecordReading r;
  const std::optional<std::int32_t> level = ConfigInteger(parts[0]);
  bool ok = false;
  r.exp = parts[1].toDouble(&ok);
  r.at = QDateTime::fromString(parts[2] + QLatin1Char(' ') + parts[3], kPreciseTimeFormat);
  r.at.setTimeSpec(Qt::UTC);
  if (!level || *level < 1 || !ok || !std::isfinite(r.exp) || r.exp < 0 || !r.at.isValid()) return std::nullopt;
  r.level = *level;
  return r;
}

}  // namespace

QString MeasurementStatePath(const QString& programFolder) { return programFolder + QStringLiteral("/TmMeasure.ini"); }

QString MeasurementStateText(const MeasurementState& state) {
  const QStringList lines{
      kFormatLine,
      state.logStamp + QStringLiteral(" , ") + kStampLabel,
      state.lastReading.toUTC().toString(kTimeFormat) + kUtcMark + QStringLiteral(" , ") + kTimeLabel,
      QString::number(state.level) + QStringLiteral(" , ") + kLevelLabel,
      QString::number(state.exp) + QStringLiteral(" , ") + kExpLabel,
  };
  QStringList all = lines;
  if (!state.recordSoFar.isEmpty()) all << state.recordSoFar + QStringLiteral(" , ") + kRecordLabel;
  if (state.recordReading) all << RecordReadingText(*state.recordReading) + QStringLiteral(" , ") + kRecordReadingLabel;
  return all.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

std::optional<MeasurementState> ParseMeasurementState(const QString& text) {
  QStringList lines = text.split(QStringLiteral("\r\n"));
  if (lines.isEmpty() || lines.takeFirst() != kFormatLine) return std::nullopt;
  std::optional<QString> stamp, time, level, exp, record, recordReading;
  for (const QString& line : lines) {
    if (line.isEmpty()) continue;
    const qsizetype comma = line.lastIndexOf(QChar(','));
    if (comma < 0) return std::nullopt;
    const QString value = TrimConfigBlanks(line.left(comma));
    const QString label = TrimConfigBlanks(line.mid(comma + 1));
    std::optional<QString>* slot = label == kStampLabel ? &stamp
                                   : label == kTimeLabel ? &time
                                   : label == kLevelLabel ? &level
                                   : label == kExpLabel ? &exp
                                   : label == kRecordLabel ? &record
                                   : label == kRecordReadingLabel ? &recordReading
                                                        : nullptr;
    if (!slot || slot->has_value()) return std::nullopt;  // unknown or repeated: not a file we wrote
    *slot = value;
  }
  if (!stamp || !time || !level || !exp) return std::nullopt;

  MeasurementState state;
  if (stamp->size() != 12 || !AllDigits(*stamp) ||
      !QDateTime::fromString(*stamp, QStringLiteral("yyyyMMddHHmm")).isValid()) {
    return std::nullopt;
  }
  state.logStamp = *stamp;
  if (time->endsWith(kUtcMark)) {
    state.lastReading = QDateTime::fromString(time->chopped(kUtcMark.size()), kTimeFormat);
    state.lastReading.setTimeSpec(Qt::UTC);
  } else {
    state.lastReading = QDateTime::fromString(*time, kTimeFormat);
  }
  if (!state.lastReading.isValid()) return std::nullopt;
  const std::optional<std::int32_t> levelValue = ConfigInteger(*level);
  if (!levelValue || *levelValue < 1) return std::nullopt;
  state.level = *levelValue;
  bool ok = false;
  state.exp = exp->toLongLong(&ok);
  if (!ok || !AllDigits(*exp) || state.exp <= 0) return std::nullopt;
  state.recordSoFar = record.value_or(QString());
  if (recordReading) {
    state.recordReading = ParseRecordReading(*recordReading);
    if (!state.recordReading) return std::nullopt;
  }
  return state;
}

bool SaveMeasurementState(const QString& programFolder, const MeasurementState& state) {
  return ReplaceFile(MeasurementStatePath(programFolder), EncodeCp932(MeasurementStateText(state)));
}

void ClearMeasurementState(const QString& programFolder) { QFile::remove(MeasurementStatePath(programFolder)); }

StoredMeasurement ReadMeasurementState(const QString& programFolder) {
  const QString path = MeasurementStatePath(programFolder);
  const QFileInfo info(path);
  if (!info.exists() && !info.isSymLink()) return {};
  // A pipe, a device or a folder of that name could block the start for
  // ever, and a huge file is not ours either: neither is opened.
  if (!info.isFile() || info.size() > kReadLimit) return {StoredMeasurement::Kind::Damaged, std::nullopt};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {StoredMeasurement::Kind::Damaged, std::nullopt};
  const QByteArray bytes = file.read(kReadLimit + 1);
  if (file.error() != QFileDevice::NoError || bytes.size() > kReadLimit) {
    return {StoredMeasurement::Kind::Damaged, std::nullopt};
  }
  // A byte that is not Shift_JIS would decode to a replacement character and
  // could still look like a number; such a file is not trusted.
  const QString text = DecodeCp932(bytes);
  if (EncodeCp932(text) != bytes) return {StoredMeasurement::Kind::Damaged, std::nullopt};
  std::optional<MeasurementState> state = ParseMeasurementState(text);
  if (!state) return {StoredMeasurement::Kind::Damaged, std::nullopt};
  return {StoredMeasurement::Kind::Usable, std::move(state)};
}

QString SetAsideMeasurementState(const QString& programFolder) {
  const QString path = MeasurementStatePath(programFolder);
  QString aside = path + QStringLiteral(".bad");
  QFile::remove(aside);
  if (QFile::rename(path, aside)) return aside;
  QFile::remove(path);
  return QString();
}
