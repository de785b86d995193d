// The main window's side of the monitoring cycle: Run, Stop and the capture
// step hand over to the cycle (which times its own ticks); what it reports
// is drawn in the menus, the capture pictures and captions and the log.

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

#include "main_window/form1.h"

void Form1::menuRun_Click() {
  if (ended_) return;
  monitor_.Run();
}

void Form1::menuStop_Click() {
  if (ended_) return;
  monitor_.Stop();
}

void Form1::ListenToMonitor() {
  MonitoringCycle* m = &monitor_;
  connect(m, &MonitoringCycle::logAppended, this, &Form1::LogAppended);
  connect(m, &MonitoringCycle::monitoringChanged, this, &Form1::MonitoringChanged);
  connect(m, &MonitoringCycle::captureChanged, this, &Form1::CaptureChanged);
  connect(m, &MonitoringCycle::captionChanged, this, &Form1::CaptionChanged);
  connect(m, &MonitoringCycle::previewShown, this, &Form1::PreviewShown);
  connect(m, &MonitoringCycle::figuresChanged, this, &Form1::FiguresChanged);
  connect(m, &MonitoringCycle::stateChanged, this, &Form1::StateChanged);
  connect(m, &MonitoringCycle::alertChanged, this, &Form1::AlertChanged);
  connect(m, &MonitoringCycle::warned, this, &Form1::Warned);
  connect(m, &MonitoringCycle::rateLogged, this, &Form1::RateLogged);
  connect(m, &MonitoringCycle::memoChanged, this, &Form1::MemoChanged);
  connect(m, &MonitoringCycle::measurementKept, this, &Form1::MeasurementKept);
  connect(m, &MonitoringCycle::announced, this, &Form1::Announced);
}

void Form1::CaptureStep() {
  if (ended_) return;
  monitor_.CaptureStep();
}

void Form1::AppendLog(const QString& text, bool caretToEnd) {
  logText_ += text;
  // The widget keeps paragraphs, not CR LF; the text itself is kept above.
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QTextCursor end(txtLog_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(shown);
  if (caretToEnd) {
    txtLog_->moveCursor(QTextCursor::End);
    txtLog_->ensureCursorVisible();
  }
}

void Form1::LogAppended(const QString& text, bool scrollToEnd) { AppendLog(text, scrollToEnd); }

void Form1::MonitoringChanged(bool monitoring) {
  menuRun_->setEnabled(!monitoring);
  menuStop_->setEnabled(monitoring);
  menuRun_->setText(monitoring ? tr("ロギング") : tr("開始"));
  UpdateTray();
  StateChanged();
}

void Form1::CaptureChanged(int area, const QImage& picture) {
  QLabel* target = picCapture_.at(static_cast<std::size_t>(area));
  if (picture.isNull()) {
    target->clear();
  } else {
    target->setPixmap(QPixmap::fromImage(picture));
  }
}

void Form1::CaptionChanged(int area, const QString& caption) {
  lblCapture_.at(static_cast<std::size_t>(area))->setText(caption);
}

void Form1::PreviewShown(int area, int digit, int x) { ShowPreview(area, digit, x); }

void Form1::ShowPreview(int area, int digit, int x) {
  // The pattern and the captured cell under it, both magnified twice, so the
  // user can see why a column did or did not match.
  const int cellWidth = state_.patterns.cellWidth[area];
  const int cellHeight = state_.patterns.cellHeight[area];
  const auto show = [cellWidth, cellHeight](QLabel* target, const QImage& source, int left) {
    QPixmap canvas(target->size());
    canvas.fill(Qt::white);
    if (!source.isNull() && cellWidth > 0 && cellHeight > 0) {
      QPainter painter(&canvas);
      painter.drawImage(QRect(0, 0, 2 * cellWidth, 2 * cellHeight), source, QRect(left, 0, cellWidth, cellHeight));
    }
    target->setPixmap(canvas);
    target->repaint();
  };
  show(picRecognize_[0], state_.patternImages.digits[area * 10 + digit], 0);
  show(picRecognize_[1], monitor_.Capture(area), x);
}
