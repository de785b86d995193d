// What the main window shows of the history beside the live figures: the
// memo of the measurement (here and in the compact view, the recent ones
// offered), the goal fed with the live rate and the last 7 days' pace, and
// a level-up or a reached goal in the tray. The sessions file may hold
// years: it is read once, off the window's thread, for the last days only.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

#include "base/background_work.h"
#include "capture/clock.h"
#include "history/sessions_file.h"
#include "main_window/compact_view.h"
#include "main_window/form1.h"
#include "main_window/live_panel.h"
#include "main_window/memo_field.h"
#include "main_window/tray_icon.h"

void Form1::CreateMemoField() {
  auto* caption = new QLabel(tr("メモ"), this);
  caption->setObjectName(QStringLiteral("lblMemo_t"));
  cboMemo_ = NewMemoField(QStringLiteral("cboMemo"), this);
  cboMemo_->lineEdit()->setPlaceholderText(tr("狩場など"));
  cboMemo_->setToolTip(tr("この計測のメモ (狩場など)。履歴に残ります"));
  cboMemo_->setMinimumWidth(140);
  statusBar()->addPermanentWidget(caption);
  statusBar()->addPermanentWidget(cboMemo_);
  connect(cboMemo_, &QComboBox::editTextChanged, this, &Form1::MemoTyped);
}

void Form1::MemoTyped(const QString& text) {
  if (ended_) return;
  monitor_.SetMemo(text);
  ShowMemoEverywhere();
}

void Form1::ShowMemoEverywhere() {
  const QString& memo = monitor_.Memo();
  const QStringList& recent = state_.settings.recentMemos;
  ShowMemoChoices(*cboMemo_, memo, recent);
  if (compact_) compact_->ShowMemo(memo, recent);
}

void Form1::MemoChanged(const QString& /*memo*/) { ShowMemoEverywhere(); }

void Form1::MeasurementKept(const MeasurementRecord& record) {
  ShowMemoEverywhere();  // the memo joins the recent ones
  if (recentFolder_ == state_.settings.saveFolder) {
    recent_.push_back(record);
    ShowPace();
  } else {
    // Still being read, or read from another folder: read again, this
    // record with them (it is in the file already).
    ReadRecentRecords();
  }
}

void Form1::Announced(const QString& text) {
  if (tray_) tray_->Notify(QStringLiteral("Tallymeter"), text);
}

void Form1::ReadRecentRecords() {
  if (!recentReading_) recentReading_ = new BackgroundWork(this);
  const QString folder = state_.settings.saveFolder;
  const QDateTime since = services_.clock.Now().addDays(-kPaceDays);
  recentFolder_.reset();
  recentReading_->Start([this, folder, since](const BackgroundWork::Progress& progress) -> std::function<void()> {
    auto read = std::make_shared<SessionsRead>(ReadSessionsFile(folder, progress, since));
    return [this, folder, read] {
      recent_ = std::move(read->records);
      recentFolder_ = folder;
      ShowPace();
    };
  });
}

void Form1::ShowPace() {
  const QDateTime now = services_.clock.Now();
  // Weeks of running add a record each measurement: the older ones go.
  const qint64 since = WallClockMs(now.addDays(-kPaceDays));
  std::erase_if(recent_, [since](const MeasurementRecord& r) { return WallClockMs(r.end) <= since; });
  pace_ = PaceOfRecords(recent_, now);
  ShowGoal(monitor_.Figures());
}

void Form1::ShowGoal(const SessionFigures& figures) {
  const Goal goal = GoalOfSettings(state_.settings);
  const GoalFigures progress = GoalProgress(goal, figures.level, figures.exp, figures.longRate, pace_,
                                            services_.clock.Now().date(), *monitor_.ExpTableInUse());
  const GoalTexts texts = MakeGoalTexts(goal, progress);
  if (texts.shown != goalRowShown_) {
    // The panel grows by the goal's row, the log gives it the room.
    goalRowShown_ = texts.shown;
    ApplyLayout();
  }
  panelLive_->ShowGoal(texts);
  if (compact_) compact_->ShowGoal(texts);
}
