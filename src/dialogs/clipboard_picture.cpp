#include "dialogs/clipboard_picture.h"

#include <QFileInfo>
#include <QMimeData>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <cstdint>
#include <iterator>

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

std::uint32_t Little32(const QByteArray& bytes, qsizetype at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

// A format whose name says it holds a picture: a MIME image type, or a
// name a Windows application registered ("PNG", "CF_DIBV5", "Bitmap").
// Text formats are left out: some texts read as pictures (PBM).
bool PictureFormat(const QString& format) {
  if (format.startsWith(QStringLiteral("image/"), Qt::CaseInsensitive)) return true;
  if (format.startsWith(QStringLiteral("text/"), Qt::CaseInsensitive)) return false;
  static const char* const kWords[] = {"dib", "bitmap", "bmp", "png", "jpeg", "jpg", "gif", "tif", "image"};
  return std::any_of(std::begin(kWords), std::end(kWords),
                     [&](const char* word) { return format.contains(QLatin1String(word), Qt::CaseInsensitive); });
}

QImage Rgb32(const QImage& image) { return image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32); }

}  // namespace

QImage ImageFromDib(const QByteArray& dib) {
  constexpr qsizetype kFileHeader = 14;
  if (dib.size() < 16) return {};
  const std::uint32_t headerSize = Little32(dib, 0);
  const bool core = headerSize == 12;  // OS/2's header: 16-bit sizes, 3-byte colours
  if (!core && (headerSize < 40 || headerSize > 124 || dib.size() < 40)) return {};
  const std::uint32_t bitCount = static_cast<std::uint8_t>(dib[core ? 10 : 14]) |
                                 (static_cast<std::uint32_t>(static_cast<std::uint8_t>(dib[core ? 11 : 15])) << 8);
  const std::uint32_t compression = core ? 0 : Little32(dib, 16);
  const std::uint32_t colorsUsed = core ? 0 : Little32(dib, 32);
  // The masks follow a plain BITMAPINFOHEADER; later headers hold them.
  constexpr std::uint32_t kBitFields = 3;
  constexpr std::uint32_t kAlphaBitFields = 6;
  std::uint32_t masks = 0;
  if (headerSize == 40 && compression == kBitFields) masks = 12;
  if (headerSize == 40 && compression == kAlphaBitFields) masks = 16;
  const std::uint32_t colors = colorsUsed != 0 ? std::min<std::uint32_t>(colorsUsed, 256)
                               : bitCount <= 8  ? 1u << bitCount
                                                : 0;
  const std::uint32_t offset = kFileHeader + headerSize + masks + colors * (core ? 3 : 4);
  if (offset >= static_cast<std::uint32_t>(dib.size()) + kFileHeader) return {};
  // The BMP file it would be: its header, then the bitmap as it is.
  QByteArray file(kFileHeader, '\0');
  file[0] = 'B';
  file[1] = 'M';
  const auto put = [&file](int at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  put(2, static_cast<std::uint32_t>(dib.size() + kFileHeader));
  put(10, offset);
  file += dib;
  return Rgb32(QImage::fromData(file, "BMP"));
}

QImage ClipboardPicture(const QMimeData* data, const QByteArray& systemBitmap) {
  if (data != nullptr && data->hasImage()) {
    const QImage image = qvariant_cast<QImage>(data->imageData());
    if (!image.isNull()) return Rgb32(image);
  }
  // Qt's own conversion may fail on a bitmap some painting program wrote:
  // each format offered, as its bytes.
  if (data != nullptr) {
    for (const QString& format : data->formats()) {
      if (!PictureFormat(format)) continue;
      const QByteArray bytes = data->data(format);
      if (bytes.isEmpty()) continue;
      QImage image = QImage::fromData(bytes);
      if (image.isNull()) image = ImageFromDib(bytes);
      if (!image.isNull()) return Rgb32(image);
    }
  }
  if (QImage image = ImageFromDib(systemBitmap); !image.isNull()) return image;
  if (data == nullptr) return {};
  // Only the first few names are tried: a long text pasted by mistake must
  // not turn a click into a search of the disk.
  const QStringList files = CopiedFiles(*data).mid(0, 8);
  for (const QString& file : files) {
    if (!QFileInfo(file).isFile()) continue;
    const QImage image(file);
    if (!image.isNull()) return Rgb32(image);
  }
  return {};
}
