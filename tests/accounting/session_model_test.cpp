#include "accounting/session_model.h"

#include <gtest/gtest.h>

#include "accounting/exp_table.h"
#include "base/display_text.h"
#include "support/qstring_printer.h"

namespace {

const QDateTime kStart(QDate(2026, 12, 5), QTime(14, 30, 0));
constexpr std::int64_t kStartMs = 5'000'000;
constexpr std::int64_t kTickMs = 10'000;

// The total of a reading by the compiled table.
double TotalExp(std::int32_t level, double exp) { return *CompiledExpTable()->Total(level, exp); }

// The level and in-level experience of a total, by the compiled table (levels up to 200).
std::pair<std::int32_t, double> FromTotal(double total) {
  const ExpTable& table = *CompiledExpTable();
  std::int32_t level = 1;
  while (level < 200 && *table.Total(level + 1, 0) <= total) ++level;
  return {level, total - *table.Total(level, 0)};
}

// A session fed one reading per timer tick, the experience given as a total,
// the first reading at `level` and `exp`.
class Session {
 public:
  explicit Session(std::int32_t level, double exp) : total(TotalExp(level, exp)) {
    model.Start(kStart, kStartMs);
    Read();
  }
  // `ticks` readings, one every 10 s, the total rising by `gainPerTick`.
  void Play(int ticks, double gainPerTick) {
    for (int i = 0; i < ticks; ++i) {
      total += gainPerTick;
      Read();
    }
  }
  ReadingVerdict Read() {
    const auto [level, exp] = FromTotal(total);
    return ReadAs(level, exp);
  }
  ReadingVerdict ReadAs(std::int32_t level, double exp) {
    now += kTickMs;
    return model.Add(level, exp, now);
  }
  SessionFigures Figures() const { return model.Figures(now); }

  double total;
  SessionModel model;
  std::int64_t now = kStartMs;
};

// Gained, active time, and the rates over the last 10 minutes, the last hour and the whole session.
auto Rates(const SessionFigures& f) { return std::tuple(f.gained, f.activeMs, f.shortRate, f.longRate, f.wholeRate); }

}  // namespace

