#include "main_window/live_meter.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "accounting/percent_reading.h"
#include "capture/clock.h"
#include "main_window/compact_view.h"
#include "main_window/live_panel.h"
#include "main_window/live_sampler.h"
#include "main_window/rate_chart.h"

LiveMeter::LiveMeter(ProgramState& state, Services& services, Views views, std::function<bool()> monitoring,
                     std::function<QDateTime()> nextCapture, QObject* parent)
    : QObject(parent),
      state_(state),
      services_(services),
      views_(views),
      monitoring_(std::move(monitoring)),
      nextCapture_(std::move(nextCapture)) {
  refresh_ = new QTimer(this);
  refresh_->setInterval(1000);
  connect(refresh_, &QTimer::timeout, this, &LiveMeter::RefreshStateLine);
}

LiveMeter::~LiveMeter() { delete compact_.data(); }

void LiveMeter::SetExpTable(std::shared_ptr<const ExpTable> table) {
  expTable_ = table;
  session_.SetExpTable(std::move(table));
}

CompactView* LiveMeter::Compact() const { return compact_.data(); }

void LiveMeter::Started() {
  session_.Start(services_.clock.Now(), services_.clock.MonotonicMs());
  game_ = GameSeen::Unknown;
  behindSince_ = QDateTime();
  ShowFigures();
  UpdateRefreshTimer();
  RefreshStateLine();
}

QString LiveMeter::Stopped() {
  const bool wasRunning = session_.Running();
  session_.Stop(services_.clock.Now(), services_.clock.MonotonicMs());
  UpdateRefreshTimer();
  RefreshStateLine();
  return wasRunning ? session_.SummaryLine() : QString();
}

std::optional<LiveMeter::TickReading> LiveMeter::Tick(const PatternMatcher* matcher) {
  const bool sample = matcher && state_.settings.liveSampling;
  const LiveObservation seen = ObserveGame(services_.windows, state_.settings, sample ? matcher : nullptr);
  if (seen.game == GameSeen::Behind && game_ != GameSeen::Behind) behindSince_ = services_.clock.Now();
  game_ = seen.game;
  std::optional<TickReading> read;
  if (seen.reading) {
    const LiveReading raw = *seen.reading;
    const ExpFromArea fromArea =
        ExperienceOfReading(raw.level, raw.exp, state_.settings.expPercentDecimals, *expTable_);
    // A percentage the table cannot convert tells the session nothing.
    if (fromArea.exp > 0) {
      const LiveReading reading{raw.level, fromArea.exp};
      read = TickReading{reading, session_.Add(reading.level, reading.exp, services_.clock.MonotonicMs())};
      ShowFigures();
    }
  }
  RefreshStateLine();
  return read;
}

void LiveMeter::ShowFigures() {
  const SessionFigures figures = session_.Figures(services_.clock.MonotonicMs());
  if (views_.panel) views_.panel->Show(figures);
  if (views_.chart) views_.chart->SetPoints(session_.Points());
  if (compact_) compact_->Show(figures);
}

void LiveMeter::BeginManualWait(const QString& command, double ms) {
  manualCommand_ = command;
  manualWaitEnd_ = services_.clock.Now().addMSecs(static_cast<qint64>(ms));
  UpdateRefreshTimer();
  RefreshStateLine();
}

void LiveMeter::EndManualWait() {
  manualCommand_.clear();
  manualWaitEnd_ = QDateTime();
  UpdateRefreshTimer();
  RefreshStateLine();
}

void LiveMeter::UpdateRefreshTimer() {
  // Nothing counts down while stopped: no wake-ups at all then.
  const bool needed = monitoring_() || !manualCommand_.isEmpty();
  if (needed && !refresh_->isActive()) refresh_->start();
  if (!needed) refresh_->stop();
}

QString LiveMeter::StateText() const {
  StateLineInput in;
  in.now = services_.clock.Now();
  in.monitoring = monitoring_();
  in.game = game_;
  in.behindSince = behindSince_;
  in.nextCapture = nextCapture_();
  in.manualCommand = manualCommand_;
  in.manualWaitEnd = manualWaitEnd_;
  return StateLineText(in);
}

void LiveMeter::RefreshStateLine() {
  if (!views_.stateLine) return;
  const QString text = StateText();
  if (views_.stateLine->text() != text) views_.stateLine->setText(text);
}

void LiveMeter::CloseCompactView() {
  if (compact_) compact_->close();
}

void LiveMeter::ToggleCompactView() {
  if (compact_ && compact_->isVisible()) {
    compact_->hide();
    return;
  }
  if (!compact_) {
    compact_ = new CompactView([this](QPoint at) {
      state_.settings.compactViewX = at.x();
      state_.settings.compactViewY = at.y();
    });
    connect(compact_.data(), &CompactView::mainWindowWanted, this, [this] {
      if (!views_.mainWindow) return;
      views_.mainWindow->showNormal();
      views_.mainWindow->raise();
      views_.mainWindow->activateWindow();
    });
  }
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
  const Settings& s = state_.settings;
  const bool placed = !(s.compactViewX == -1 && s.compactViewY == -1);
  const QPoint remembered = placed ? QPoint(s.compactViewX, s.compactViewY) : QPoint(-100000, -100000);
  compact_->move(CompactViewPosition(remembered, compact_->size(), screens));
  compact_->Show(session_.Figures(services_.clock.MonotonicMs()));
  compact_->show();
  compact_->raise();
}
