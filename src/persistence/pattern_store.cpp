#include "persistence/pattern_store.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <utility>

#include "base/cp932.h"
#include "base/pixel_grid.h"
#include "persistence/bmp_structure.h"
#include "persistence/file_system.h"

namespace {

const char* const kBmp = "BMP";
// A 41 x 41 picture at 32 bits with the largest header and palette takes
// under 8 KiB; anything far larger is not a pattern.
constexpr qint64 kMaxPatternFileSize = 1024 * 1024;

QString PatternFolder(const QString& programFolder) { return programFolder + QStringLiteral("/Pattern"); }
QString SystemFolder(const QString& programFolder) { return programFolder + QStringLiteral("/system"); }

QImage& Slot(PatternImages& images, int slot) {
  return slot < 20 ? images.digits[static_cast<std::size_t>(slot)] : images.delimiters[static_cast<std::size_t>(slot - 20)];
}
const QImage& Slot(const PatternImages& images, int slot) {
  return slot < 20 ? images.digits[static_cast<std::size_t>(slot)] : images.delimiters[static_cast<std::size_t>(slot - 20)];
}

bool Fits(QSize size) { return WithinLargestPattern(size.width(), size.height()); }
bool Fits(const QImage& image) { return Fits(image.size()); }

// A pattern file's picture; null when it is missing, unreadable or too
// large to convert. The size is read first, so that a huge file is turned
// down before it is decoded. Only a plain file is opened: opening a pipe or
// a device of that name could block start-up for ever.
// A file whose structure does not agree with its header is unreadable too,
// though Qt would decode it.
QImage LoadPicture(const QString& path, QSize largest = {kLargestPatternSide, kLargestPatternSide}) {
  const QFileInfo info(path);
  if (!info.isFile() || info.size() > kMaxPatternFileSize) return {};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError || !SoundBmp(bytes)) return {};
  QBuffer buffer;
  buffer.setData(bytes);
  QImageReader reader(&buffer, kBmp);
  const QSize size = reader.size();
  if (!reader.canRead() || size.width() > largest.width() || size.height() > largest.height()) return {};
  return reader.read();
}

// The marks before a number may be wider than a digit ("EXP." at twice
// the size), never taller.
constexpr QSize kLargestPrefix{8 * kLargestPatternSide, kLargestPatternSide};
constexpr qint64 kMaxLayoutFileSize = 16 * 1024;
// No capture area is this wide.
constexpr int kLargestTextGap = 4096;

QString PrefixFileName(int area) { return QStringLiteral("PatternPre%1.bmp").arg(area); }

// The areas' layouts as the side file and the prefix pictures keep them;
// an area the file does not name (or a missing or damaged file) has none
// learned, and reads as sets from before the file did.
std::array<AreaLayout, 2> LoadLayouts(const QString& folder) {
  std::array<AreaLayout, 2> layouts{};
  const QString path = folder + '/' + QLatin1String(kPatternLayoutFile);
  const QFileInfo info(path);
  if (!info.isFile() || info.size() > kMaxLayoutFileSize) return layouts;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return layouts;
  for (const QString& line : DecodeCp932(file.readAll()).split(QLatin1Char('\n'))) {
    const QStringList fields = line.split(QLatin1Char(','));
    if (line.startsWith(QLatin1Char(';')) || fields.size() < 4) continue;
    bool areaOk = false;
    bool gapOk = false;
    const int area = fields[0].trimmed().toInt(&areaOk) - 1;
    const int gap = fields[2].trimmed().toInt(&gapOk);
    if (!areaOk || area < 0 || area > 1 || !gapOk || gap < 0 || gap > kLargestPatternSide) continue;
    AreaLayout& layout = layouts[static_cast<std::size_t>(area)];
    layout.learned = true;
    layout.separators = fields[1].trimmed() == QLatin1String("1");
    layout.digitGap = gap;
    layout.endsWithDelimiter = fields.size() > 4 && fields[4].trimmed() == QLatin1String("1");
    // A gap this file cannot hold truly is as good as none seen: the
    // number then ends as it did before the field was kept.
    bool textGapOk = false;
    const int textGap = fields.size() > 5 ? fields[5].trimmed().toInt(&textGapOk) : 0;
    layout.textGap = textGapOk && textGap > 0 && textGap <= kLargestTextGap ? textGap : 0;
    if (!fields[3].trimmed().isEmpty()) {
      layout.prefix = LoadPicture(folder + '/' + PrefixFileName(area), kLargestPrefix);
      // A prefix that cannot be read would let any marks stand before the
      // number: the area has no layout then.
      if (layout.prefix.isNull()) layout = AreaLayout{};
    }
  }
  return layouts;
}

