#pragma once
// Why readings fail, for the player: the reasons of the last timed
// reading's areas with the captures they failed on (the state line tells
// them, and its click opens the teacher on that capture), and the row of
// failed readings (timed or live) the panel dates from its first.

#include <QDateTime>
#include <QImage>
#include <QString>
#include <array>
#include <optional>

class ReadingFailures {
 public:
  // A run begins: the last reading's reasons are no longer news.
  void ForgetReasons() { reasons_ = {}; }
  // What the areas of a timed (or manual) reading said, and what they showed.
  void Read(const std::array<QString, 2>& reasons, const std::array<QImage, 2>& captures);
  // The area the last reading could not read (the level first), while that
  // reading is the last, and the capture it failed on.
  std::optional<int> FailingArea() const;
  const QImage& FailedCapture(int area) const { return captures_.at(static_cast<std::size_t>(area)); }
  const std::array<QString, 2>& Reasons() const { return reasons_; }

  // Which areas a reading (timed or live) read: failures are dated from the
  // first of a row, and a reading of both ends the row. True when the row
  // began, ended or changed its areas.
  bool NoteAreasRead(bool levelRead, bool expRead, const QDateTime& now);
  void EndRow() { since_.reset(); }
  const std::optional<QDateTime>& FailingSince() const { return since_; }
  bool LevelFailing() const { return areas_[0]; }
  bool ExpFailing() const { return areas_[1]; }

 private:
  std::array<QString, 2> reasons_;
  std::array<QImage, 2> captures_;
  std::optional<QDateTime> since_;
  std::array<bool, 2> areas_{};  // level, experience
};
