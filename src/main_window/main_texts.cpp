#include "main_window/main_texts.h"

#include <QDir>
#include <cmath>

QString MainWindowTitle() { return QStringLiteral("Tallymeter  ") + QStringLiteral("For ") + kGameTitle; }

Notice AlreadyRunningNotice() { return Notice{QStringLiteral("既にプログラムは起動しています。"), QStringLiteral("エラー")}; }

Notice CannotSaveNotice(const QString& path) {
  return Notice{QStringLiteral("ファイルを保存できませんでした。\r\n") + QDir::toNativeSeparators(path),
                QStringLiteral("ファイル書込みエラー")};
}

Notice CannotCaptureNotice() {
  return Notice{QStringLiteral("前面のウィンドウをキャプチャできませんでした。"), QStringLiteral("エラー")};
}

QString PatternCaptureFileName(const QString& programFolder, int area, const QDateTime& now) {
  return programFolder + QStringLiteral("/Pattern/Capture") + QString::number(area) +
         now.toString(QStringLiteral("_MMddhhmmss")) + QStringLiteral(".bmp");
}

QString ScreenshotFileName(const QString& programFolder, const QDateTime& now) {
  return programFolder + QStringLiteral("/PrtScr") + now.toString(QStringLiteral("_yyyyMMddhhmmss")) +
         QStringLiteral(".bmp");
}

double TickDifferenceMs(double t0, double t1) {
  constexpr double kWrap = 4294967296.0;
  const double d = t1 - t0;
  return d < 0 ? d + kWrap : d;
}

QString ElapsedText(double seconds) {
  // Fixed notation with '.' whatever the locale; never "-0.000".
  const double shown = std::round(seconds * 1000) / 1000;
  return QString::number(shown == 0 ? 0.0 : shown, 'f', 3) + QStringLiteral("秒");
}