struct OriginName {
  PatternOrigin origin;
  const char* name;
};
constexpr OriginName kOriginNames[] = {{PatternOrigin::Unknown, "unknown"},
                                       {PatternOrigin::Delivered, "default"},
                                       {PatternOrigin::Pasted, "paste"},
                                       {PatternOrigin::Captured, "capture"},
                                       {PatternOrigin::LearnedAtLevelUp, "levelup"}};
// The side file is small; anything far larger is not one.
constexpr qint64 kMaxOriginFileSize = 64 * 1024;

// The origins the side file of `folder` names; Unknown where it says
// nothing (or is missing, or unreadable).
std::array<PatternOrigin, kPatternSlots> LoadOrigins(const QString& folder) {
  std::array<PatternOrigin, kPatternSlots> origins{};
  const QString path = folder + '/' + QLatin1String(kPatternOriginFile);
  const QFileInfo info(path);
  if (!info.isFile() || info.size() > kMaxOriginFileSize) return origins;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return origins;
  const QString text = DecodeCp932(file.readAll());
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    const qsizetype comma = line.indexOf(QLatin1Char(','));
    if (line.startsWith(QLatin1Char(';')) || comma < 0) continue;
    const QString name = line.left(comma).trimmed();
    const QString value = line.mid(comma + 1).trimmed();
    for (int slot = 0; slot < kPatternSlots; ++slot) {
      if (name.compare(PatternFileName(slot), Qt::CaseInsensitive) != 0) continue;
      for (const OriginName& o : kOriginNames) {
        if (value == QLatin1String(o.name)) origins[static_cast<std::size_t>(slot)] = o.origin;
      }
    }
  }
  return origins;
}

bool SaveOrigins(const std::array<PatternOrigin, kPatternSlots>& origins, const QString& folder) {
  QString text = QStringLiteral(
      "; パターンの出所: capture キャプチャから登録, levelup レベルアップ時に自動登録, paste 貼り付け, default 同梱の既定, "
      "unknown 不明\r\n");
  for (int slot = 0; slot < kPatternSlots; ++slot) {
    for (const OriginName& o : kOriginNames) {
      if (o.origin == origins[static_cast<std::size_t>(slot)]) {
        text += PatternFileName(slot) + QStringLiteral(" , ") + QLatin1String(o.name) + QStringLiteral("\r\n");
      }
    }
  }
  return ReplaceFile(folder + '/' + QLatin1String(kPatternOriginFile), EncodeCp932(text));
}

// Whether an area's eleven pictures can be a pattern set: the editor gives
// them one height, so a height of its own is a damaged file; and two
// pictures alike could never be told apart, so a drawing of the second
// would read as the first (defaults left in an area taught from captures
// take no part, and may have become alike when brought to its height).
bool AreaSound(const PatternImages& images, int area) {
  std::array<QImage, kSlotsPerArea> pictures;
  const AreaOrigins origins = OriginsOf(images, area);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    pictures[i] = Slot(images, SlotOf(area, static_cast<int>(i))).convertToFormat(QImage::Format_RGB32);
  }
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    if (pictures[i].height() != pictures[0].height()) return false;
    for (std::size_t j = 0; j < i; ++j) {
      const bool bothTakePart = TakesPart(origins, static_cast<int>(i)) && TakesPart(origins, static_cast<int>(j));
      if (pictures[i] == pictures[j] && bothTakePart) return false;
    }
  }
  return true;
}

