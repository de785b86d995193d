#include "persistence/config_file.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "persistence/config_fields.h"
#include "persistence/file_system.h"
#include "persistence/setting_lines.h"
#include "persistence/text_file.h"

namespace {

const QString kReadMode = QStringLiteral("READ");
const QString kInitMode = QStringLiteral("INIT");
const QString kSaveMode = QStringLiteral("SAVE");

const QString kLineEnd = QStringLiteral("\r\n");
const QString kFolderSeparator = QStringLiteral(" , ");

// Far more than any configuration file holds; only this much of a stray
// large file is looked at.
constexpr qint64 kReadLimit = 64 * 1024;

Notice UnreadableNotice() {
  return Notice{QStringLiteral("読込みできない設定ファイルです\r\n初期値で継続します\r\n"), QStringLiteral("設定ファイル読込み")};
}

Notice SaveFailedNotice() {
  return Notice{QStringLiteral("設定をファイルに保存できませんでした。"), QStringLiteral("設定ファイル書き込み")};
}

QString RegionLine(const CaptureRegion& region, const QString& label) {
  return IntConfigField(region.sx, 6) + ',' + IntConfigField(region.sy, 6) + ',' + IntConfigField(region.ex, 5) +
         ',' + IntConfigField(region.ey, 5) + ',' + label;
}

// The file read as a stream of fields: a comma or a line end ends a field.
// A line that is not ended (the end of the file) gives no empty field after
// its last comma, so a file cut short runs out of fields.
class FieldReader {
 public:
  explicit FieldReader(const QString& text) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    lines_ = text.split(lineEnd);
    for (qsizetype line = 0; line < lines_.size(); ++line) {
      const bool ended = line + 1 < lines_.size();
      QStringList pieces = lines_.at(line).split(QChar(','));
      if (!ended && TrimConfigBlanks(pieces.last()).isEmpty()) pieces.removeLast();
      for (const QString& piece : pieces) fields_.push_back(Field{TrimConfigBlanks(piece), line});
    }
  }

  bool Text(QString& into) {
    if (next_ >= fields_.size()) return false;
    into = fields_[next_++].text;
    return true;
  }

  bool Skip() {
    QString ignored;
    return Text(ignored);
  }

  bool Integer(std::int32_t& into) {
    QString text;
    if (!Text(text)) return false;
    const std::optional<std::int32_t> value = ConfigInteger(text);
    if (value) into = *value;
    return value.has_value();
  }

  bool Flag(bool& into) {
    QString text;
    if (!Text(text)) return false;
    const std::optional<bool> value = ConfigFlag(text);
    if (value) into = *value;
    return value.has_value();
  }

  // The lines after the one that held the last field read.
  QStringList LinesAfterLastField() const {
    const qsizetype last = next_ == 0 ? -1 : fields_[next_ - 1].line;
    return lines_.mid(last + 1);
  }

  // The log folder, the file name and the label of their line. A folder may
  // hold commas, so when that line has more commas than its two separators,
  // the last two " , " of the line divide it; otherwise it reads as fields.
  bool FolderAndFile(QString& folder, QString& file) {
    if (next_ < fields_.size() && StartsLine(next_)) {
      const qsizetype line = fields_[next_].line;
      const QString& text = lines_.at(line);
      const qsizetype second = text.lastIndexOf(kFolderSeparator);
      const qsizetype first = second > 0 ? text.left(second).lastIndexOf(kFolderSeparator) : -1;
      if (text.count(QChar(',')) > 2 && first >= 0) {
        folder = TrimConfigBlanks(text.left(first));
        const qsizetype fileStart = first + kFolderSeparator.size();
        file = TrimConfigBlanks(text.mid(fileStart, second - fileStart));
        while (next_ < fields_.size() && fields_[next_].line == line) ++next_;
        return true;
      }
    }
    return Text(folder) && Text(file) && Skip();
  }

 private:
  struct Field {
    QString text;
    qsizetype line;
  };

  bool StartsLine(std::size_t index) const { return index == 0 || fields_[index - 1].line != fields_[index].line; }

  QStringList lines_;
  std::vector<Field> fields_;
  std::size_t next_ = 0;
};

bool ReadRegion(FieldReader& in, CaptureRegion& region) {
  return in.Integer(region.sx) && in.Integer(region.sy) && in.Integer(region.ex) && in.Integer(region.ey) &&
         in.Skip();
}

std::optional<Settings> ReadConfig(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.read(kReadLimit);
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return ParseConfigFileText(DecodeCp932(bytes));
}

