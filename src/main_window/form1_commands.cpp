// The main window's manual commands: single capture, single recognition,
// pattern setting, saving captures for patterns and the screenshot.

#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include "capture/capture_area.h"
#include "capture/clock.h"
#include "capture/window_system.h"
#include "dialogs/form3.h"
#include "main_window/form1.h"
#include "main_window/main_texts.h"
#include "persistence/debug_trace.h"

namespace {

// Writes a picture as a Windows bitmap, replacing any file of that name;
// the folder is made when it has gone.
bool SaveBitmap(const QImage& picture, const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  return picture.save(path, "BMP");
}

}  // namespace

void Form1::cmdCapture_Click() {
  if (ended_) return;
  monitor_.ManualCapture();
}

void Form1::cmdRecognize_Click() {
  if (ended_) return;
  const double t0 = services_.clock.TickCountUnsigned();
  monitor_.Recognize([this, t0] {
    if (ended_) return;
    const double t1 = services_.clock.TickCountUnsigned();
    const double seconds = TickDifferenceMs(t0, t1) / 1000;
    const QString elapsed = ElapsedText(seconds);
    lblElapse_->setText(ShownElapsedText(seconds));
    services_.trace.Event(QStringLiteral(" SingleRecognize(") + elapsed + QStringLiteral(")･･･End "));
  });
}

void Form1::menuPattern_Click(int area) {
  if (ended_ || !form3_) return;
  services_.trace.Event(QStringLiteral(" Pattern Setting Start･･･"));
  form3_->OpenForArea(area);
  if (ended_) return;
  services_.trace.Event(QStringLiteral(" Pattern Setting") + QString::number(area) + QStringLiteral("･･･End "));
}

void Form1::TeachFailedReading() {
  if (ended_ || !form3_ || !monitor_.StateTellsReadingFailure()) return;
  const std::optional<int> area = monitor_.FailingArea();
  if (!area) return;
  services_.trace.Event(QStringLiteral(" Pattern Setting Start･･･"));
  form3_->OpenToTeach(*area, monitor_.FailedCapture(*area));
  if (ended_) return;
  services_.trace.Event(QStringLiteral(" Pattern Setting") + QString::number(*area) + QStringLiteral("･･･End "));
}

void Form1::menuPatternSave_Click() {
  if (ended_) return;
  for (int area = 0; area < 2; ++area) {
    const QString path = PatternCaptureFileName(state_.programFolder, area, services_.clock.Now());
    // Nothing captured yet: nothing to save, and nothing to trace.
    const QImage& capture = monitor_.Capture(area);
    if (capture.isNull()) return;
    if (!SaveBitmap(capture, path)) ShowNotice(CannotSaveNotice(path));
  }
  services_.trace.Event(QStringLiteral(" Pattern Save･･･End "));
}

void Form1::menuPrtScr_Click() {
  if (ended_) return;
  monitor_.ManualWait(MonitoringCycle::kPrintScreenCommand, MonitoringCycle::kManualWaitMs, [this] {
    if (!ended_) SaveScreenshot();
  });
}

void Form1::SaveScreenshot() {
  WindowSystem& windows = services_.windows;
  const std::optional<QRect> outer = windows.OuterRect(windows.ForegroundWindow());
  const QString path = ScreenshotFileName(state_.programFolder, services_.clock.Now());
  CaptureRegion region;
  if (outer) {
    region.ex = outer->width();
    region.ey = outer->height();
  }
  if (state_.settings.beepBeep) windows.Beep();
  const QImage picture = CaptureForegroundArea(windows, region);
  if (picture.isNull()) {
    ShowNotice(CannotCaptureNotice());
  } else if (!SaveBitmap(picture, path)) {
    ShowNotice(CannotSaveNotice(path));
  }
  show();
  raise();
  activateWindow();
  services_.trace.Event(QStringLiteral(" Print Screen･･･End "));
}