// Loads all 22 files of `folder`; false when any is missing, unreadable or
// too large to convert, or an area's pictures are no set. The holders
// change only when every file loaded.
bool LoadAll(const QString& folder, const std::array<PatternOrigin, kPatternSlots>& origins, PatternImages& images) {
  PatternImages loaded;
  loaded.origins = origins;
  bool ok = true;
  for (int slot = 0; slot < kPatternSlots; ++slot) {
    QImage image = LoadPicture(folder + '/' + PatternFileName(slot));
    if (!image.isNull() && Fits(image)) {
      Slot(loaded, slot) = std::move(image);
    } else {
      ok = false;
    }
  }
  ok = ok && AreaSound(loaded, 0) && AreaSound(loaded, 1);
  loaded.layouts = LoadLayouts(folder);
  // Variants are extra: one that cannot be read, or does not fit its
  // digit's picture (VariantFits), is left out, and so are those after it.
  for (int slot = 0; slot < 20 && ok; ++slot) {
    for (int k = 0; k < kMaxVariants; ++k) {
      const QString path = folder + '/' + VariantFileName(slot, k);
      if (!QFileInfo(path).isFile()) break;
      QImage variant = LoadPicture(path);
      if (variant.isNull() || !VariantFits(variant.size(), Slot(loaded, slot).size())) break;
      loaded.variants[static_cast<std::size_t>(slot)].push_back(std::move(variant));
    }
  }
  if (ok) images = loaded;
  return ok;
}

QString FreeFolderName(const QString& parent, const QString& name) {
  QString candidate = name;
  for (int n = 2; QFileInfo::exists(parent + '/' + candidate); ++n) candidate = name + QStringLiteral("-%1").arg(n);
  return parent + '/' + candidate;
}

// Keeps the player's pattern files (those present) in a dated folder
// beside them, so that replacing them by the defaults loses none of them.
// A file that could be a pattern is copied; anything else of that name (a
// huge file, a pipe, a folder) is moved, which neither fills the disk nor
// holds up the start. False when one could be kept neither way: it is then
// not to be replaced.
bool BackUpPlayerFiles(const QString& programFolder, const QDateTime& now) {
  const QString folder = PatternFolder(programFolder);
  QStringList present;
  for (int slot = 0; slot < kPatternSlots; ++slot) {
    const QFileInfo info(folder + '/' + PatternFileName(slot));
    if (info.exists() || info.isSymLink()) present << PatternFileName(slot);
  }
  for (int slot = 0; slot < 20; ++slot) {
    for (int k = 0; k < kMaxVariants; ++k) {
      if (QFileInfo(folder + '/' + VariantFileName(slot, k)).isFile()) present << VariantFileName(slot, k);
    }
  }
  for (const QString& name : {QString::fromLatin1(kPatternOriginFile), QString::fromLatin1(kPatternLayoutFile),
                              PrefixFileName(0), PrefixFileName(1)}) {
    if (QFileInfo(folder + '/' + name).isFile()) present << name;
  }
  if (present.isEmpty()) return true;
  const QString backup = FreeFolderName(folder, QStringLiteral("backup-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss")));
  if (!MakeFolders(backup)) return false;
  bool ok = true;
  for (const QString& name : present) {
    const QString from = folder + '/' + name;
    const QFileInfo info(from);
    const bool copy = info.isFile() && info.size() <= kMaxPatternFileSize;
    ok = (copy ? QFile::copy(from, backup + '/' + name) : QFile::rename(from, backup + '/' + name)) && ok;
  }
  return ok;
}

// Writes one picture as a 24-bit BMP; the old file stays whole until the
// new one is complete, and only a plain file is replaced.
bool Write(const QImage& image, const QString& path) {
  if (image.isNull()) return false;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.convertToFormat(QImage::Format_RGB32).save(&buffer, kBmp)) return false;
  return ReplaceFile(path, bytes);
}

bool SaveLayouts(const std::array<AreaLayout, 2>& layouts, const QString& folder) {
  QString text = QStringLiteral(
      "; 数字の並び: エリア , 桁区切り(1 あり) , 数字の間の最大の隙間 , 数字の前の文字の画像 , 数字の後に必ずデリミタ(1 "
      "はい) , 数字の後の文字までの最小の隙間\r\n");
  bool ok = true;
  for (int area = 0; area < 2; ++area) {
    const AreaLayout& layout = layouts[static_cast<std::size_t>(area)];
    if (!layout.learned) continue;
    const bool prefix = !layout.prefix.isNull();
    if (prefix) ok = Write(layout.prefix, folder + '/' + PrefixFileName(area)) && ok;
    text += QStringLiteral("%1 , %2 , %3 , %4 , %5 , %6\r\n")
                .arg(area + 1)
                .arg(layout.separators ? 1 : 0)
                .arg(layout.digitGap)
                .arg(prefix ? PrefixFileName(area) : QString())
                .arg(layout.endsWithDelimiter ? 1 : 0)
                .arg(layout.textGap);
  }
  return ReplaceFile(folder + '/' + QLatin1String(kPatternLayoutFile), EncodeCp932(text)) && ok;
}

