#pragma once
// The live figures of one monitoring session (Run to Stop), built from the
// frequent readings taken between the timed captures. Pure: times come in
// as arguments (milliseconds of a monotonic clock and the wall-clock time),
// so the caller's clock decides, and tests script them.

#include <QDateTime>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "accounting/evaluation.h"
#include "accounting/exp_table.h"
#include "accounting/misread_guard.h"

// Experience that did not move for longer than this is idle time: it is
// left out of the active time and of every rate. A gain that ends such a
// stretch counts in full, and the stretch up to this limit counts as
// active: rates are per hour of play, and one slow gain never gives more
// than itself per this limit.
inline constexpr std::int64_t kIdleLimitMs = 3 * 60 * 1000;
inline constexpr std::int64_t kShortWindowMs = 10 * 60 * 1000;
inline constexpr std::int64_t kLongWindowMs = 60 * 60 * 1000;
// The chart's points are kept below this many: a day of readings every 10
// seconds must neither grow memory nor slow a reading.
inline constexpr std::size_t kMaxSessionPoints = 1024;

// One point of the session's chart: time since the session began, the
// total gained so far and the last-10-minutes rate then (k/h, nothing while
// unknown).
struct SessionPoint {
  std::int64_t sinceStartMs = 0;
  double gained = 0;
  std::optional<double> shortRate;
  // Ten minutes of play lay behind it: only such a rate is a best ten minutes.
  bool fullSpan = false;
};

struct SessionFigures {
  bool running = false;
  bool hasReading = false;  // at least one reading was accepted
  std::int32_t level = 0;
  double exp = 0;
  double gained = 0;                // since Run, across level-ups
  std::int64_t activeMs = 0;        // time in which experience rose
  // The windows' rates end at the last gain: without a gain a rate stands,
  // until its window holds no gain and it has none.
  std::optional<double> shortRate;  // k/h over the last 10 minutes, rounded down as the log does
  std::optional<double> longRate;   // over the last hour
  // Less play than the window lies behind the rate: it is an estimate.
  bool shortRateProvisional = false;
  bool longRateProvisional = false;
  std::optional<double> wholeRate;  // over the whole session
  std::optional<double> progressPercent;  // in the current level; nothing where the table has no size
  // Seconds to the next level at the last-10-minutes rate; nothing when the
  // rate is 0, negative or unknown, or the level's size is unknown.
  std::optional<double> secondsToLevel;
  bool levelSizeUnknown = false;  // the table has no size for the level
  std::int32_t levelsGained = 0;
  int misreads = 0;  // readings left out because they cannot follow the previous one
  // While running, experience has not risen for longer than the idle limit
  // since then (wall clock): the rates keep the values of the time played.
  std::optional<QDateTime> idleSince;
  // Readings have failed since then (wall clock), in these areas: what the
  // figures say of the present can no longer be vouched for. Told by the
  // monitoring cycle, which sees the failures.
  std::optional<QDateTime> failingSince;
  bool levelFailing = false;
  bool expFailing = false;
};

enum class ReadingVerdict { Accepted, Rebased, Misread, Ignored };

class SessionModel {
 public:
  // Run: everything of the previous session is forgotten.
  void Start(const QDateTime& wallNow, std::int64_t monotonicMs);
  // Stop: the figures stay on show until the next Start.
  void Stop(const QDateTime& wallNow, std::int64_t monotonicMs);
  bool Running() const { return running_; }

  // The table sizes and gains across level-ups come from (the compiled one
  // until told otherwise); kept across sessions.
  void SetExpTable(std::shared_ptr<const ExpTable> table) { table_ = std::move(table); }

