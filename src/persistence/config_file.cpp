#include "persistence/config_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "persistence/config_fields.h"
#include "persistence/config_text_decoding.h"
#include "persistence/file_system.h"
#include "persistence/save_folder_text.h"
#include "persistence/setting_lines.h"
#include "persistence/text_file.h"

namespace {

const QString kReadMode = QStringLiteral("READ");
const QString kInitMode = QStringLiteral("INIT");
const QString kSaveMode = QStringLiteral("SAVE");

const QString kLineEnd = QStringLiteral("\r\n");
const QString kHere = QStringLiteral(".");
const QString kFolderSeparator = QStringLiteral(" , ");

// Far more than any configuration file holds; only this much of a stray
// large file is looked at.
constexpr qint64 kReadLimit = 64 * 1024;

Notice UnreadableNotice() {
  return Notice{QCoreApplication::translate("ConfigFile", "読込みできない設定ファイルです\r\n初期値で継続します\r\n"),
                QCoreApplication::translate("ConfigFile", "設定ファイル読込み")};
}

Notice DefaultedNotice(const QStringList& labels) {
  return Notice{QCoreApplication::translate("ConfigFile", "設定ファイルの次の項目は値が使えないため、初期値にしました。\r\n%1")
                    .arg(labels.join(QStringLiteral("\r\n"))),
                QCoreApplication::translate("ConfigFile", "設定ファイル読込み")};
}

Notice SaveFailedNotice() {
  return Notice{QCoreApplication::translate("ConfigFile", "設定をファイルに保存できませんでした。"),
                QCoreApplication::translate("ConfigFile", "設定ファイル書き込み")};
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

// Far beyond any screen (Qt's own limit on a window's size), and far enough
// from the ends of a 32-bit integer that a position plus a size cannot
// overflow wherever they are added.
constexpr std::int32_t kScreenLimit = 16'777'215;

std::int32_t OnScreen(std::int32_t value) { return std::clamp(value, -kScreenLimit, kScreenLimit); }

void ClampToScreen(Settings& s) {
  for (CaptureRegion& region : s.captureRegions) {
    for (std::int32_t* value : {&region.sx, &region.sy, &region.ex, &region.ey}) *value = OnScreen(*value);
  }
  s.compactViewX = OnScreen(s.compactViewX);
  s.compactViewY = OnScreen(s.compactViewY);
  s.mainWindowX = OnScreen(s.mainWindowX);
  s.mainWindowY = OnScreen(s.mainWindowY);
  s.mainWindowWidth = std::clamp(s.mainWindowWidth, 0, kScreenLimit);
  s.mainWindowHeight = std::clamp(s.mainWindowHeight, 0, kScreenLimit);
}

bool SamePlaces(const Settings& a, const Settings& b) {
  return a.compactViewX == b.compactViewX && a.compactViewY == b.compactViewY && a.mainWindowX == b.mainWindowX &&
         a.mainWindowY == b.mainWindowY && a.mainWindowWidth == b.mainWindowWidth &&
         a.mainWindowHeight == b.mainWindowHeight;
}

// A text value that came with bytes that are not Shift_JIS (marked by the
// decoding) or with control characters (a NUL) is not what the player wrote.
bool TextDamaged(const QString& text) {
  return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
    return c == QChar(QChar::ReplacementCharacter) || c.unicode() < 0x20 || c.unicode() == 0x7F;
  });
}

// Values read whole that cannot be used as they stand get their defaults;
// true when there was one. The log folder's default is the program folder,
// written "." in the file.
bool RepairDamagedValues(Settings& s) {
  const Settings defaults = Settings::Defaults(kHere);
  bool damaged = false;
  if (TextDamaged(s.saveFolder)) {
    s.saveFolder = kHere;
    damaged = true;
  }
  // The options dialog never lets such a name through; a file edited by hand
  // could send the logs out of their folder ("../../escaped").
  if (TextDamaged(s.saveFile) || !FileNameUsable(s.saveFile)) {
    s.saveFile = defaults.saveFile;
    damaged = true;
  }
  return damaged;
}

bool ReadRegion(FieldReader& in, CaptureRegion& region) {
  return in.Integer(region.sx) && in.Integer(region.sy) && in.Integer(region.ex) && in.Integer(region.ey) &&
         in.Skip();
}

std::optional<Settings> ReadConfig(const QString& path, const QString& programFolder, bool& damaged,
                                   QStringList* defaulted = nullptr) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.read(kReadLimit);
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  std::optional<Settings> settings = ParseConfigFileText(DecodeConfigText(bytes), &damaged, defaulted);
  if (settings) settings->saveFolder = ResolvedSaveFolder(settings->saveFolder, programFolder);
  return settings;
}