bool SaveAll(const PatternImages& images, const QString& programFolder) {
  const QString folder = PatternFolder(programFolder);
  bool ok = MakeFolders(folder);
  for (int slot = 0; slot < kPatternSlots; ++slot) {
    ok = Write(Slot(images, slot), folder + '/' + PatternFileName(slot)) && ok;
  }
  for (int slot = 0; slot < 20; ++slot) {
    const std::vector<QImage>& variants = images.variants[static_cast<std::size_t>(slot)];
    for (int k = 0; k < kMaxVariants; ++k) {
      const QString path = folder + '/' + VariantFileName(slot, k);
      if (k < static_cast<int>(variants.size())) {
        ok = Write(variants[static_cast<std::size_t>(k)], path) && ok;
      } else if (QFileInfo(path).isFile()) {
        QFile::remove(path);  // left over from a picture since replaced: unread, whatever happens to it
      }
    }
  }
  ok = SaveLayouts(images.layouts, folder) && ok;
  return SaveOrigins(images.origins, folder) && ok;
}

bool Convert(const QImage& image, Pattern& pattern) {
  pattern.width = image.width();
  pattern.height = image.height();
  if (!Fits(image)) return false;
  PixelGrid grid;
  ReadPixels(image, grid);
  for (int x = 0; x < grid.width; ++x) {
    for (int y = 0; y < grid.height; ++y) {
      const std::uint32_t pixel = grid.At(x, y);
      pattern.pixels[x][y] = {static_cast<std::uint8_t>(pixel), static_cast<std::uint8_t>(pixel >> 8),
                              static_cast<std::uint8_t>(pixel >> 16)};
    }
  }
  return true;
}

// Shown in message boxes only: in the language of the windows.
Notice ReadFailed() {
  return {QCoreApplication::translate("PatternStore", "パターンファイルが読み込めません。\r\nデフォルトパターンで初期化します。\r\n"),
          QCoreApplication::translate("PatternStore", "パターン読込みエラー")};
}
Notice InitFailed() {
  return {QCoreApplication::translate("PatternStore", "デフォルトパターンファイルが読み込めません。\r\n終了します。\r\n"),
          QCoreApplication::translate("PatternStore", "パターン初期化エラー")};
}
Notice SaveFailed() {
  return {QCoreApplication::translate("PatternStore", "パターンファイルを保存できませんでした。"),
          QCoreApplication::translate("PatternStore", "パターン書込みエラー")};
}
Notice DataFailed() {
  return {QCoreApplication::translate("PatternStore", "パターンファイルのデータ化に失敗しました。\r\n終了します。\r\n"),
          QCoreApplication::translate("PatternStore", "パターン読込みエラー")};
}

std::array<PatternOrigin, kPatternSlots> AllDelivered() {
  std::array<PatternOrigin, kPatternSlots> origins{};
  origins.fill(PatternOrigin::Delivered);
  return origins;
}

enum class Step { Read, Init, Save, Data, None };

Step FirstStep(const QString& mode) {
  if (mode == QLatin1String("READ")) return Step::Read;
  if (mode == QLatin1String("INIT")) return Step::Init;
  if (mode == QLatin1String("SAVE")) return Step::Save;
  if (mode == QLatin1String("DATA")) return Step::Data;
  return Step::None;
}

}  // namespace

QString VariantFileName(int slot, int k) {
  return QStringLiteral("Pattern%1v%2.bmp").arg(slot, 2, 10, QLatin1Char('0')).arg(k + 1);
}

QString PatternFileName(int slot) {
  return slot < 20 ? QStringLiteral("Pattern%1.bmp").arg(slot, 2, 10, QLatin1Char('0'))
                   : QStringLiteral("PatternDel%1.bmp").arg(slot - 20);
}