std::optional<Notice> Save(const Settings& settings, const QString& programFolder) {
  // Written beside the old file and put in its place only when complete, so
  // a crash or a full disk leaves the previous settings readable.
  // A folder or name that Shift_JIS cannot spell would come back as a
  // different one; better to keep the old file and say so.
  const QString text = ConfigFileText(settings);
  if (!FitsCp932(text)) return SaveFailedNotice();
  QSaveFile file(ConfigFilePath(programFolder));
  if (!file.open(QIODevice::WriteOnly)) return SaveFailedNotice();
  const QByteArray bytes = EncodeCp932(text);
  // The explicit flush matters: commit() alone puts a file in place even
  // when the buffered bytes could not all be written (full disk).
  if (file.write(bytes) != bytes.size() || !file.flush()) {
    file.cancelWriting();
    return SaveFailedNotice();
  }
  if (!file.commit()) return SaveFailedNotice();
  return std::nullopt;
}

std::optional<Notice> InitAndSave(Settings& settings, const QString& programFolder) {
  settings = Settings::Defaults(programFolder);
  return Save(settings, programFolder);
}

// The user's unreadable file is about to be replaced by the defaults; a copy
// lets the settings be recovered by hand.
bool KeepUnreadable(const QString& path) {
  const QString kept = path + QStringLiteral(".bad");
  QFile::remove(kept);
  return QFile::copy(path, kept);
}

}  // namespace

QString ConfigFilePath(const QString& programFolder) { return programFolder + QStringLiteral("/TmConfig.ini"); }

QString ConfigFileText(const Settings& s) {
  QStringList lines{
      RegionLine(s.captureRegions[0], QStringLiteral(" キャプチャ領域1、開始座標とサイズ")),
      RegionLine(s.captureRegions[1], QStringLiteral(" キャプチャ領域2、開始座標とサイズ")),
      FlagConfigField(s.autoStart) + QStringLiteral(", 自動開始フラグ"),
      IntConfigField(s.captureInterval, 8) + QStringLiteral(", キャプチャインターバル(分)"),
      FlagConfigField(s.beepBeep) + QStringLiteral(", キャプチャ時に音を鳴らす"),
      s.saveFolder + kFolderSeparator + s.saveFile + QStringLiteral(" , 時給ファイル保存場所"),
      FlagConfigField(s.saveCsv) + QStringLiteral(", 時給ファイルをCSVで保存する"),
      FlagConfigField(s.saveDistance) + QStringLiteral(", 時給記録ファイルを一ヶ月追記する"),
      IntConfigField(s.lag, 8) + QStringLiteral(", ラグキャンセル時間(m秒)"),
  };
  lines << AddedSettingLinesText(s);
  return lines.join(kLineEnd) + kLineEnd + kLineEnd;
}

std::optional<Settings> ParseConfigFileText(const QString& text) {
  FieldReader in(text);
  Settings s;
  const bool ok = ReadRegion(in, s.captureRegions[0]) && ReadRegion(in, s.captureRegions[1]) &&
                  in.Flag(s.autoStart) && in.Skip() && in.Integer(s.captureInterval) && in.Skip() &&
                  in.Flag(s.beepBeep) && in.Skip() && in.FolderAndFile(s.saveFolder, s.saveFile) &&
                  in.Flag(s.saveCsv) && in.Skip() && in.Flag(s.saveDistance) && in.Skip() &&
                  in.Integer(s.lag) && in.Skip();
  if (!ok) return std::nullopt;
  ReadAddedSettingLines(in.LinesAfterLastField(), s);
  return s;
}

std::optional<Notice> ConfigFile(const QString& mode, Settings& settings, const QString& programFolder) {
  if (mode == kReadMode) {
    const QString path = ConfigFilePath(programFolder);
    if (!PathExists(path)) return InitAndSave(settings, programFolder);
    if (std::optional<Settings> read = ReadConfig(path)) {
      settings = *read;
      return std::nullopt;
    }
    // One message per call: the unreadable file is the news; a failure to
    // write the defaults as well shows again at the next save. Without a
    // copy kept, the user's file is not overwritten: the defaults run in
    // memory only.
    if (KeepUnreadable(path)) {
      InitAndSave(settings, programFolder);
    } else {
      settings = Settings::Defaults(programFolder);
    }
    return UnreadableNotice();
  }
  if (mode == kInitMode) return InitAndSave(settings, programFolder);
  if (mode == kSaveMode) return Save(settings, programFolder);
  return std::nullopt;
}
