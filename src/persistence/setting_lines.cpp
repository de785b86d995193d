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
};

template <class... Visitors>
struct Overloaded : Visitors... {
  using Visitors::operator()...;
};

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
