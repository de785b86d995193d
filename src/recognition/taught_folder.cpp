#include "recognition/taught_folder.h"

#include <QDateTime>
#include <QDir>

#include "persistence/pattern_store.h"
#include "recognition/area_teaching.h"
#include "recognition/level_lesson.h"
#include "recognition/pattern_matcher.h"

namespace {

QStringList NoticeTexts(const std::vector<Notice>& notices) {
  QStringList texts;
  for (const Notice& notice : notices) texts << notice.title + QStringLiteral(": ") + notice.text;
  return texts;
}

QString CellsText(const DigitCells& cells) {
  QStringList parts;
  for (int i = 0; i < cells.CellCount(); ++i) {
    const CellSpan& s = cells.spans[static_cast<std::size_t>(i)];
    parts << QStringLiteral("%1:%2-%3")
                 .arg(cells.IsDelimiter(i) ? QStringLiteral("D") : QString(cells.digits[i]))
                 .arg(s.x)
                 .arg(s.x + s.width - 1);
  }
  return QStringLiteral("cells %1 height %2%3")
      .arg(parts.join(' '))
      .arg(cells.height)
      .arg(cells.hasDelimiter ? QString() : QStringLiteral(" (no delimiter: its slot is left as it is)"));
}

}  // namespace

TaughtFolder::TaughtFolder(QString programFolder, QString defaultsFolder)
    : programFolder_(std::move(programFolder)), defaultsFolder_(std::move(defaultsFolder)) {}

bool TaughtFolder::Load(QStringList& problems) {
  const bool firstTime = !QDir(programFolder_ + QStringLiteral("/Pattern")).exists();
  const PatternFilesResult result =
      PatternFilesFrom(firstTime ? QStringLiteral("INIT") : QStringLiteral("READ"), images_, set_, programFolder_,
                       defaultsFolder_, QDateTime::currentDateTime());
  problems << NoticeTexts(result.notices);
  loaded_ = !result.endProgram;
  return loaded_;
}

TeachOutcome TaughtFolder::Teach(int area, const QImage& capture, const QString& typed) {
  TeachOutcome outcome;
  if (!loaded_ && !Load(outcome.problems)) return outcome;
  AreaPictures pictures = AreaOf(images_, area);
  AreaOrigins origins = OriginsOf(images_, area);
  AreaLooks looks = LooksOf(images_, area);
  PatternImages images = images_;
  AreaLayout& layout = images.layouts[static_cast<std::size_t>(area)];
  const Segmentation found =
      FindDigitCells(capture, typed, area, KnownOf(pictures, origins), layout);
  if (found.refusal != SegmentationRefusal::None) {
    outcome.problems << RefusalText(found.refusal, typed);
    return outcome;
  }
  outcome.cells = CellsText(found.cells);
  if (found.uncertain) outcome.problems << UncertainText();
  PutCells(pictures, origins, looks, capture, found.cells);
  LearnLayout(layout, capture, found.cells);
  const std::optional<AreaPictures> fitted = FittedForSave(pictures, origins);
  if (!fitted) {
    outcome.problems << QStringLiteral("not every slot holds a pattern");
    return outcome;
  }
  StoreArea(images, area, *fitted);
  StoreLooks(images, area, looks);
  StoreOrigins(images, area, origins);
  // Every capture taught so far must read back with the new patterns
  // before anything is written: wrong cells never enter the set.
  PatternSet set;
  if (!ConvertPatterns(images, set)) {
    outcome.problems << RefusalText(SegmentationRefusal::NotReadBack, typed);
    return outcome;
  }
  std::vector<TaughtCapture> taught = taught_[static_cast<std::size_t>(area)];
  taught.push_back({capture, typed, found.cells});
  if (const std::optional<QString> problem = ReadBackProblem(taught, area, set)) {
    outcome.problems << *problem;
    return outcome;
  }
  const PatternFilesResult saved = PatternFiles(QStringLiteral("SAVE"), images, set, programFolder_);
  outcome.problems << NoticeTexts(saved.notices);
  if (saved.endProgram || !saved.notices.empty()) return outcome;
  images_ = images;
  set_ = set;
  taught_[static_cast<std::size_t>(area)] = std::move(taught);
  QStringList waiting;
  for (int slot = 0; slot < kSlotsPerArea; ++slot) {
    if (origins[static_cast<std::size_t>(slot)] != PatternOrigin::Captured) {
      waiting << (slot < 10 ? QString::number(slot) : QStringLiteral("D"));
    }
  }
  outcome.waiting = waiting.isEmpty() ? QStringLiteral("none") : waiting.join(' ');
  outcome.saved = true;
  return outcome;
}

AreaReading TaughtFolder::Read(int area, const QImage& capture) const { return ReadArea(capture, area, set_); }

AreaReading TaughtFolder::ReadLevelAfter(int lastLevel, const QImage& capture) {
  AreaReading reading = Read(0, capture);
  if (reading.failure.isEmpty()) return reading;
  const std::optional<LevelLesson> lesson = LearnLevelDigits(capture, lastLevel, images_);
  if (!lesson) return reading;
  PatternImages images = images_;
  ApplyLesson(images, *lesson);
  PatternSet set;
  const PatternFilesResult saved = PatternFiles(QStringLiteral("SAVE"), images, set, programFolder_);
  if (saved.endProgram) return reading;
  images_ = images;
  set_ = set;
  return Read(0, capture);
}