  // A successful reading (level and experience within the level). A level
  // lower than the previous one, more than 3 higher, an experience beyond
  // the level's size, or (where a death costs nothing) less experience at
  // the same level is a misread and left out; kRebaseReadings such readings
  // from changing screens that agree with each other mean the earlier
  // readings were the wrong ones (or another character is played) and the
  // session goes on from the last, without a gain for the jump.
  ReadingVerdict Add(std::int32_t level, double exp, std::int64_t monotonicMs,
                     DeathPenalty death = DeathPenalty::None);
  // The misread guard took this reading as the new base: the same, on its word.
  void Rebase(std::int32_t level, double exp, std::int64_t monotonicMs);
  // `ms` just past were not played (the game was closed): the next gain is
  // credited without them, and the idle time does not count them.
  void LeaveOut(std::int64_t ms);
  // The last accepted reading (the one the figures end at), and a session
  // begun from such a reading of an earlier run: a measurement continued
  // after the program ended measures its next gain, and the time to it,
  // from where its record stopped. `monotonicMs` may lie before Start.
  struct LastReading {
    std::int32_t level = 0;
    double exp = 0;
    std::int64_t monotonicMs = 0;
  };
  std::optional<LastReading> Last() const;
  void ContinueFrom(const LastReading& reading);

  // A reading refused before it got here (by the misread guard): counted
  // with the misreads, and nothing else.
  void NoteMisread();

  // `wallNow` (the wall clock at `monotonicMs`) dates an idle stretch; without
  // it none is told.
  SessionFigures Figures(std::int64_t monotonicMs, const QDateTime& wallNow = QDateTime()) const;
  // The whole session, the older part at less detail once there are many
  // (kMaxSessionPoints at most).
  const std::vector<SessionPoint>& Points() const { return points_; }

  // The on-screen log's line at Stop: start and end, active time, total
  // gained with the times of the two readings it lies between, average
  // rate, levels gained. Empty when no reading was taken.
  QString SummaryLine() const;

 private:
  struct Reading {
    std::int32_t level = 0;
    double exp = 0;
    std::int64_t ms = 0;
  };
  // The gain of one stretch between accepted readings, and the part of it
  // that counts as active time.
  struct Segment {
    std::int64_t endMs = 0;
    double gain = 0;
    std::int64_t activeMs = 0;
  };

  struct WindowSums {
    double gain = 0;
    std::int64_t activeMs = 0;
  };
  WindowSums SumsSince(std::int64_t nowMs, std::int64_t windowMs) const;
  // The window ending at the last gain; nothing once it holds none at `nowMs`.
  WindowSums WindowSumsAt(std::int64_t nowMs, std::int64_t windowMs) const;
  std::optional<double> WindowRate(std::int64_t nowMs, std::int64_t windowMs) const;
  void Accept(const Reading& reading);
  void AddPoint(const SessionPoint& point);

  std::shared_ptr<const ExpTable> table_ = CompiledExpTable();
  bool running_ = false;
  QDateTime startWall_;
  QDateTime stopWall_;
  std::int64_t startMs_ = 0;
  std::optional<Reading> first_;
  std::optional<Reading> last_;
  AgreeingRow<Reading> disagreeing_;  // misreads that agree with each other, to tell a wrong base
  std::int64_t lastMoveMs_ = 0;      // when experience last changed
  double gained_ = 0;
  std::int64_t activeMs_ = 0;
  std::int32_t levelsGained_ = 0;
  int misreads_ = 0;
  std::deque<Segment> segments_;  // those of the last hour: the windows' rates need no more
  std::vector<SessionPoint> points_;
};

// Rate in thousands per hour, rounded down like the log's; nothing without
// active time.
std::optional<double> RatePerHourK(double gained, std::int64_t activeMs);

// "あと 1時間12分", "あと 12分" (minutes rounded up); "—" for nothing.
QString TimeToLevelText(const std::optional<double>& seconds);

// "1時間2分", "12分": whole minutes, cut; the minutes are not padded.
// Under a minute of play, "1分未満": "0分" beside a gain reads as nothing played.
QString DurationText(std::int64_t ms);
