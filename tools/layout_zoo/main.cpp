// Writes captures of the zoo's layouts as PNG files, with the numbers they
// show in numbers.txt ("file number", the number as a player types it), so
// that layouts can be taught and read through tools/teach_patterns.
//   layout_zoo --out DIR --count N [--area 1|2] [--first-seed S] [--sheet FILE]
//   layout_zoo --families
// --sheet also puts every capture, enlarged twice, on one contact sheet.
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>
#include <vector>

#include "layout_zoo.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Writes sample captures of the layout zoo."));
  parser.addHelpOption();
  const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Folder for the captures."), QStringLiteral("DIR"));
  const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("Layouts."), QStringLiteral("N"),
                                 QStringLiteral("20"));
  const QCommandLineOption area(QStringLiteral("area"), QStringLiteral("1 (level) or 2 (experience); both if unset."),
                                QStringLiteral("N"));
  const QCommandLineOption first(QStringLiteral("first-seed"), QStringLiteral("First layout seed."),
                                 QStringLiteral("S"), QStringLiteral("1"));
  const QCommandLineOption sheet(QStringLiteral("sheet"), QStringLiteral("Contact sheet PNG."), QStringLiteral("FILE"));
  const QCommandLineOption families(QStringLiteral("families"), QStringLiteral("Lists the zoo's font families."));
  parser.addOptions({out, count, area, first, sheet, families});
  parser.process(app);
  QTextStream err(stderr);
  if (parser.isSet(families)) {
    QTextStream(stdout) << zoo::DigitFamilies().join(QLatin1Char('\n')) << Qt::endl;
    return 0;
  }
  if (!parser.isSet(out)) {
    err << "usage: layout_zoo --out DIR --count N [--area 1|2] [--first-seed S] [--sheet FILE]" << Qt::endl;
    return 2;
  }
  const QDir dir(parser.value(out));
  QDir().mkpath(dir.path());
  QFile list(dir.filePath(QStringLiteral("numbers.txt")));
  if (!list.open(QIODevice::WriteOnly | QIODevice::Text)) {
    err << "layout_zoo: cannot write " << list.fileName() << Qt::endl;
    return 1;
  }
  QTextStream numbers(&list);
  std::vector<int> areas{0, 1};
  if (parser.isSet(area)) areas = {parser.value(area).toInt() - 1};
  std::vector<QImage> captures;
  const auto firstSeed = parser.value(first).toUInt();
  for (std::uint32_t seed = firstSeed; seed < firstSeed + parser.value(count).toUInt(); ++seed) {
    for (const int a : areas) {
      const zoo::LayoutSpec layout = zoo::MakeLayout(a, seed);
      std::mt19937 random(seed);
      const QString shown = zoo::ShownNumber(layout, zoo::RandomValue(layout, random));
      const QImage capture = zoo::RenderCapture(layout, shown, seed);
      const QString name = QStringLiteral("area%1_seed%2.png").arg(a + 1).arg(seed);
      capture.save(dir.filePath(name));
      numbers << name << ' ' << shown << "  # " << layout.Describe() << '\n';
      captures.push_back(capture);
    }
  }
  if (parser.isSet(sheet)) {
    int width = 0, height = 0;
    for (const QImage& c : captures) {
      width = std::max(width, c.width() * 2);
      height += c.height() * 2 + 4;
    }
    QImage contact(width + 8, height + 4, QImage::Format_RGB32);
    contact.fill(QColor(255, 0, 255));
    QPainter painter(&contact);
    int y = 4;
    for (const QImage& c : captures) {
      painter.drawImage(QRect(4, y, c.width() * 2, c.height() * 2), c);
      y += c.height() * 2 + 4;
    }
    painter.end();
    contact.save(parser.value(sheet));
  }
  return 0;
}
