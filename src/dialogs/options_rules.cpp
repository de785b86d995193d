#include "dialogs/options_rules.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

#include "dialogs/form_input_check.h"
#include "base/number_text.h"
#include "persistence/file_system.h"
#include "persistence/save_folder_text.h"
#include "persistence/text_file.h"

NumericSettingInfo InfoOf(NumericSetting setting) {
  switch (setting) {
    case NumericSetting::StartX:
      return {QCoreApplication::translate("NumericSettings", "キャプチャー始点X値を入力してください"), "5", "1200", "1"};
    case NumericSetting::StartY:
      return {QCoreApplication::translate("NumericSettings", "キャプチャー始点Y値を入力してください"), "5", "1000", "1"};
    case NumericSetting::SizeX:
      return {QCoreApplication::translate("NumericSettings", "キャプチャーサイズX値を入力してください"), "4", "200", "1"};
    case NumericSetting::SizeY:
      return {QCoreApplication::translate("NumericSettings", "キャプチャーサイズY値を入力してください"), "4", "100", "1"};
    case NumericSetting::Interval:
      return {QCoreApplication::translate("NumericSettings", "キャプチャー周期を入力してください"), "1", "1440", "5"};
    case NumericSetting::Lag:
      return {QCoreApplication::translate("NumericSettings", "ラグ回避時間を入力してください"), QString::number(kLagMin), QString::number(kLagMax), "10"};
  }
  return {};
}

std::int32_t& FieldOf(Settings& settings, NumericSetting setting, int area) {
  CaptureRegion& region = settings.captureRegions[area == 1 ? 1 : 0];
  switch (setting) {
    case NumericSetting::StartX:
      return region.sx;
    case NumericSetting::StartY:
      return region.sy;
    case NumericSetting::SizeX:
      return region.ex;
    case NumericSetting::SizeY:
      return region.ey;
    case NumericSetting::Interval:
      return settings.captureInterval;
    case NumericSetting::Lag:
      break;
  }
  return settings.lag;
}

std::optional<std::int32_t> ValueToStore(double result) {
  if (result == kInputCancelled) return std::nullopt;
  return RoundToInt32(result);
}

FolderChoice ChooseSaveFolder(const QString& typed, const QString& programFolder) {
  FolderChoice choice;
  QString base = typed;
  // PathExists takes a name with a three-letter extension for a file, so an
  // existing folder such as "logs.old" would be refused; a folder that is
  // there is never invalid.
  if (typed.size() > 2 && !PathExists(typed) && !QFileInfo(typed).isDir()) {
    choice.invalid = true;
    base = programFolder;
  }
  choice.folder = NearestFolder(base, programFolder);
  return choice;
}

namespace {

bool HasLineBreak(const QString& text) {
  return text.contains(QChar(u'\n')) || text.contains(QChar(u'\r')) || text.contains(QChar(u'\0'));
}

}  // namespace

bool SaveFolderStorable(const QString& folder, const QString& programFolder) {
  return !HasLineBreak(folder) && StoredSaveFolder(folder, programFolder).has_value();
}

bool SaveFileStorable(const QString& file) {
  return !HasLineBreak(file) && !file.contains(QChar(u',')) && FileNameUsable(file) && FitsCp932(file);
}
