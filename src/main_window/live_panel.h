#pragma once
// The live figures above the log: three rates, the total gained, the active
// time, the level's progress and the time to the next level, and whether
// the meter is measuring or idle.

#include <QFrame>
#include <QString>
#include <array>

#include "accounting/session_model.h"
#include "history/goal.h"

class QLabel;

// What the panel (and the compact view) shows for `figures`. Pure.
struct LiveTexts {
  QString shortRate;   // 時給(直近10分)
  QString longRate;    // 時給(1時間)
  QString wholeRate;   // 時給(全体)
  QString gained;      // 獲得Exp
  QString activeTime;  // 稼働時間
  QString progress;    // 進捗 %
  QString toLevel;     // 次のレベルまで
  QString misreads;    // 誤読
  QString activity;    // 計測中, 休止中 (hh:mmから), 読取失敗 (hh:mmから …), 停止中
  // Readings fail: the rates, the progress and the time to the level no
  // longer tell the present, and are shown greyed.
  bool stale = false;
};

// Said beside the rates: what they are per.
QString RateBasisText();
LiveTexts MakeLiveTexts(const SessionFigures& figures);

class LivePanel : public QFrame {
  Q_OBJECT
 public:
  explicit LivePanel(QWidget* parent = nullptr);
  void Show(const SessionFigures& figures);
  // The goal's row under the figures, shown while a goal is set; the panel
  // then needs kGoalRowHeight more than its four rows of figures: two
  // lines, as the whole goal wraps rather than losing its per-day need.
  void ShowGoal(const GoalTexts& goal);
  static constexpr int kGoalRowHeight = 30;

 private:
  std::array<QLabel*, 9> values_{};
  QLabel* goal_ = nullptr;
};
