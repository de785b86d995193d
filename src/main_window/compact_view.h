#pragma once
// A small window that stays above the game with just the figures a player
// glances at: the rate, the time to the next level, the level's progress,
// and whether it measures or stands idle. It can be dragged anywhere and
// tells where it was left.

#include <QWidget>
#include <functional>

#include "accounting/session_model.h"
#include "history/goal.h"

class QComboBox;
class QLabel;
class QProgressBar;

class CompactView : public QWidget {
  Q_OBJECT
 public:
  // `moved` gets the window's new position whenever the user moves it.
  explicit CompactView(std::function<void(QPoint)> moved, QWidget* parent = nullptr);
  void Show(const SessionFigures& figures);
  // A line for the goal under the progress bar, only while one is set.
  void ShowGoal(const GoalTexts& goal);
  // The memo field: its text (left alone when it already says so, so the
  // caret stays where the player types) and the memos offered.
  void ShowMemo(const QString& memo, const QStringList& recent);
  QComboBox* MemoField() const { return memo_; }

 signals:
  // The player typed in the memo field.
  void memoTyped(const QString& text);
  // A double click: the player wants the main window back.
  void mainWindowWanted();

 protected:
  void moveEvent(QMoveEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  std::function<void(QPoint)> moved_;
  QLabel* rate_ = nullptr;
  QLabel* toLevel_ = nullptr;
  QLabel* activity_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* goal_ = nullptr;
  QComboBox* memo_ = nullptr;
  QPoint dragOffset_;
};

// Where the compact view goes: the remembered position when it is still on
// one of the screens (`screens`), else the top-right corner of the first.
QPoint CompactViewPosition(QPoint remembered, QSize size, const QList<QRect>& screens);