bool ConvertPatterns(const PatternImages& images, PatternSet& set) {
  bool ok = true;
  for (std::size_t group = 0; group < 2; ++group) {
    set.cellWidth[group] = 0;
    set.cellHeight[group] = 0;
    const AreaOrigins origins = OriginsOf(images, static_cast<int>(group));
    set.taughtFromCaptures[group] = TaughtFromCaptures(origins);
    const auto take = [&](int index, Pattern& pattern) {
      ok = Convert(Slot(images, SlotOf(static_cast<int>(group), index)), pattern) && ok;
      if (!TakesPart(origins, index)) {
        pattern.width = 0;
        pattern.height = 0;
      }
      set.cellWidth[group] = std::max(set.cellWidth[group], pattern.width);
      set.cellHeight[group] = std::max(set.cellHeight[group], pattern.height);
    };
    for (std::size_t digit = 0; digit < 10; ++digit) {
      const std::size_t index = group * 10 + digit;
      take(static_cast<int>(digit), set.digitPatterns[index]);
      // A variant reads only beside its digit's pattern, and fits it.
      set.variants[index].clear();
      const Pattern& digitPattern = set.digitPatterns[index];
      for (const QImage& variant : images.variants[index]) {
        const QSize pictured(digitPattern.width, digitPattern.height);
        if (!UsablePattern(digitPattern) || !VariantFits(variant.size(), pictured) ||
            set.variants[index].size() >= static_cast<std::size_t>(kMaxVariants)) {
          continue;
        }
        Pattern converted;
        if (Convert(variant.convertToFormat(QImage::Format_RGB32), converted)) set.variants[index].push_back(converted);
      }
      // The game draws a digit at any fraction of a pixel; the delivered
      // pixel glyphs stand on whole pixels.
      const PatternOrigin origin = origins[digit];
      if (origin == PatternOrigin::Captured || origin == PatternOrigin::LearnedAtLevelUp) {
        const Pattern shifted = HalfPixelLook(digitPattern);
        if (UsablePattern(shifted)) set.variants[index].push_back(shifted);
      }
    }
    take(10, set.delimiterPatterns[group]);
    set.layouts[group] = images.layouts[group];
    set.prefixes[group] = PixelGrid{};
    const QImage& prefix = images.layouts[group].prefix;
    if (!prefix.isNull() && prefix.height() <= kLargestPatternSide) ReadPixels(prefix, set.prefixes[group]);
  }
  return ok;
}

PatternFilesResult PatternFiles(const QString& mode, PatternImages& images, PatternSet& set,
                                const QString& programFolder, const QDateTime& now) {
  return PatternFilesFrom(mode, images, set, programFolder, SystemFolder(programFolder), now);
}

PatternFilesResult PatternFilesFrom(const QString& mode, PatternImages& images, PatternSet& set,
                                    const QString& programFolder, const QString& defaultsFolder, const QDateTime& now) {
  PatternFilesResult result;
  Step step = FirstStep(mode);
  bool fromDefaults = false;
  while (step != Step::None) {
    switch (step) {
      case Step::Read:
        if (LoadAll(PatternFolder(programFolder), LoadOrigins(PatternFolder(programFolder)), images)) {
          step = Step::Data;
        } else {
          result.notices.push_back(ReadFailed());
          step = Step::Init;
        }
        break;
      case Step::Init:
        if (!LoadAll(defaultsFolder, AllDelivered(), images)) {
          result.notices.push_back(InitFailed());
          result.endProgram = true;
          return result;
        }
        fromDefaults = true;
        step = Step::Save;
        break;
      case Step::Save:
        // The defaults never overwrite a player's file that is not kept.
        if ((fromDefaults && !BackUpPlayerFiles(programFolder, now)) || !SaveAll(images, programFolder)) {
          result.notices.push_back(SaveFailed());
        }
        step = Step::Data;
        break;
      case Step::Data:
        if (!ConvertPatterns(images, set)) {
          result.notices.push_back(DataFailed());
          result.endProgram = true;
        }
        step = Step::None;
        break;
      case Step::None:
        break;
    }
  }
  return result;
}

PatternFilesResult PatternFiles(const QString& mode, PatternImages& images, PatternSet& set,
                                const QString& programFolder) {
  return PatternFiles(mode, images, set, programFolder, QDateTime::currentDateTime());
}
