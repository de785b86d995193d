// Teaches an area's digit patterns from a capture saved as an image file,
// or reads a capture with the patterns taught, through the same code the
// pattern editor and the timed reading use; no display needed.
//
//   teach_patterns --program-folder DIR --area 1|2 --capture FILE --number TEXT
//       finds the cells of TEXT (as the player types it: "152", "12,345,678",
//       "45.678") in FILE, puts them into the area's slots as the editor's
//       "キャプチャから登録" does, saves DIR/Pattern/ and reads FILE back.
//       A DIR without Pattern/ first gets the delivered defaults from the
//       system/ folder beside this program. Exit 0 when saved and read back.
//   teach_patterns --program-folder DIR --area 1|2 --read FILE
//       prints the digit string the patterns of DIR read in FILE, or 認識NG
//       (the reason on stderr). Exit 0 when read.
#include <QCommandLineParser>
#include <QDir>
#include <QCoreApplication>
#include <QImage>
#include <QTextStream>

#include "persistence/pattern_store.h"
#include "recognition/area_reading.h"
#include "recognition/area_teaching.h"

namespace {

QTextStream& Out() {
  static QTextStream out(stdout);
  return out;
}
QTextStream& Err() {
  static QTextStream err(stderr);
  return err;
}

// The pattern files of the program folder, installed from the delivered
// defaults beside this program the first time. False when unusable.
bool LoadPatterns(const QString& programFolder, PatternImages& images, PatternSet& set) {
  const QString defaults = QCoreApplication::applicationDirPath() + QStringLiteral("/system");
  const bool firstTime = !QDir(programFolder + QStringLiteral("/Pattern")).exists();
  const PatternFilesResult result = PatternFilesFrom(firstTime ? QStringLiteral("INIT") : QStringLiteral("READ"), images,
                                                     set, programFolder, defaults, QDateTime::currentDateTime());
  for (const Notice& notice : result.notices) Err() << notice.title << ": " << notice.text << Qt::endl;
  return !result.endProgram;
}

QImage LoadCapture(const QString& path) {
  const QImage image(path);
  if (image.isNull()) Err() << "teach_patterns: cannot read the image " << path << Qt::endl;
  return image.convertToFormat(QImage::Format_RGB32);
}

int Teach(const QString& programFolder, int area, const QString& file, const QString& typed) {
  PatternImages images;
  PatternSet set;
  const QImage capture = LoadCapture(file);
  if (capture.isNull() || !LoadPatterns(programFolder, images, set)) return 2;
  AreaPictures pictures = AreaOf(images, area);
  AreaOrigins origins = OriginsOf(images, area);
  const Segmentation found = FindDigitCells(capture, typed, PitchHint(pictures, origins), KnownOf(pictures, origins));
  if (found.refusal != SegmentationRefusal::None) {
    Err() << RefusalText(found.refusal, typed) << Qt::endl;
    return 1;
  }
  QStringList cells;
  for (int i = 0; i < found.cells.CellCount(); ++i) {
    const CellSpan& s = found.cells.spans[static_cast<std::size_t>(i)];
    cells << QStringLiteral("%1:%2-%3")
                 .arg(found.cells.IsDelimiter(i) ? QStringLiteral("D") : QString(found.cells.digits[i]))
                 .arg(s.x)
                 .arg(s.x + s.width - 1);
  }
  Out() << "cells " << cells.join(' ') << " height " << found.cells.height
        << (found.cells.hasDelimiter ? "" : " (no delimiter: its slot is left as it is)") << Qt::endl;
  if (found.uncertain) Err() << UncertainText() << Qt::endl;

  PutCells(pictures, origins, capture, found.cells);
  const std::optional<AreaPictures> fitted = FittedForSave(pictures, origins);
  if (!fitted) {
    Err() << "teach_patterns: not every slot holds a pattern" << Qt::endl;
    return 1;
  }
  StoreArea(images, area, *fitted);
  StoreOrigins(images, area, origins);
  const PatternFilesResult saved = PatternFiles(QStringLiteral("SAVE"), images, set, programFolder);
  for (const Notice& notice : saved.notices) Err() << notice.title << ": " << notice.text << Qt::endl;
  if (saved.endProgram || !saved.notices.empty()) return 1;
  if (const std::optional<QString> problem = ReadBackProblem({{capture, typed, found.cells}}, area, set)) {
    Err() << *problem << Qt::endl;
    return 1;
  }
  QStringList waiting;
  for (int slot = 0; slot < kSlotsPerArea; ++slot) {
    if (origins[static_cast<std::size_t>(slot)] != PatternOrigin::Captured) {
      waiting << (slot < 10 ? QString::number(slot) : QStringLiteral("D"));
    }
  }
  Out() << "saved; not taught from a capture yet: " << (waiting.isEmpty() ? QStringLiteral("none") : waiting.join(' '))
        << Qt::endl;
  return 0;
}

int Read(const QString& programFolder, int area, const QString& file) {
  PatternImages images;
  PatternSet set;
  const QImage capture = LoadCapture(file);
  if (capture.isNull() || !LoadPatterns(programFolder, images, set)) return 2;
  const AreaReading reading = ReadArea(capture, area, set);
  Out() << reading.caption << Qt::endl;
  if (!reading.failure.isEmpty()) Err() << reading.failure << Qt::endl;
  return reading.failure.isEmpty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // Images only: no display, no window system.
  QCoreApplication app(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Teaches or reads an area's digit patterns from image files."));
  parser.addHelpOption();
  const QCommandLineOption folderOption(QStringLiteral("program-folder"), QStringLiteral("The program folder."),
                                        QStringLiteral("DIR"));
  const QCommandLineOption areaOption(QStringLiteral("area"), QStringLiteral("1 (level) or 2 (experience)."),
                                      QStringLiteral("N"));
  const QCommandLineOption captureOption(QStringLiteral("capture"), QStringLiteral("Capture to teach from."),
                                         QStringLiteral("FILE"));
  const QCommandLineOption numberOption(QStringLiteral("number"), QStringLiteral("The number the capture shows."),
                                        QStringLiteral("TEXT"));
  const QCommandLineOption readOption(QStringLiteral("read"), QStringLiteral("Capture to read."), QStringLiteral("FILE"));
  parser.addOptions({folderOption, areaOption, captureOption, numberOption, readOption});
  parser.process(app);

  const QString area = parser.value(areaOption);
  const bool teach = parser.isSet(captureOption) && parser.isSet(numberOption) && !parser.isSet(readOption);
  const bool read = parser.isSet(readOption) && !parser.isSet(captureOption);
  if (!parser.isSet(folderOption) || (area != QLatin1String("1") && area != QLatin1String("2")) || (!teach && !read)) {
    Err() << "usage: teach_patterns --program-folder DIR --area 1|2 --capture FILE --number TEXT\n"
             "       teach_patterns --program-folder DIR --area 1|2 --read FILE"
          << Qt::endl;
    return 2;
  }
  const QString folder = QDir(parser.value(folderOption)).absolutePath();
  const int index = area.toInt() - 1;
  return teach ? Teach(folder, index, parser.value(captureOption), parser.value(numberOption))
               : Read(folder, index, parser.value(readOption));
}
