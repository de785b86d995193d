#pragma once
// An area's patterns in a program folder, taught and read the way the
// pattern editor and the timed reading do it, without a window: what the
// teaching tool and the layout benchmark drive.

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "persistence/pattern_set.h"
#include "recognition/area_reading.h"
#include "recognition/area_teaching.h"

struct TeachOutcome {
  bool saved = false;    // the patterns were saved and the capture reads back as typed
  QString cells;         // where the cells were found, for the tool's output
  QStringList problems;  // why not saved, or notes the player would see
  QString waiting;       // slots not yet taught from a capture ("none", or "3 8 D")
};

class TaughtFolder {
 public:
  // `defaultsFolder` holds the delivered patterns (system/); a program
  // folder without Pattern/ gets them the first time.
  TaughtFolder(QString programFolder, QString defaultsFolder);

  // False (with the reasons in `problems`) when the pattern files cannot
  // be used at all.
  bool Load(QStringList& problems);

  // Teaches area `area` (0 or 1) from `capture` showing `typed` (as the
  // player types it), saves Pattern/ and checks the capture reads back.
  TeachOutcome Teach(int area, const QImage& capture, const QString& typed);

  // Reads `capture` as area `area`.
  AreaReading Read(int area, const QImage& capture) const;

  // Reads the level area as a timed reading after one that read
  // `lastLevel` would (0: the reading before failed): glyphs not taught yet
  // that stand where the next level puts new digits are taught as those
  // digits (and saved).
  AreaReading ReadLevelAfter(int lastLevel, const QImage& capture);

 private:
  QString programFolder_;
  QString defaultsFolder_;
  PatternImages images_;
  PatternSet set_;
  bool loaded_ = false;
  std::array<std::vector<TaughtCapture>, 2> taught_;  // this session's, per area: each must keep reading
};
