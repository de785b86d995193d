#include "game_screen.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cstdio>

QString ExpCounterText(Progress progress, std::int64_t levelSize, CounterStyle style) {
  if (style.percentDecimals < 0) {
    QString text = QString::number(progress.exp);
    if (style.grouped) {
      for (qsizetype at = text.size() - 3; at > 0; at -= 3) text.insert(at, u',');
    }
    return text;
  }
  // Long division, one decimal digit at a time: exact at any size.
  QString digits;
  std::int64_t rest = levelSize > 0 ? std::clamp<std::int64_t>(progress.exp, 0, levelSize - 1) : 0;
  for (int i = 0; i < 2 + style.percentDecimals; ++i) {
    rest *= 10;
    digits += QChar(u'0' + static_cast<int>(levelSize > 0 ? rest / levelSize : 0));
    if (levelSize > 0) rest %= levelSize;
  }
  QString whole = digits.left(2);
  if (whole.startsWith(u'0')) whole.remove(0, 1);
  return style.percentDecimals == 0 ? whole : whole + u'.' + digits.mid(2);
}

GameScreen::GameScreen(CounterFont levelFont, CounterFont expFont, std::shared_ptr<const ExpTable> table,
                       CounterStyle style, Progress start, QWidget* parent, OuterRectOf outerRectOf)
    : QWidget(parent),
      levelFont_(std::move(levelFont)),
      expFont_(std::move(expFont)),
      table_(std::move(table)),
      style_(style),
      progress_(start),
      outerRectOf_(std::move(outerRectOf)) {
  setWindowTitle(QStringLiteral("MapleStory"));
  resize(kFirstClientSize);
  setMinimumSize(kFirstClientSize / 2);
  // The window manager may add or change the frame after the window is
  // shown; the counters must follow so they stay put relative to its corner.
  frameWatch_.setInterval(100);
  connect(&frameWatch_, &QTimer::timeout, this, [this] {
    if (FrameOffset() != paintedOffset_) update();
  });
  frameWatch_.start();
}

void GameScreen::SetProgress(Progress progress) {
  if (progress == progress_) return;
  progress_ = progress;
  update();
  emit progressChanged(progress_);
}

QPoint GameScreen::FrameOffset() const {
  if (outerRectOf_) {
    if (const std::optional<QRect> outer = outerRectOf_(winId())) return geometry().topLeft() - outer->topLeft();
  }
  return geometry().topLeft() - frameGeometry().topLeft();
}

QPoint GameScreen::LevelCounterAt() const {
  return kLevelCounterAt + QPoint(0, height() - kFirstClientSize.height());
}

QPoint GameScreen::ExpCounterAt() const {
  return kExpCounterAt + QPoint(width() - kFirstClientSize.width(), height() - kFirstClientSize.height());
}

void GameScreen::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (FrameOffset() != paintedOffset_) {
    paintedOffset_ = FrameOffset();
    std::fprintf(stderr, "frame offset %d,%d\n", paintedOffset_.x(), paintedOffset_.y());
  }
  PaintScene(painter);
  PaintStatusBar(painter, paintedOffset_);
}

void GameScreen::PaintScene(QPainter& painter) const {
  QLinearGradient sky(0, 0, 0, height());
  sky.setColorAt(0, QColor(120, 190, 250));
  sky.setColorAt(1, QColor(210, 240, 255));
  painter.fillRect(rect(), sky);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 200));
  painter.drawEllipse(QRect(90, 60, 160, 50));
  painter.drawEllipse(QRect(480, 110, 200, 60));
  // The ground runs down to the status bar at any size.
  const int ground = height() - 180;
  painter.setBrush(QColor(110, 180, 80));
  painter.drawRect(0, ground, width(), 180);
  painter.setBrush(QColor(150, 110, 70));
  painter.drawRect(140, 330, 220, 18);
  painter.drawRect(470, 260, 200, 18);
  painter.setBrush(QColor(250, 140, 60));
  painter.drawEllipse(QRect(380, ground - 40, 36, 40));  // the player
}

void GameScreen::PaintStatusBar(QPainter& painter, QPoint frameOffset) const {
  const QPoint levelAt = ClientPosition(LevelCounterAt(), frameOffset);
  const QPoint expAt = ClientPosition(ExpCounterAt(), frameOffset);
  const QColor barColour = levelFont_.IsComplete() ? levelFont_.digits[0].pixelColor(0, 0) : QColor(16, 24, 64);
  const int top = std::min(levelAt.y(), expAt.y()) - 8;
  painter.fillRect(QRect(0, top, width(), height() - top), barColour);
  painter.fillRect(QRect(0, top, width(), 2), QColor(200, 200, 220));

  QFont label = painter.font();
  label.setPixelSize(10);
  label.setBold(true);
  painter.setFont(label);
  painter.setPen(QColor(230, 230, 240));
  const QRect levelLabel(levelAt.x() - 30, levelAt.y(), 28, levelFont_.Height());
  painter.drawText(levelLabel, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Lv."));
  const QRect expLabel(expAt.x() - 34, expAt.y(), 30, expFont_.Height());
  painter.drawText(expLabel, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("EXP"));

  if (!levelFont_.IsComplete() || !expFont_.IsComplete()) {
    painter.drawText(QRect(levelAt.x(), levelAt.y(), 300, 14), Qt::AlignLeft, QStringLiteral("patterns missing"));
    return;
  }
  const int levelEnd = DrawCounter(painter, levelFont_, levelAt, QString::number(progress_.level));
  painter.drawText(QRect(levelEnd + 60, levelAt.y(), 160, levelFont_.Height()), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Tallyplayer"));
  const std::int64_t need = LevelRequirement(*table_, progress_.level);
  const int expEnd = DrawCounter(painter, expFont_, expAt, ExpCounterText(progress_, need, style_));
  if (style_.percentDecimals >= 0) return;  // the delimiter stands for the "%"
  const double percent = need > 0 ? 100.0 * static_cast<double>(progress_.exp) / static_cast<double>(need) : 0.0;
  painter.drawText(QRect(expEnd + 2, expAt.y() - 2, 80, expFont_.Height() + 4), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("%1%]").arg(percent, 0, 'f', 2));
}
