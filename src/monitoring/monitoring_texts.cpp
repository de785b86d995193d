#include "monitoring/monitoring_texts.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("MonitoringTexts", text); }

}  // namespace

QString UnwrittenMark() { return Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "  ※ファイル未書込み")); }

QString OwnWindowOverAreaText() {
  return Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "（Tallymeterのウィンドウが読取範囲に重なっています）"));
}

QString ReadingFailureText(const std::array<QString, 2>& failures) {
  QStringList parts;
  //: Why the level area was not read: the reason follows
  if (!failures[0].isEmpty()) parts << Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "レベル: %1")).arg(failures[0]);
  //: Why the experience area was not read: the reason follows
  if (!failures[1].isEmpty()) parts << Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "経験値: %1")).arg(failures[1]);
  return parts.join(QStringLiteral(" / "));
}

QString LikelyCauseText(const std::array<QString, 2>& failures) {
  const QString reasons = ReadingFailureText(failures);
  if (reasons.isEmpty()) return {};
  //: After the alert of failing readings: what the last one found
  return Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "（最後の失敗 %1）")).arg(reasons);
}

QString AlertLogLine(const QString& date, const QString& text) {
  //: A line of the on-screen log: date, the word, the alert
  return Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "%1  警告  %2")).arg(date, text) + QStringLiteral("\r\n");
}

QString AnnouncementLogLine(const QString& date, const QString& text) {
  //: A line of the on-screen log: date, the word, the news (a level-up, a goal reached)
  return Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "%1  お知らせ  %2")).arg(date, text) + QStringLiteral("\r\n");
}

Notice GameMissingNotice() {
  return Notice{Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "%1が起動していません")).arg(kGameTitle),
                Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "エラー"))};
}

QString GameLostStopText(const QString& time) {
  return Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "%1が見つからないため %2 に監視を停止しました")).arg(kGameTitle, time);
}

QString ManualCaptureNotInFrontText() {
  return Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "キャプチャ: 待つ間にゲームが前面に来なかったため、取り込みませんでした"));
}

QString ManualCaptureMissingText() {
  return Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "キャプチャ: %1が見つからないため、取り込みませんでした")).arg(kGameTitle);
}

Notice ContinuedLogMissingNotice(const QString& path) {
  return Notice{Tr(QT_TRANSLATE_NOOP("MonitoringTexts",
                                     "続ける計測のログファイルが見つからないため、新しいログファイルに書き始めます。\r\n%1"))
                    .arg(QDir::toNativeSeparators(path)),
                Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "計測の再開"))};
}

Notice MeasurementStateUnsavedNotice(const QString& path) {
  return Notice{
      Tr(QT_TRANSLATE_NOOP("MonitoringTexts",
                           "計測の記録を保存できません。このまま異常終了すると、この計測は再開できません。\r\n%1"))
          .arg(QDir::toNativeSeparators(path)),
      Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "計測の記録"))};
}

QString LevelDigitsLearnedText(int level, const QString& digits) {
  //: On the screen only: the level area taught itself digits it had not seen
  return Tr(QT_TRANSLATE_NOOP("MonitoringTexts", "レベル%1で初めて見た数字「%2」を登録しました（レベルアップ時に自動登録）"))
      .arg(level)
      .arg(digits);
}
