#pragma once
// The pattern files: Pattern/Pattern00.bmp … Pattern19.bmp and
// PatternDel0.bmp, PatternDel1.bmp beside the program, with the delivered
// defaults under the same names in system/.

#include <QDateTime>
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
//
// A picture larger than kLargestPatternSide in either direction counts as a
// file that cannot be read, and so does a set in which an area's eleven
// pictures differ in height or two of them are alike: in Pattern/ it sends
// READ to the defaults, in system/ it ends the program before anything is
// written. Before the defaults replace the player's files, the ones present
// are kept in Pattern/backup-yyyyMMdd-HHmmss/ (copied when within the size
// a pattern file can have, moved otherwise); when that fails, nothing in
// Pattern/ is overwritten (reported as a failed save) and the defaults are
// used from memory.
PatternFilesResult PatternFiles(const QString& mode, PatternImages& images, PatternSet& set,
                                const QString& programFolder, const QDateTime& now);

// The same with the delivered defaults taken from `defaultsFolder` instead
// of the program folder's system/ (a tool working on another program
// folder takes its own).
PatternFilesResult PatternFilesFrom(const QString& mode, PatternImages& images, PatternSet& set,
                                    const QString& programFolder, const QString& defaultsFolder, const QDateTime& now);

// The same, with the backup folder named after the current time.
PatternFilesResult PatternFiles(const QString& mode, PatternImages& images, PatternSet& set,
                                const QString& programFolder);

// DATA alone: converts the pictures into the pattern set. False when a
// picture is larger than kLargestPatternSide. A pattern that does not take
// part (TakesPart) is converted as one of no size, which never matches, and
// leaves the area's cell size alone.
bool ConvertPatterns(const PatternImages& images, PatternSet& set);

// The side file beside the pattern files that says where each came from
// (Shift_JIS, CR LF, one "file name , origin" line each). Without it, or
// for a file it does not name, the origin is Unknown.
inline constexpr char kPatternOriginFile[] = "PatternOrigin.txt";

// The side file of what the teacher learned of each area's layout (one
// "area , separators , widest digit gap , prefix file , ends with the
// delimiter" line each; a line of four fields, from before the last, does not), with the
// marks before the number in PatternPre0.bmp and PatternPre1.bmp.
inline constexpr char kPatternLayoutFile[] = "PatternLayout.txt";

// The file name of slot `slot`: 0 … 19 the digits ("Pattern07.bmp"), 20 and
// 21 the delimiters ("PatternDel1.bmp").
QString PatternFileName(int slot);
// The file of digit pattern `slot`'s variant k (0 …): "Pattern07v1.bmp".
QString VariantFileName(int slot, int k);
inline constexpr int kPatternSlots = 22;
