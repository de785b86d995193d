// What a pattern slot may be handed from the clipboard: any image bytes an
// application offers, or a file list naming a file of any content. The
// first byte picks the form; the picture is null or RGB32.
#include <QDir>
#include <QMimeData>
#include <QUrl>
#include <cstdint>

#include "dialogs/clipboard_picture.h"
#include "fuzz_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int form = data[0] % 4;
  const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
  QMimeData mime;
  const QString file = FuzzFolder() + QStringLiteral("/copied.bmp");
  switch (form) {
    case 0:  // an image as applications put one on the clipboard
      mime.setData(QStringLiteral("application/x-qt-image"), bytes);
      break;
    case 1:  // the same bytes offered under a picture type
      mime.setData(QStringLiteral("image/png"), bytes);
      mime.setData(QStringLiteral("image/bmp"), bytes);
      break;
    default: {  // a copied file, named by URL or by GNOME's list, after text lines of the input
      if (!WriteWhole(file, bytes)) return 0;
      // The input's own text may hold lines, never paths: only the one file
      // is ever opened.
      QString noise = QString::fromLatin1(bytes.left(64));
      noise.remove(u'/');
      if (form == 2) {
        mime.setUrls({QUrl::fromLocalFile(file)});
        mime.setText(noise);
      } else {
        mime.setData(QStringLiteral("x-special/gnome-copied-files"),
                     (QStringLiteral("copy\n") + noise + QStringLiteral("\nfile://") + file).toUtf8());
      }
      break;
    }
  }
  const QImage picture = ClipboardPicture(&mime);
  if (!picture.isNull()) Require(picture.format() == QImage::Format_RGB32, "a picture not in RGB32");
  return 0;
}
