// Every way a painting program may hand a picture over the clipboard: under
// any format name, as a bare device-independent bitmap (bottom-up, or
// top-down with colour masks), or only as the system's own bitmap.
#include "dialogs/clipboard_picture.h"

#include <QBuffer>
#include <QMimeData>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray Saved(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes;
}

// A 32-bit top-down bitmap with BI_BITFIELDS masks after its 40-byte header
// (planes 1 and 32 bits in one word); RGB32 rows are its pixels as they are.
QByteArray TopDownWithMasks(const QImage& image) {
  QByteArray dib(52, '\0');
  const auto width = static_cast<std::uint32_t>(image.width());
  const auto height = static_cast<std::uint32_t>(-image.height());
  for (const auto& [at, value] : {std::pair{0, 40u}, {4, width}, {8, height}, {12, 0x00200001u}, {16, 3u},
                                  {40, 0xFF0000u}, {44, 0xFF00u}, {48, 0xFFu}}) {
    qToLittleEndian(value, dib.data() + at);
  }
  return dib + QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
}

TEST(ClipboardPicture, ReadsEveryPictureFormatOfferedAndTheSystemsBitmap) {
  QImage picture(5, 3, QImage::Format_RGB32);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) picture.setPixel(x, y, qRgb(40 * x, 80 * y, 200 - 30 * x));
  }
  const QByteArray dib = Saved(picture, "BMP").mid(14);
  const struct {
    const char* what;
    QString format;
    QByteArray bytes;
    QByteArray system;
    bool read;
  } cases[] = {
      {"PNG under a Windows application's own name", R"(application/x-qt-windows-mime;value="PNG")",
       Saved(picture, "PNG"), {}, true},
      {"a bare bitmap, bottom-up", R"(application/x-qt-windows-mime;value="CF_DIB")", dib, {}, true},
      {"a top-down bitmap with masks", R"(application/x-qt-windows-mime;value="DeviceIndependentBitmap")",
       TopDownWithMasks(picture), {}, true},
      {"only the system's bitmap", QStringLiteral("text/plain"), "P1 5 3 1 0 1 0 1", dib, true},
      {"text that reads as a picture is no picture", QStringLiteral("text/plain"), "P1 5 3 1 0 1 0 1", {}, false},
      {"a cut bitmap", R"(application/x-qt-windows-mime;value="CF_DIB")", dib.left(30), dib.left(8), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QMimeData data;
    data.setData(c.format, c.bytes);
    const QImage read = ClipboardPicture(&data, c.system);
    EXPECT_EQ(read, c.read ? picture : QImage());
  }
}

}  // namespace
