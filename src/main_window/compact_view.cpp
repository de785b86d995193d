#include "main_window/compact_view.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QVBoxLayout>
#include <cmath>

#include "main_window/live_panel.h"
#include "main_window/memo_field.h"

namespace {

constexpr int kHeight = 128;  // with the memo field
constexpr int kGoalHeight = 18;

}  // namespace

CompactView::CompactView(std::function<void(QPoint)> moved, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), moved_(std::move(moved)) {
  setObjectName(QStringLiteral("CompactView"));
  setWindowTitle(QStringLiteral("Tallymeter"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 6, 8, 6);
  column->setSpacing(2);
  rate_ = new QLabel(QStringLiteral("—"), this);
  rate_->setObjectName(QStringLiteral("lblCompactRate"));
  QFont big = rate_->font();
  big.setPixelSize(18);
  big.setBold(true);
  rate_->setFont(big);
  toLevel_ = new QLabel(QStringLiteral("—"), this);
  toLevel_->setObjectName(QStringLiteral("lblCompactToLevel"));
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("barCompactProgress"));
  progress_->setRange(0, 1000);
  progress_->setTextVisible(true);
  progress_->setFormat(QStringLiteral("—"));
  activity_ = new QLabel(QStringLiteral("—"), this);
  activity_->setObjectName(QStringLiteral("lblCompactActivity"));
  QFont small = activity_->font();
  small.setPixelSize(11);
  activity_->setFont(small);
  column->addWidget(rate_);
  column->addWidget(toLevel_);
  column->addWidget(progress_);
  column->addWidget(activity_);
  goal_ = new QLabel(this);
  goal_->setObjectName(QStringLiteral("lblCompactGoal"));
  goal_->hide();
  column->addWidget(goal_);
  memo_ = NewMemoField(QStringLiteral("cboCompactMemo"), this);
  memo_->lineEdit()->setPlaceholderText(tr("メモ (狩場など)"));
  column->addWidget(memo_);
  connect(memo_, &QComboBox::editTextChanged, this, &CompactView::memoTyped);
  setFixedSize(200, kHeight);
  setToolTip(tr("ダブルクリックでメイン画面"));
}

void CompactView::Show(const SessionFigures& figures) {
  const LiveTexts t = MakeLiveTexts(figures);
  rate_->setText(t.shortRate);
  toLevel_->setText(t.toLevel);
  progress_->setValue(figures.progressPercent ? static_cast<int>(std::lround(*figures.progressPercent * 10)) : 0);
  progress_->setFormat(t.progress);
  for (QWidget* unvouched : std::initializer_list<QWidget*>{rate_, toLevel_, progress_}) unvouched->setEnabled(!t.stale);
  // The panel's note on the rates, worded to fit the compact view's width.
  activity_->setText(tr("%1・時給は稼働時間あたり").arg(t.activity));
}

void CompactView::ShowGoal(const GoalTexts& goal) {
  // The landing day when there is one, else what is still needed.
  const QString text = goal.landing.isEmpty() || goal.landing.endsWith(QStringLiteral("—")) ? goal.needed : goal.landing;
  goal_->setText(goal_->fontMetrics().elidedText(text, Qt::ElideRight, 184));
  goal_->setToolTip(GoalLine(goal));
  goal_->setVisible(goal.shown);
  setFixedSize(200, goal.shown ? kHeight + kGoalHeight : kHeight);
}

void CompactView::ShowMemo(const QString& memo, const QStringList& recent) {
  ShowMemoChoices(*memo_, memo, recent);
}

void CompactView::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (isVisible() && moved_) moved_(pos());
}

// Dragging anywhere inside moves the window too, for window managers that
// give a tool window no title bar.
void CompactView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragOffset_ = event->globalPosition().toPoint() - pos();
  QWidget::mousePressEvent(event);
}

void CompactView::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) move(event->globalPosition().toPoint() - dragOffset_);
  QWidget::mouseMoveEvent(event);
}

void CompactView::mouseDoubleClickEvent(QMouseEvent* event) {
  emit mainWindowWanted();
  QWidget::mouseDoubleClickEvent(event);
}

QPoint CompactViewPosition(QPoint remembered, QSize size, const QList<QRect>& screens) {
  for (const QRect& screen : screens) {
    // Enough of it on a screen to be found and dragged back.
    if (screen.intersects(QRect(remembered, size).adjusted(20, 10, -20, -10))) return remembered;
  }
  if (screens.isEmpty()) return {0, 0};
  const QRect first = screens.first();
  return {first.x() + first.width() - size.width() - 16, first.y() + 16};
}