std::optional<Notice> Save(const Settings& settings, const QString& programFolder) {
  // Written beside the old file and put in its place only when complete, so
  // a crash or a full disk leaves the previous settings readable.
  // A folder or name that Shift_JIS cannot spell would come back as a
  // different one; better to keep the old file and say so. A log folder
  // inside or near the program folder is written relative to it then.
  const std::optional<QString> folder = StoredSaveFolder(settings.saveFolder, programFolder);
  if (!folder) return SaveFailedNotice();
  Settings stored = settings;
  stored.saveFolder = *folder;
  const QString text = ConfigFileText(stored);
  if (!FitsCp932(text)) return SaveFailedNotice();
  // A file that is a link to a device would take the text and keep nothing.
  if (!ReplaceFile(ConfigFilePath(programFolder), EncodeCp932(text))) return SaveFailedNotice();
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

std::optional<Settings> ParseConfigFileText(const QString& text, bool* damaged, QStringList* defaulted) {
  FieldReader in(text);
  Settings s;
  const bool ok = ReadRegion(in, s.captureRegions[0]) && ReadRegion(in, s.captureRegions[1]) &&
                  in.Flag(s.autoStart) && in.Skip() && in.Integer(s.captureInterval) && in.Skip() &&
                  in.Flag(s.beepBeep) && in.Skip() && in.FolderAndFile(s.saveFolder, s.saveFile) &&
                  in.Flag(s.saveCsv) && in.Skip() && in.Flag(s.saveDistance) && in.Skip() &&
                  in.Integer(s.lag) && in.Skip();
  if (!ok) return std::nullopt;
  const QStringList outOfRange = ReadAddedSettingLines(in.LinesAfterLastField(), s);
  if (defaulted) *defaulted = outOfRange;
  const bool damagedValue = RepairDamagedValues(s);
  ClampToScreen(s);
  if (damaged) *damaged = damagedValue;
  return s;
}

std::optional<Notice> ConfigFile(const QString& mode, Settings& settings, const QString& programFolder) {
  const std::vector<Notice> notices = ConfigFileNotices(mode, settings, programFolder);
  if (notices.empty()) return std::nullopt;
  return notices.front();
}

bool SaveWindowPlaces(const Settings& current, const QString& programFolder) {
  bool damaged = false;
  QStringList defaulted;  // told at the next start, not changed unseen now
  std::optional<Settings> stored = ReadConfig(ConfigFilePath(programFolder), programFolder, damaged, &defaulted);
  if (!stored || damaged || !defaulted.isEmpty()) return false;
  if (SamePlaces(*stored, current)) return true;
  stored->compactViewX = current.compactViewX;
  stored->compactViewY = current.compactViewY;
  stored->mainWindowX = current.mainWindowX;
  stored->mainWindowY = current.mainWindowY;
  stored->mainWindowWidth = current.mainWindowWidth;
  stored->mainWindowHeight = current.mainWindowHeight;
  return !Save(*stored, programFolder);
}

std::vector<Notice> ConfigFileNotices(const QString& mode, Settings& settings, const QString& programFolder) {
  const auto list = [](std::optional<Notice> notice) {
    return notice ? std::vector<Notice>{*notice} : std::vector<Notice>{};
  };
  if (mode == kReadMode) {
    const QString path = ConfigFilePath(programFolder);
    // Something that is not a plain file (a pipe, a device, a folder) is
    // unreadable without being opened, which could block for ever; it is
    // neither copied nor replaced.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
      settings = Settings::Defaults(programFolder);
      return {UnreadableNotice(), SaveFailedNotice()};
    }
    if (!PathExists(path)) return list(InitAndSave(settings, programFolder));
    bool damaged = false;
    QStringList defaulted;
    std::optional<Settings> read = ReadConfig(path, programFolder, damaged, &defaulted);
    if (read && !damaged && defaulted.isEmpty()) {
      settings = *read;
      return {};
    }
    // The whole file unreadable: every value at its default; some values
    // damaged: those at theirs, the others as read. Without a copy kept, the
    // user's file is not overwritten: the settings run in memory only.
    // Either way, settings that did not reach the file are said so:
    // otherwise the same message returns at every start with no hint why.
    settings = read ? *read : Settings::Defaults(programFolder);
    // Only added lines out of their range: the file is readable, and the
    // player learns which of its settings are at their defaults now.
    std::vector<Notice> notices{read && !damaged ? DefaultedNotice(defaulted) : UnreadableNotice()};
    std::optional<Notice> saved = SaveFailedNotice();
    if (KeepUnreadable(path)) saved = Save(settings, programFolder);
    if (saved) notices.push_back(*saved);
    return notices;
  }
  if (mode == kInitMode) return list(InitAndSave(settings, programFolder));
  if (mode == kSaveMode) return list(Save(settings, programFolder));
  return {};
}

DisplayLanguage StoredDisplayLanguage(const QString& programFolder) {
  const QString path = ConfigFilePath(programFolder);
  if (!QFileInfo(path).isFile()) return DisplayLanguage::Automatic;
  bool damaged = false;
  const std::optional<Settings> stored = ReadConfig(path, programFolder, damaged);
  return stored ? stored->displayLanguage : DisplayLanguage::Automatic;
}

bool SaveRecentMemos(const QString& programFolder, const QStringList& memos) {
  const QString path = ConfigFilePath(programFolder);
  if (!QFileInfo(path).isFile()) return false;
  bool damaged = false;
  QStringList defaulted;
  std::optional<Settings> stored = ReadConfig(path, programFolder, damaged, &defaulted);
  if (!stored || damaged || !defaulted.isEmpty()) return false;
  if (stored->recentMemos == memos) return true;
  stored->recentMemos = memos;
  return !Save(*stored, programFolder);
}
