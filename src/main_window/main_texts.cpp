#include "main_window/main_texts.h"

#include <QCoreApplication>
#include <QDir>
#include <cmath>

QString MainWindowTitle() { return QStringLiteral("Tallymeter  ") + QStringLiteral("For ") + kGameTitle; }

Notice AlreadyRunningNotice() { return Notice{QCoreApplication::translate("MainTexts", "既にプログラムは起動しています。"),
                QCoreApplication::translate("MainTexts", "エラー")}; }

Notice CannotSaveNotice(const QString& path) {
  return Notice{QCoreApplication::translate("MainTexts", "ファイルを保存できませんでした。\r\n%1")
                    .arg(QDir::toNativeSeparators(path)),
                QCoreApplication::translate("MainTexts", "ファイル書込みエラー")};
}

Notice CannotCaptureNotice() {
  return Notice{QCoreApplication::translate("MainTexts", "前面のウィンドウをキャプチャできませんでした。"),
                QCoreApplication::translate("MainTexts", "エラー")};
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

namespace {

QString SecondsNumber(double seconds) {
  // Fixed notation with '.' whatever the locale; never "-0.000".
  const double shown = std::round(seconds * 1000) / 1000;
  return QString::number(shown == 0 ? 0.0 : shown, 'f', 3);
}

}  // namespace

QString ElapsedText(double seconds) { return SecondsNumber(seconds) + QStringLiteral("秒"); }

QString ShownElapsedText(double seconds) {
  //: Seconds one recognition took
  return QCoreApplication::translate("MainTexts", "%1秒").arg(SecondsNumber(seconds));
}
