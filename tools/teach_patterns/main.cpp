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

#include "recognition/taught_folder.h"

namespace {

QTextStream& Out() {
  static QTextStream out(stdout);
  return out;
}
QTextStream& Err() {
  static QTextStream err(stderr);
  return err;
}

QImage LoadCapture(const QString& path) {
  const QImage image(path);
  if (image.isNull()) Err() << "teach_patterns: cannot read the image " << path << Qt::endl;
  return image.convertToFormat(QImage::Format_RGB32);
}

// The delivered defaults lie beside this program.
TaughtFolder FolderOf(const QString& programFolder) {
  return TaughtFolder(programFolder, QCoreApplication::applicationDirPath() + QStringLiteral("/system"));
}

int Teach(const QString& programFolder, int area, const QString& file, const QString& typed) {
  const QImage capture = LoadCapture(file);
  TaughtFolder folder = FolderOf(programFolder);
  QStringList problems;
  if (capture.isNull() || !folder.Load(problems)) {
    for (const QString& p : problems) Err() << p << Qt::endl;
    return 2;
  }
  const TeachOutcome outcome = folder.Teach(area, capture, typed);
  if (!outcome.cells.isEmpty()) Out() << outcome.cells << Qt::endl;
  for (const QString& p : problems + outcome.problems) Err() << p << Qt::endl;
  if (!outcome.saved) return 1;
  Out() << "saved; not taught from a capture yet: " << outcome.waiting << Qt::endl;
  return 0;
}

int Read(const QString& programFolder, int area, const QString& file) {
  const QImage capture = LoadCapture(file);
  TaughtFolder folder = FolderOf(programFolder);
  QStringList problems;
  if (capture.isNull() || !folder.Load(problems)) {
    for (const QString& p : problems) Err() << p << Qt::endl;
    return 2;
  }
  const AreaReading reading = folder.Read(area, capture);
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
