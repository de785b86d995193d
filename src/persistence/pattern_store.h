#pragma once
// The pattern files: Pattern/Pattern00.bmp … Pattern19.bmp and
// PatternDel0.bmp, PatternDel1.bmp beside the program, with the delivered
// defaults under the same names in system/.

#include <QString>
#include <vector>

#include "persistence/notice.h"
#include "persistence/pattern_set.h"

struct PatternFilesResult {
  std::vector<Notice> notices;  // to show, in order
  bool endProgram = false;      // the defaults cannot be used: end at once
};

// Mode "READ", "INIT", "SAVE" or "DATA", run as a chain; any other text does
// nothing. `images` are the holders' pictures; `set` is rebuilt from them by
// DATA. `now` names the backup folder of the player's files.
PatternFilesResult PatternFiles(const QString& mode, PatternImages& images, PatternSet& set,
                                const QString& programFolder);

// DATA alone: converts the pictures into the pattern set. False when a
// picture does not fit 41 x 41.
bool ConvertPatterns(const PatternImages& images, PatternSet& set);
