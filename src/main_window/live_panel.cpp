#include "main_window/live_panel.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>

#include "base/display_text.h"

namespace {

QString RateText(const std::optional<double>& rate, bool provisional = false) {
  if (!rate) return QStringLiteral("—");
  const QString text = GroupedNumber(*rate) + QStringLiteral(" k/h");
  //: A rate with less play behind it than its window (10 minutes, an hour)
  return provisional ? QCoreApplication::translate("LivePanel", "%1 (暫定)").arg(text) : text;
}

QString FailingAreasText(const SessionFigures& f) {
  if (f.levelFailing && f.expFailing) return QCoreApplication::translate("LivePanel", "レベルと経験値");
  return f.levelFailing ? QCoreApplication::translate("LivePanel", "レベル")
                        : QCoreApplication::translate("LivePanel", "経験値");
}

}  // namespace

QString RateBasisText() { return QCoreApplication::translate("LivePanel", "時給は稼働時間あたり"); }

LiveTexts MakeLiveTexts(const SessionFigures& f) {
  LiveTexts t;
  t.shortRate = RateText(f.shortRate, f.shortRateProvisional);
  t.longRate = RateText(f.longRate, f.longRateProvisional);
  t.wholeRate = RateText(f.wholeRate);
  t.gained = GroupedNumber(f.gained);
  t.activeTime = DurationText(f.activeMs);
  t.misreads = QString::number(f.misreads);
  if (!f.running) {
    t.activity = f.hasReading ? QCoreApplication::translate("LivePanel", "停止中") : QStringLiteral("—");
  } else if (f.failingSince) {
    //: Readings have failed since hh:mm, in the named areas
    t.activity = QCoreApplication::translate("LivePanel", "読取失敗 (%1から, %2)")
                     .arg(f.failingSince->toString(QStringLiteral("hh:mm")), FailingAreasText(f));
    t.stale = true;
  } else if (f.idleSince) {
    t.activity = QCoreApplication::translate("LivePanel", "休止中 (%1から)").arg(f.idleSince->toString(QStringLiteral("hh:mm")));
  } else {
    t.activity = f.hasReading ? QCoreApplication::translate("LivePanel", "計測中") : QStringLiteral("—");
  }
  if (!f.hasReading) {
    t.progress = QStringLiteral("—");
    t.toLevel = QStringLiteral("—");
  } else if (f.levelSizeUnknown) {
    // The experience table has no size for this level: nothing to measure
    // against.
    t.progress = QCoreApplication::translate("LivePanel", "不明 (Lv%1)").arg(f.level);
    t.toLevel = QCoreApplication::translate("LivePanel", "不明 (表にLv%1なし)").arg(f.level);
  } else {
    t.progress = f.progressPercent ? QString::number(*f.progressPercent, 'f', 1) + QStringLiteral(" %")
                                   : QStringLiteral("—");
    t.toLevel = TimeToLevelText(f.secondsToLevel);
    if (f.secondsToLevel && f.shortRateProvisional) {
      t.toLevel = QCoreApplication::translate("LivePanel", "%1 (暫定)").arg(t.toLevel);
    }
  }
  return t;
}

LivePanel::LivePanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("panelLive"));
  setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 2, 6, 2);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(0);
  // Label, object name, row and column pair; the rates on the left, the
  // level on the right, as a player reads them.
  struct Cell {
    const char* caption;
    const char* name;
    int row;
    int column;
  };
  static constexpr std::array<Cell, 9> kCells{{
      {QT_TRANSLATE_NOOP("LivePanel", "時給(直近10分)"), "lblLiveShortRate", 0, 0},
      {QT_TRANSLATE_NOOP("LivePanel", "時給(1時間)"), "lblLiveLongRate", 1, 0},
      {QT_TRANSLATE_NOOP("LivePanel", "時給(全体)"), "lblLiveWholeRate", 2, 0},
      {QT_TRANSLATE_NOOP("LivePanel", "次のレベルまで"), "lblLiveToLevel", 3, 0},
      {QT_TRANSLATE_NOOP("LivePanel", "獲得Exp"), "lblLiveGained", 0, 2},
      {QT_TRANSLATE_NOOP("LivePanel", "稼働時間"), "lblLiveActive", 1, 2},
      {QT_TRANSLATE_NOOP("LivePanel", "進捗 %"), "lblLiveProgress", 2, 2},
      {QT_TRANSLATE_NOOP("LivePanel", "誤読"), "lblLiveMisreads", 3, 2},
      {QT_TRANSLATE_NOOP("LivePanel", "状態"), "lblLiveActivity", 4, 0},
  }};
  QFont small = font();
  small.setPixelSize(12);
  for (std::size_t i = 0; i < kCells.size(); ++i) {
    const Cell& c = kCells[i];
    auto* caption = new QLabel(QCoreApplication::translate("LivePanel", c.caption), this);
    caption->setFont(small);
    auto* value = new QLabel(QStringLiteral("—"), this);
    value->setObjectName(QLatin1String(c.name));
    value->setFont(small);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(caption, c.row, c.column);
    grid->addWidget(value, c.row, c.column + 1);
    values_[i] = value;
  }
  // Idle time keeps the rates where they were: they are per hour of play.
  auto* basis = new QLabel(RateBasisText(), this);
  basis->setFont(small);
  basis->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  grid->addWidget(basis, 4, 2, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  goal_ = new QLabel(this);
  goal_->setObjectName(QStringLiteral("lblLiveGoal"));
  goal_->setFont(small);
  goal_->setWordWrap(true);
  goal_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  grid->addWidget(goal_, 5, 0, 1, 4);  // under the state's row
  goal_->hide();
}

void LivePanel::ShowGoal(const GoalTexts& goal) {
  const QString line = GoalLine(goal);
  goal_->setText(line);
  goal_->setToolTip(line);
  goal_->setVisible(goal.shown);
}

void LivePanel::Show(const SessionFigures& figures) {
  const LiveTexts t = MakeLiveTexts(figures);
  const std::array<const QString*, 9> texts{&t.shortRate, &t.longRate,   &t.wholeRate, &t.toLevel, &t.gained,
                                            &t.activeTime, &t.progress, &t.misreads,  &t.activity};
  for (std::size_t i = 0; i < values_.size(); ++i) values_[i]->setText(*texts[i]);
  // What readings that fail leave unvouched for is greyed: the windows'
  // rates, the time to the level and the progress.
  for (const std::size_t i : {0U, 1U, 3U, 6U}) values_[i]->setEnabled(!t.stale);
}
