// Writes the default pattern set as 24-bit BMP files into the given folder.
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include "persistence/pattern_store.h"
#include "pixel_font.h"

namespace {

bool Save(const QImage& image, const QString& path) {
  // 24 bits per pixel, exact colours: no alpha, no palette.
  if (image.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) return true;
  QTextStream(stderr) << "make_patterns: cannot write " << path << "\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 2) {
    QTextStream(stderr) << "usage: make_patterns <folder>\n";
    return 2;
  }
  const QDir folder(args[1]);
  if (!folder.mkpath(".")) {
    QTextStream(stderr) << "make_patterns: cannot create " << args[1] << "\n";
    return 1;
  }
  const DefaultPatterns set = MakeDefaultPatterns();
  bool ok = true;
  for (int i = 0; i < 20; ++i) ok &= Save(set.digits[i], folder.filePath(PatternFileName(i)));
  for (int g = 0; g < 2; ++g) ok &= Save(set.delimiters[g], folder.filePath(PatternFileName(20 + g)));
  return ok ? 0 : 1;
}
