#include "monitoring/monitoring_texts.h"

#include <QDir>

Notice GameMissingNotice() { return Notice{kGameTitle + QStringLiteral("が起動していません"), QStringLiteral("エラー")}; }

QString GameLostStopText(const QString& time) {
  return kGameTitle + QStringLiteral("が見つからないため ") + time + QStringLiteral(" に監視を停止しました");
}

QString ManualCaptureNotInFrontText() {
  return QStringLiteral("キャプチャ: 待つ間にゲームが前面に来なかったため、取り込みませんでした");
}

QString ManualCaptureMissingText() {
  return QStringLiteral("キャプチャ: ") + kGameTitle + QStringLiteral("が見つからないため、取り込みませんでした");
}

Notice ContinuedLogMissingNotice(const QString& path) {
  return Notice{QStringLiteral("続ける計測のログファイルが見つからないため、新しいログファイルに書き始めます。\r\n") +
                    QDir::toNativeSeparators(path),
                QStringLiteral("計測の再開")};
}

Notice MeasurementStateUnsavedNotice(const QString& path) {
  return Notice{QStringLiteral("計測の記録を保存できません。このまま異常終了すると、この計測は再開できません。\r\n") +
                    QDir::toNativeSeparators(path),
                QStringLiteral("計測の記録")};
}
