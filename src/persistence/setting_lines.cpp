#include "persistence/setting_lines.h"

#include <QStringList>
#include <array>
#include <optional>

#include "persistence/config_fields.h"

namespace {

const std::array kLines{
    SettingLine{u"ライブ計測", &Settings::liveSampling},
    SettingLine{u"ライブパネル表示", &Settings::showLivePanel},
    SettingLine{u"コンパクト表示X", &Settings::compactViewX},
    SettingLine{u"コンパクト表示Y", &Settings::compactViewY},
    SettingLine{u"認識疑義チェック", &Settings::misreadGuard},
    SettingLine{u"警告までの分数", &Settings::alertMinutes},
    SettingLine{u"警告をデスクトップ通知", &Settings::alertNotify},
    SettingLine{u"警告を音で知らせる", &Settings::alertBeep},
    SettingLine{u"警告を測定結果に表示", &Settings::alertLogLine},
    SettingLine{u"経験値欄の%表示の小数桁数(-1は経験値表示)", &Settings::expPercentDecimals},
    SettingLine{u"死亡で経験値が減る", &Settings::deathCostsExp},
};

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
                   [&](std::int32_t Settings::*number) { return IntConfigField(settings.*number, 8); }},
        line.field);
    lines << value + QStringLiteral(", ") + QString::fromUtf16(line.label);
  }
  return lines;
}

void ReadAddedSettingLines(const QStringList& lines, Settings& settings) {
  for (const QString& text : lines) {
    const qsizetype comma = text.indexOf(QChar(','));
    if (comma < 0) continue;
    const QString value = TrimConfigBlanks(text.left(comma));
    const QString label = TrimConfigBlanks(text.mid(comma + 1));
    for (const SettingLine& line : kLines) {
      if (label != QString::fromUtf16(line.label)) continue;
      std::visit(Overloaded{[&](bool Settings::*flag) {
                              if (std::optional<bool> on = ConfigFlag(value)) settings.*flag = *on;
                            },
                            [&](std::int32_t Settings::*number) {
                              if (std::optional<std::int32_t> n = ConfigInteger(value)) settings.*number = *n;
                            }},
                 line.field);
    }
  }
}