TEST(SessionModelTest, SteadyGainGivesTheSameRateInEveryWindowAndTheTimeToTheNextLevel) {
  Session s(100, 0);
  s.Play(180, 1000);  // 30 minutes at 100 a second: 360 k/h
  const SessionFigures f = s.Figures();
  EXPECT_EQ(Rates(f), std::tuple(180'000, 1'800'000, 360, 360, 360));
  // Level 100 needs 10,223,168: 180,000 done is 1.76 %, cut to 1.7.
  EXPECT_EQ(std::tuple(f.progressPercent, f.secondsToLevel, f.levelsGained, f.misreads),
            std::tuple(1.7, (10'223'168.0 - 180'000) / 100, 0, 0));
  EXPECT_EQ(std::tuple(s.model.Points().size(), s.model.Points().back().gained, s.model.Points().back().shortRate),
            std::tuple(181u, 180'000, 360));

  // A whole day of readings: the chart keeps the whole session, in a
  // bounded number of points.
  s.Play(8640, 10);
  const std::vector<SessionPoint>& day = s.model.Points();
  EXPECT_TRUE(day.size() <= kMaxSessionPoints && day.size() >= kMaxSessionPoints / 2) << day.size();
  EXPECT_EQ(std::tuple(day.front().sinceStartMs, day.back().sinceStartMs, day.back().gained),
            std::tuple(kTickMs, (1 + 180 + 8640) * kTickMs, 180'000 + 86'400));
}

TEST(SessionModelTest, ALevelUpInsideTheWindowIsCountedThroughTotals) {
  Session s(10, 1000);  // level 10 needs 1,716
  s.Play(60, 100);  // 6,000 gained: level 10 done, level 11 (2,360) and into 12
  const SessionFigures f = s.Figures();
  // 10 a second, unbroken by the level-ups.
  EXPECT_EQ(std::tuple(f.level, f.levelsGained, f.gained, f.shortRate, f.misreads), std::tuple(12, 2, 6000, 36, 0));
}

TEST(SessionModelTest, AnIdleStretchCountsNeitherInActiveTimeNorInTheRates) {
  Session s(100, 0);
  s.Play(60, 1000);  // 10 minutes of play
  s.Play(60, 0);     // 10 minutes of standing still, readings going on
  // Nothing moved in the last 10 minutes: no short rate, no time to the level.
  EXPECT_EQ(std::tuple(Rates(s.Figures()), s.Figures().secondsToLevel),
            std::tuple(std::tuple(60'000, 600'000, std::nullopt, 360, 360), std::nullopt));
  s.Play(60, 1000);  // play again: of the pause, the idle limit counts
  EXPECT_EQ(Rates(s.Figures()), std::tuple(120'000, 1'370'000, 280, 315, 315));
}

TEST(SessionModelTest, AGainAfterAStretchWithoutARiseNeverInflatesARate) {
  struct Case {
    const char* what;
    int quietTicks;     // readings without a rise before each gain
    int unseenTicks;    // of which the game was not seen (no reading at all)
    double gain;
    double wholeRate;   // k/h after five such gains
  };
  const Case cases[] = {
      // Of the four minutes, the three up to the idle limit were play.
      {"12,000 every 4 minutes", 23, 0, 12'000, 240},
      // Nobody saw when it was earned: spread over the whole gap.
      {"1,000,000 after an hour behind other windows", 359, 359, 1'000'000, 1'000},
      // Pauses shorter than the idle limit between kills are play, not idling.
      {"a kill every 2 minutes", 11, 0, 12'000, 360},
  };
  for (const Case& c : cases) {
    Session s(150, 5'000'000);
    for (int gain = 0; gain < 5; ++gain) {
      s.now += std::int64_t{c.unseenTicks} * kTickMs;
      s.Play(c.quietTicks - c.unseenTicks, 0);
      s.Play(1, c.gain);
    }
    EXPECT_EQ(s.Figures().wholeRate, c.wholeRate) << c.what;
    EXPECT_LE(s.Figures().shortRate.value_or(0), c.wholeRate) << c.what;
  }
}

TEST(SessionModelTest, MisreadsInTheMiddleAreLeftOutAndCounted) {
  struct Case {
    const char* what;
    std::int32_t level;
    double exp;
  };
  // The character is at level 150 (size 147,262,175), a little way in.
  const Case cases[] = {
      {"level read one too low", 149, 5'000'000},
      {"level up by more than 3", 158, 5'000'000},
      {"experience beyond the level's size", 150, 147'262'175},
  };
  for (const Case& c : cases) {
    Session s(150, 5'000'000);
    s.Play(30, 10'000);
    EXPECT_EQ(s.ReadAs(c.level, c.exp), ReadingVerdict::Misread) << c.what;
    s.Play(30, 10'000);
    const SessionFigures f = s.Figures();
    // The gain after the misread spans its interval too: 600,000 in 610 s.
    EXPECT_EQ(std::tuple(f.misreads, f.gained, f.activeMs, f.wholeRate, f.level),
              std::tuple(1, 600'000, 610'000, 3540, 150))
        << c.what;
  }

  // Three readings that agree against the earlier ones (the row's rule is
  // the misread guard's, tested there): another character, or the first
  // readings were wrong. The session follows them, counting them as no
  // misreads and the jump as no gain. A loss at the same level is a misread like any other.
  Session s(150, 5'000'000);
  s.Play(10, 10'000);
  const std::tuple<std::int32_t, double, ReadingVerdict> rows[] = {
      {42, 1000, ReadingVerdict::Misread},  {42, 1500, ReadingVerdict::Misread},  {42, 2500, ReadingVerdict::Rebased},
      {42, 2400, ReadingVerdict::Misread},  {42, 3500, ReadingVerdict::Accepted}};
  for (const auto& [level, exp, verdict] : rows) EXPECT_EQ(s.ReadAs(level, exp), verdict) << exp;
  EXPECT_EQ(std::tuple(s.Figures().gained, s.Figures().level, s.Figures().misreads),
            std::tuple(100'000 + 1000, 42, 3));
}

// Ten slow minutes, one fast, then nothing: the window's rate stands, the
// slow minutes leaving the window never raise it. Less play than a window is a provisional rate, and no point of
// it is a best ten minutes.
TEST(SessionModelTest, RatesFromShortSpansAreProvisionalAndNoRateRisesWithoutAGain) {
  Session s(100, 0);
  s.Play(1, 5000);
  const auto flags = [&s] {
    const SessionFigures f = s.Figures();
    return std::tuple(f.shortRateProvisional, f.longRateProvisional, s.model.Points().back().fullSpan);
  };
  EXPECT_EQ(std::tuple(flags(), DurationText(s.Figures().activeMs)), std::tuple(std::tuple(true, true, false), "1分未満"));
  s.Play(60, 500);
  s.Play(6, 3000);
  EXPECT_EQ(flags(), std::tuple(false, true, true));
  SessionFigures f = s.Figures();
  for (int tick = 0; tick < 70; ++tick, f = s.Figures()) {
    s.Play(1, 0);
    EXPECT_TRUE(s.Figures().shortRate <= f.shortRate && s.Figures().longRate <= f.longRate) << tick;
  }
}

TEST(SessionModelTest, RunAfterStopBeginsANewSession) {
  Session s(100, 0);
  s.Play(60, 1000);
  s.model.Stop(kStart.addSecs(610), s.now);
  EXPECT_EQ(std::tuple(s.Figures().running, s.Figures().gained), std::tuple(false, 60'000))
      << "the figures stay on show after Stop";
  EXPECT_EQ(s.ReadAs(100, 70'000), ReadingVerdict::Ignored) << "no session between Stop and Run";

  s.now += 3'600'000;  // an hour later, with a lot gained while stopped
  s.model.Start(kStart.addSecs(4210), s.now);
  EXPECT_FALSE(s.Figures().hasReading);
  EXPECT_TRUE(s.model.SummaryLine().isEmpty());
  s.ReadAs(101, 0);
  s.ReadAs(101, 500);
  EXPECT_EQ(std::tuple(s.Figures().gained, s.Figures().activeMs, s.Figures().levelsGained), std::tuple(500, kTickMs, 0))
      << "nothing of the stopped time or the earlier session";
}

TEST(SessionModelTest, FromLevel199To200TheRateGoesOnAndTheTimeToLevelIsUnknown) {
  Session s(199, 2'011'069'794 - 450);  // level 199 needs 2,011,069,794
  s.Play(10, 100);
  SessionFigures f = s.Figures();
  EXPECT_EQ(std::tuple(f.level, f.exp, f.gained, f.shortRate, f.levelSizeUnknown, f.progressPercent, f.secondsToLevel),
            std::tuple(200, 550, 1000, 36, true, std::nullopt, std::nullopt));

  // Past level 200 only gains within a level can be measured.
  s.ReadAs(201, 100);
  s.ReadAs(201, 300);
  f = s.Figures();
  EXPECT_EQ(std::tuple(f.level, f.gained, f.levelsGained, f.misreads), std::tuple(201, 1200, 2, 0));
  EXPECT_EQ(s.ReadAs(201, 99), ReadingVerdict::Misread) << "no size, but a loss all the same";
}

TEST(SessionModelTest, Texts) {
  struct Case {
    std::optional<double> seconds;
    const char* text;
  };
  const Case cases[] = {{std::nullopt, "—"}, {0, "あと 0分"},     {1, "あと 1分"},          {60, "あと 1分"},
                        {61, "あと 2分"},    {-5, "—"}, {1e300, "あと 277777777時間47分"}, {100'432, "あと 27時間54分"}};
  for (const Case& c : cases) EXPECT_EQ(TimeToLevelText(c.seconds), QString::fromUtf8(c.text));
  EXPECT_EQ(std::tuple(DurationText(3'719'999), DurationText(-1)), std::tuple("1時間1分", "0分"));
  EXPECT_EQ(GroupedNumber(-1234567.5), QStringLiteral("-1,234,568")) << "rounded as the log rounds";
  // Rounded down, as the log does.
  EXPECT_EQ(std::tuple(RatePerHourK(1, 3'600'000), RatePerHourK(-1, 60'000), RatePerHourK(100, 0)),
            std::tuple(0, -1, std::nullopt));
}
