#include "persistence/setting_lines.h"

#include <QDate>
#include <QStringList>
#include <array>
#include <optional>

#include "base/memo_text.h"
#include "persistence/config_fields.h"

namespace {

template <std::int32_t kLeast, std::int32_t kMost>
bool Within(std::int32_t value) {
  return value >= kLeast && value <= kMost;
}

// No date, or a day of the years a date box offers.
bool GoalDateUsable(std::int32_t value) {
  return value == 0 || (value >= 10000101 && QDate(value / 10000, value / 100 % 100, value % 100).isValid());
}

const std::array kLines{
    SettingLine{u"ライブ計測", &Settings::liveSampling},
    SettingLine{u"ライブパネル表示", &Settings::showLivePanel},
    SettingLine{u"コンパクト表示X", &Settings::compactViewX},
    SettingLine{u"コンパクト表示Y", &Settings::compactViewY},
    SettingLine{u"認識疑義チェック", &Settings::misreadGuard},
    SettingLine{u"警告までの分数", &Settings::alertMinutes, Within<1, 1440>},
    SettingLine{u"警告をデスクトップ通知", &Settings::alertNotify},
    SettingLine{u"警告を音で知らせる", &Settings::alertBeep},
    SettingLine{u"警告を測定結果に表示", &Settings::alertLogLine},
    SettingLine{u"領域を選んだウィンドウの幅", &Settings::areasWindowWidth, Within<0, 1 << 24>},
    SettingLine{u"領域を選んだウィンドウの高さ", &Settings::areasWindowHeight, Within<0, 1 << 24>},
    SettingLine{u"前面でなくても見えていれば読む", &Settings::readWhenVisible},
    SettingLine{u"目標レベル", &Settings::goalLevel, Within<0, 999>},
    SettingLine{u"目標日付(年月日)", &Settings::goalDate, GoalDateUsable},
    SettingLine{u"経験値欄の%表示の小数桁数(-1は経験値表示)", &Settings::expPercentDecimals, Within<-1, 6>},
    SettingLine{u"死亡で経験値が減る", &Settings::deathCostsExp},
    SettingLine{u"レベルアップと目標到達を知らせる", &Settings::announce},
    SettingLine{u"メイン画面X", &Settings::mainWindowX},
    SettingLine{u"メイン画面Y", &Settings::mainWindowY},
    SettingLine{u"メイン画面の幅", &Settings::mainWindowWidth},
    SettingLine{u"メイン画面の高さ", &Settings::mainWindowHeight},
    SettingLine{u"表示言語", &Settings::displayLanguage, Within<0, 2>},
    SettingLine{u"ゲームの再起動を待つ分数(0は待たない)", &Settings::gameWaitMinutes, Within<0, 1440>},
};

// The recent memos follow the table, "memo , 最近のメモ1" and so on: free
// text, so the label is after the line's last comma.
const QString kMemoLabel = QStringLiteral("最近のメモ");

// The memo's place (0 for 最近のメモ1) when `line` is one of those lines.
std::optional<qsizetype> RecentMemoLine(const QString& line, QString& memo) {
  const qsizetype comma = line.lastIndexOf(QChar(','));
  if (comma < 0) return std::nullopt;
  const QString label = TrimConfigBlanks(line.mid(comma + 1));
  if (!label.startsWith(kMemoLabel)) return std::nullopt;
  bool ok = false;
  const int number = label.mid(kMemoLabel.size()).toInt(&ok);
  if (!ok || number < 1 || number > kRecentMemoCount) return std::nullopt;
  memo = MemoText(TrimConfigBlanks(line.left(comma)));
  return number - 1;
}

template <class... Visitors>
struct Overloaded : Visitors... {
  using Visitors::operator()...;
};
// Spelled out: clang before 17 does not deduce an aggregate's arguments.
template <class... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;

}  // namespace

std::span<const SettingLine> AddedSettingLines() { return kLines; }

QStringList AddedSettingLinesText(const Settings& settings) {
  QStringList lines;
  for (const SettingLine& line : kLines) {
    const QString value = std::visit(
        Overloaded{[&](bool Settings::*flag) { return FlagConfigField(settings.*flag); },
                   [&](std::int32_t Settings::*number) { return IntConfigField(settings.*number, 8); },
                   [&](DisplayLanguage Settings::*language) {
                     return IntConfigField(static_cast<std::int32_t>(settings.*language), 8);
                   }},
        line.field);
    lines << value + QStringLiteral(", ") + QString::fromUtf16(line.label);
  }
  for (qsizetype i = 0; i < settings.recentMemos.size() && i < kRecentMemoCount; ++i) {
    lines << settings.recentMemos[i] + QStringLiteral(" , ") + kMemoLabel + QString::number(i + 1);
  }
  return lines;
}

QStringList ReadAddedSettingLines(const QStringList& lines, Settings& settings) {
  const Settings defaults;
  QStringList defaulted;
  std::array<QString, kRecentMemoCount> memos;
  for (const QString& text : lines) {
    QString memo;
    if (const std::optional<qsizetype> place = RecentMemoLine(text, memo)) {
      memos.at(static_cast<std::size_t>(*place)) = memo;
      continue;
    }
    const qsizetype comma = text.indexOf(QChar(','));
    if (comma < 0) continue;
    const QString value = TrimConfigBlanks(text.left(comma));
    const QString label = TrimConfigBlanks(text.mid(comma + 1));
    for (const SettingLine& line : kLines) {
      if (label != QString::fromUtf16(line.label)) continue;
      const std::optional<std::int32_t> n = ConfigInteger(value);
      const bool usable = n && (!line.usable || line.usable(*n));
      const bool read = std::visit(Overloaded{[&](bool Settings::*flag) {
                                                const std::optional<bool> on = ConfigFlag(value);
                                                settings.*flag = on.value_or(defaults.*flag);
                                                return on.has_value();
                                              },
                                              [&](std::int32_t Settings::*number) {
                                                settings.*number = usable ? *n : defaults.*number;
                                                return usable;
                                              },
                                              [&](DisplayLanguage Settings::*language) {
                                                settings.*language =
                                                    usable ? static_cast<DisplayLanguage>(*n) : defaults.*language;
                                                return usable;
                                              }},
                                   line.field);
      if (!read && !defaulted.contains(label)) defaulted << label;
    }
  }
  QStringList recent;
  for (const QString& memo : memos) {
    if (!memo.isEmpty() && !recent.contains(memo)) recent << memo;
  }
  if (!recent.isEmpty()) settings.recentMemos = recent;
  return defaulted;
}
