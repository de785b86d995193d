#include "accounting/exp_table_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <set>

#include "base/cp932.h"

namespace {

// The texts' context for the translator.
struct ExpTableFile {
  Q_DECLARE_TR_FUNCTIONS(ExpTableFile)
};

QString LineProblem(qsizetype index, const QString& what) {
  //: Line number, then what is wrong with the line
  return ExpTableFile::tr("%1行目: %2").arg(index + 1).arg(what);
}

// Why the sizes are not used: the first level whose size falls.
QString FallProblem(std::int32_t level) {
  return ExpTableFile::tr("レベル%1の経験値がその前のレベルより少なくなっています").arg(level);
}

}  // namespace

std::variant<std::vector<LevelSizeLine>, QString> ParseExpTableText(const QString& text) {
  static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
  static const QRegularExpression entry(QStringLiteral("^([0-9]+)[ \t]*,[ \t]*([0-9]+)$"));
  const QStringList lines = text.split(lineEnd);
  std::vector<LevelSizeLine> sizes;
  std::set<std::int32_t> seen;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
    const QRegularExpressionMatch match = entry.match(line);
    if (!match.hasMatch()) {
      return LineProblem(i, ExpTableFile::tr("「レベル , 次のレベルまでの経験値」の形ではありません"));
    }
    bool levelOk = false;
    bool sizeOk = false;
    const qlonglong level = match.captured(1).toLongLong(&levelOk);
    const qlonglong size = match.captured(2).toLongLong(&sizeOk);
    if (!levelOk || level < 1 || level > kTopLevel) {
      return LineProblem(i, ExpTableFile::tr("レベル%1は1～%2の範囲外です").arg(match.captured(1)).arg(kTopLevel));
    }
    if (!sizeOk || size < 1 || size > kLargestLevelSize) {
      return LineProblem(i, ExpTableFile::tr("経験値%1は1～%2の範囲外です").arg(match.captured(2)).arg(kLargestLevelSize));
    }
    const auto levelValue = static_cast<std::int32_t>(level);
    if (!seen.insert(levelValue).second) return LineProblem(i, ExpTableFile::tr("レベル%1が2回あります").arg(level));
    sizes.push_back({levelValue, static_cast<std::int64_t>(size)});
  }
  if (sizes.empty()) return ExpTableFile::tr("経験値の行がひとつもありません");
  return sizes;
}

std::variant<std::vector<LevelSizeLine>, QString> ReadExpTableFile(const QString& path) {
  // A pipe or a device could block for ever when opened; a folder has no text.
  const QFileInfo info(path);
  if (!info.isFile()) return ExpTableFile::tr("通常のファイルではありません");
  if (info.size() > kExpTableFileLimit) {
    return ExpTableFile::tr("大きすぎます（%1 KBまで）").arg(kExpTableFileLimit / 1024);
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return ExpTableFile::tr("開けません");
  // The size may have changed since it was looked at.
  const QByteArray bytes = file.read(kExpTableFileLimit + 1);
  if (file.error() != QFileDevice::NoError) return ExpTableFile::tr("読み込めません");
  if (bytes.size() > kExpTableFileLimit) {
    return ExpTableFile::tr("大きすぎます（%1 KBまで）").arg(kExpTableFileLimit / 1024);
  }
  return ParseExpTableText(DecodeCp932(bytes));
}

LoadedExpTable LoadExpTable(const QString& programFolder) {
  LoadedExpTable loaded;
  auto table = std::make_shared<ExpTable>();
  struct Source {
    QString name;     // within the program folder
    QString without;  // what the table is without this file
  };
  const Source sources[] = {
      {QStringLiteral("system/") + kExpTableFileName, ExpTableFile::tr("Lv200以上の経験値が分からないまま続けます。")},
      {kExpTableFileName, ExpTableFile::tr("同梱の経験値表で続けます。")},
  };
  for (const Source& source : sources) {
    const QString path = programFolder + QLatin1Char('/') + source.name;
    const QString shown = QDir::toNativeSeparators(path);
    // The trace names the file within the program folder, so that traces of
    // runs in different folders compare equal.
    const QString traced = QDir::toNativeSeparators(source.name);
    // QFileInfo::exists is false for a link to nothing: that is no file either.
    if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink()) {
      // The player's own is there only when they put it there; without the
      // delivered one the higher levels cannot be measured, which the
      // player would otherwise learn only at level 200.
      if (&source == &sources[0]) {
        loaded.traceLines << QStringLiteral(" ExpTable not found: ") + traced;
        loaded.notices.push_back(
            {ExpTableFile::tr("同梱の経験値表が見つかりません。\r\n%1\r\nLv200以上は、このファイルがないと計測できません。")
                 .arg(shown),
             ExpTableFile::tr("経験値表の読込み")});
      }
      continue;
    }
    const auto read = ReadExpTableFile(path);
    QString problem;
    ExpTable merged = *table;
    if (const auto* text = std::get_if<QString>(&read)) {
      problem = *text;
    } else {
      for (const LevelSizeLine& line : std::get<std::vector<LevelSizeLine>>(read)) {
        merged.SetSize(line.level, line.size);
      }
      if (const std::optional<std::int32_t> fall = merged.FirstFall()) problem = FallProblem(*fall);
    }
    if (!problem.isEmpty()) {
      loaded.notices.push_back(
          {ExpTableFile::tr("経験値表のファイルを使えません。\r\n%1\r\n%2\r\n%3").arg(shown, problem, source.without),
           ExpTableFile::tr("経験値表の読込み")});
      loaded.traceLines << QStringLiteral(" ExpTable not used: ") + traced;
      continue;
    }
    *table = merged;
    loaded.traceLines << QStringLiteral(" ExpTable read: ") + traced;
  }
  loaded.table = std::move(table);
  return loaded;
}
