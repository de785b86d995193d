#pragma once
// What the monitoring cycle tells the windows (and whoever else listens):
// each call says that something happened, with what a window needs to draw
// it. A listener overrides what it shows; the rest does nothing. Calls come
// on the user-interface thread, possibly from inside a wait of the cycle.

#include <QImage>
#include <QString>
#include <vector>

#include "accounting/session_model.h"
#include "history/measurement_record.h"
#include "monitoring/alerts.h"

class MonitoringListener {
 public:
  virtual ~MonitoringListener() = default;

  // Text for the on-screen log, line ends (CR LF) included; `scrollToEnd`:
  // the newest line must come into view.
  virtual void LogAppended(const QString& /*text*/, bool /*scrollToEnd*/) {}

  // Monitoring began (Run, auto start, a measurement continued) or ended
  // (Stop, the game lost with a log file active, the program ending).
  virtual void MonitoringChanged(bool /*monitoring*/) {}

  // A capture picture of `area` (0 level, 1 experience); null: emptied.
  virtual void CaptureChanged(int /*area*/, const QImage& /*picture*/) {}

  // Recognition's caption of `area`: "認識中…", the digits read, "認識NG".
  virtual void CaptionChanged(int /*area*/, const QString& /*caption*/) {}

  // Debug mode: digit `digit` of `area` is compared at column `x` of its
  // capture; a window may show both side by side.
  virtual void PreviewShown(int /*area*/, int /*digit*/, int /*x*/) {}

  // The live figures changed (a reading, Run, Stop). `points` stay with the
  // session: a listener may keep a reference until the next call, never a
  // copy it must refresh itself.
  virtual void FiguresChanged(const SessionFigures& /*figures*/, const std::vector<SessionPoint>& /*points*/) {}

  // What the state line says may have changed (the game seen, the due time,
  // a manual command's countdown begun or ended).
  virtual void StateChanged() {}

  // An alert was raised (with the text the player is told) or cleared.
  virtual void AlertChanged(AlertKind /*kind*/, bool /*raised*/, const QString& /*text*/) {}

  // The player was warned with a box that waits for nobody (the game
  // lost): a window may repeat it where it shows news, the tray say.
  virtual void Warned(const QString& /*title*/, const QString& /*text*/) {}

  // A gain was logged at `rate` thousands per hour.
  virtual void RateLogged(double /*rate*/) {}

  // The measurement's memo changed (typed in a window, or a continued
  // measurement brought its own back).
  virtual void MemoChanged(const QString& /*memo*/) {}

  // A measurement ended and its record went to the sessions file (or was to:
  // it may not have reached it).
  virtual void MeasurementKept(const MeasurementRecord& /*record*/) {}

  // A level-up or the goal reached, to tell the player once (the on-screen
  // log has had its line already).
  virtual void Announced(const QString& /*text*/) {}
};
