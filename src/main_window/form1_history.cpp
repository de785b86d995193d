// What the main window shows of the history beside the live figures: the
// memo of the measurement (here and in the compact view, the recent ones
// offered), the goal fed with the live rate and the last 7 days' pace, and
// a level-up or a reached goal in the tray.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

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

void Form1::MeasurementKept(const MeasurementRecord& /*record*/) {
  ShowMemoEverywhere();  // the memo joins the recent ones
  RefreshPace();
  ShowGoal(monitor_.Figures());
}

void Form1::Announced(const QString& text) {
  if (tray_) tray_->Notify(QStringLiteral("Tallymeter"), text);
}

void Form1::RefreshPace() {
  const SessionsRead read = ReadSessionsFile(state_.settings.saveFolder);
  pace_ = PaceOfRecords(read.records, services_.clock.Now());
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
