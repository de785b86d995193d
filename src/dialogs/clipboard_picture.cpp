#include "dialogs/clipboard_picture.h"

#include <QFileInfo>
#include <QMimeData>
#include <QStringList>
#include <QUrl>

namespace {

// File managers copy files as a list of URLs; GNOME's adds a first line
// "copy" or "cut" in its own format, and some put plain paths in the text.
QStringList CopiedFiles(const QMimeData& data) {
  QStringList files;
  for (const QUrl& url : data.urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  const QByteArray gnome = data.data(QStringLiteral("x-special/gnome-copied-files"));
  QStringList lines = QString::fromUtf8(gnome).split(u'\n', Qt::SkipEmptyParts);
  if (data.hasText()) lines += data.text().split(u'\n', Qt::SkipEmptyParts);
  for (QString line : lines) {
    line = line.trimmed();
    if (line.startsWith(QStringLiteral("file://"))) {
      const QUrl url(line);
      if (url.isLocalFile()) files << url.toLocalFile();
    } else if (line.startsWith(u'/')) {
      files << line;
    }
  }
  return files;
}

}  // namespace

QImage ClipboardPicture(const QMimeData* data) {
  if (data == nullptr) return {};
  if (data->hasImage()) {
    const QImage image = qvariant_cast<QImage>(data->imageData());
    if (!image.isNull()) return image.convertToFormat(QImage::Format_RGB32);
  }
  // Only the first few names are tried: a long text pasted by mistake must
  // not turn a click into a search of the disk.
  const QStringList files = CopiedFiles(*data).mid(0, 8);
  for (const QString& file : files) {
    if (!QFileInfo(file).isFile()) continue;
    const QImage image(file);
    if (!image.isNull()) return image.convertToFormat(QImage::Format_RGB32);
  }
  return {};
}
