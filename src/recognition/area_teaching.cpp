#include "recognition/area_teaching.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>

#include "persistence/pattern_store.h"
#include "recognition/capture_noise.h"
#include "recognition/area_reading.h"
#include "recognition/pattern_matcher.h"
#include "recognition/picture_match.h"
#include "recognition/recognition.h"

namespace {

// The texts' context for the translator.
struct AreaTeaching {
  Q_DECLARE_TR_FUNCTIONS(AreaTeaching)
};

// What to look at when a capture does not read back: the first digit read
// otherwise than typed, or what follows the digits.
QString LikelyCause(const QString& typed, const AreaReading& read) {
  const QString& got = read.digits;
  qsizetype k = 0;
  while (k < typed.size() && k < got.size() && typed[k] == got[k]) ++k;
  if (k < typed.size()) {
    //: The k-th digit typed, e.g. 3桁目の「7」
    const QString which = AreaTeaching::tr("%1桁目の「%2」").arg(k + 1).arg(typed[k]);
    if (k < got.size()) {
      return AreaTeaching::tr("%1が「%2」と読まれました。%1のセルか、その左の境界が怪しいです。").arg(which, got[k]);
    }
    // Reading that stopped before the digit says why (ink before the
    // number, a mark between digits): the digit's cell may be right.
    if (!read.failure.isEmpty()) {
      return AreaTeaching::tr("%1が読めません（%2）。%1のセルか、その左右の境界が怪しいです。").arg(which, read.failure);
    }
    return AreaTeaching::tr("%1が読めません。%1のセルか、その左右の境界が怪しいです。").arg(which);
  }
  if (got.size() > typed.size()) {
    return AreaTeaching::tr("最後の数字の後にも数字が読まれました。最後の数字の右の境界か、デリミタのセルが怪しいです。");
  }
  if (!read.failure.isEmpty()) {
    //: Why the capture did not read, then what to look at
    return AreaTeaching::tr("%1。最後の数字の右の境界か、デリミタのセルが怪しいです。")
        .arg(read.failure);
  }
  return {};
}

// Whether `look` reads `glyph` as reading would take it: as large, above
// the match threshold and alike on a second look.
bool LookReads(const QImage& look, const QImage& glyph) {
  if (look.size() != glyph.size()) return false;
  PixelGrid lookGrid;
  PixelGrid glyphGrid;
  ReadPixels(look.convertToFormat(QImage::Format_RGB32), lookGrid);
  ReadPixels(glyph.convertToFormat(QImage::Format_RGB32), glyphGrid);
  return PictureAt(glyphGrid, lookGrid, 0);
}

// Whether `picture` lies in `capture` where `span` stands, a column either
// way, as a look would read there.
bool ShownNear(const QImage& picture, const QImage& capture, CellSpan span) {
  if (!IsRegistered(picture) || picture.height() > capture.height()) return false;
  PixelGrid pictureGrid;
  PixelGrid captureGrid;
  ReadPixels(picture.convertToFormat(QImage::Format_RGB32), pictureGrid);
  ReadPixels(capture.convertToFormat(QImage::Format_RGB32), captureGrid);
  for (int x = std::max(0, span.x - 1); x <= span.x + 1; ++x) {
    if (PictureAt(captureGrid, pictureGrid, x)) return true;
  }
  return false;
}

}  // namespace

QSize SlotOuterSize(const QImage& picture) {
  if (picture.isNull()) return {kEmptySlotSide, kEmptySlotSide};
  return picture.size();
}

bool IsRegistered(const QImage& picture) {
  return !picture.isNull() && WithinLargestPattern(picture.width(), picture.height());
}

std::optional<int> CommonHeight(const AreaPictures& pictures) {
  int count = 0;
  int sum = 0;
  for (const QImage& picture : pictures) {
    if (!IsRegistered(picture)) continue;
    ++count;
    sum += SlotOuterSize(picture).height();
  }
  if (count != kSlotsPerArea) return std::nullopt;
  return sum / kSlotsPerArea;
}

QImage FitToHeight(const QImage& picture, int height) {
  const QImage source = picture.convertToFormat(QImage::Format_RGB32);
  QImage fitted(source.width(), height, QImage::Format_RGB32);
  fitted.fill(Qt::black);
  const int rows = std::min(height, source.height());
  const auto rowBytes = static_cast<std::size_t>(source.width()) * 4;
  for (int y = 0; y < rows; ++y) std::memcpy(fitted.scanLine(y), source.constScanLine(y), rowBytes);
  return fitted;
}

void StoreArea(PatternImages& images, int area, const AreaPictures& pictures) {
  const auto first = static_cast<std::size_t>(area) * 10;
  for (std::size_t d = 0; d < 10; ++d) {
    // A digit's variants are looks of the picture they were learned beside.
    if (images.digits[first + d] != pictures[d]) images.variants[first + d].clear();
    images.digits[first + d] = pictures[d];
  }
  images.delimiters[static_cast<std::size_t>(area)] = pictures[10];
}

AreaPictures AreaOf(const PatternImages& images, int area) {
  AreaPictures pictures;
  const auto first = static_cast<std::size_t>(area) * 10;
  for (std::size_t d = 0; d < 10; ++d) pictures[d] = images.digits[first + d];
  pictures[10] = images.delimiters[static_cast<std::size_t>(area)];
  return pictures;
}

std::optional<AreaPictures> FittedForSave(const AreaPictures& pictures, const AreaOrigins& origins) {
  if (!CommonHeight(pictures)) return std::nullopt;
  int count = 0;
  int sum = 0;
  for (int slot = 0; slot < kSlotsPerArea; ++slot) {
    if (!TakesPart(origins, slot)) continue;
    ++count;
    sum += SlotOuterSize(pictures[static_cast<std::size_t>(slot)]).height();
  }
  if (count == 0) return std::nullopt;
  AreaPictures fitted = pictures;
  for (int slot = 0; slot < kSlotsPerArea; ++slot) {
    QImage& picture = fitted[static_cast<std::size_t>(slot)];
    picture = FitToHeight(picture, sum / count);
  }
  return fitted;
}

KnownDigits KnownOf(const AreaPictures& pictures, const AreaOrigins& origins) {
  KnownDigits known;
  for (std::size_t d = 0; d < 10; ++d) {
    const bool taught = origins[d] == PatternOrigin::Captured || origins[d] == PatternOrigin::LearnedAtLevelUp;
    if (taught && IsRegistered(pictures[d])) known[d] = pictures[d];
  }
  return known;
}

AreaLooks LooksOf(const PatternImages& images, int area) {
  AreaLooks looks;
  for (std::size_t d = 0; d < 10; ++d) looks[d] = images.variants[static_cast<std::size_t>(area) * 10 + d];
  return looks;
}

void StoreLooks(PatternImages& images, int area, const AreaLooks& looks) {
  for (std::size_t d = 0; d < 10; ++d) {
    const std::size_t index = static_cast<std::size_t>(area) * 10 + d;
    std::vector<QImage>& kept = images.variants[index];
    kept.clear();
    for (const QImage& look : looks[d]) kept.push_back(FitToHeight(look, images.digits[index].height()));
  }
}

void AddLook(std::vector<QImage>& looks, const QImage& picture, const QImage& look, const QImage& shown) {
  if (!VariantFits(look.size(), picture.size()) || LookReads(picture, shown)) return;
  if (std::any_of(looks.begin(), looks.end(), [&shown](const QImage& kept) { return LookReads(kept, shown); })) return;
  // The oldest look gives way when a digit has all it may keep.
  if (looks.size() >= static_cast<std::size_t>(kMaxVariants)) looks.erase(looks.begin());
  looks.push_back(look);
}

void PutCells(AreaPictures& pictures, AreaOrigins& origins, AreaLooks& looks, const QImage& capture,
              const DigitCells& cells) {
  const QImage clean = WithoutNoise(capture);
  std::array<bool, kSlotsPerArea> filled{};
  for (int i = 0; i < cells.CellCount(); ++i) {
    const std::size_t slot = cells.IsDelimiter(i) ? 10 : static_cast<std::size_t>(cells.digits[i].digitValue());
    if (filled[slot]) continue;
    const QImage cell = CellPicture(clean, cells, i);
    if (!IsRegistered(cell)) continue;
    // The delimiter has no looks: one taught from a capture before that
    // shows here as well (a fraction of a pixel aside) stays, so that the
    // captures it was taught from go on reading.
    if (slot == 10 && origins[slot] == PatternOrigin::Captured && pictures[slot].height() == cell.height() &&
        ShownNear(pictures[slot], capture, cells.spans[static_cast<std::size_t>(i)])) {
      filled[slot] = true;
      continue;
    }
    if (slot < 10) {
      std::vector<QImage>& kept = looks[slot];
      const bool taught = origins[slot] == PatternOrigin::Captured || origins[slot] == PatternOrigin::LearnedAtLevelUp;
      if (!taught) kept.clear();
      // Looks that do not fit the new picture read no more beside it.
      std::erase_if(kept, [&cell](const QImage& look) { return !VariantFits(look.size(), cell.size()); });
      if (taught && IsRegistered(pictures[slot])) AddLook(kept, cell, pictures[slot], pictures[slot]);
      for (int j = i + 1; j < cells.CellCount(); ++j) {
        if (!cells.IsDelimiter(j) && cells.digits[j] == cells.digits[i]) {
          AddLook(kept, cell, CellPicture(clean, cells, j), CellPicture(capture, cells, j));
        }
      }
    }
    pictures[slot] = cell;
    origins[slot] = PatternOrigin::Captured;
    filled[slot] = true;
  }
}

void LearnLayout(AreaLayout& layout, const QImage& capture, const DigitCells& cells) {
  layout.endsWithDelimiter = cells.hasDelimiter && (!layout.learned || layout.endsWithDelimiter);
  layout.learned = true;
  layout.separators = layout.separators || cells.separators;
  layout.digitGap = std::max(layout.digitGap, cells.digitGap);
  if (cells.textGap > 0) layout.textGap = layout.textGap > 0 ? std::min(layout.textGap, cells.textGap) : cells.textGap;
  if (cells.prefix) {
    layout.prefix = WithoutNoise(capture).copy(QRect(cells.prefix->x, 0, cells.prefix->width, cells.height));
  }
}

std::optional<QString> ReadBackProblem(const std::vector<TaughtCapture>& taught, int area, const PatternSet& patterns) {
  const PatternMatcher matcher(patterns);
  for (const TaughtCapture& t : taught) {
    const AreaReading read = ReadArea(t.capture, area, matcher);
    if (read.digits == t.cells.digits && read.failure.isEmpty()) continue;
    return QCoreApplication::translate("AreaTeaching",
                                       "登録に使ったキャプチャが「%1」と読めません（読み取り結果: %2）。保存していません。\r\n"
                                       "%3\r\nセルの境界や入力した数字を確かめて、もう一度登録してください。")
        .arg(t.typed, read.caption, LikelyCause(t.cells.digits, read));
  }
  return std::nullopt;
}

QString RefusalText(SegmentationRefusal refusal, const QString& typed) {
  switch (refusal) {
    case SegmentationRefusal::None:
      return {};
    case SegmentationRefusal::NotADigitString:
      return AreaTeaching::tr("キャプチャに見えている数字を0～9で入力してください（桁区切りの「,」「.」は入れてかまいません）。");
    case SegmentationRefusal::TooManyDigits:
      return AreaTeaching::tr("数字が多すぎます。登録に使える数字は%1桁までです。\r\n"
                            "キャプチャに見えている数字だけを入力してください。")
          .arg(kMaxCaptureDigits);
    case SegmentationRefusal::NothingAtTheTop:
      return AreaTeaching::tr("キャプチャの上端に文字が見つかりません。\r\nキャプチャ領域の位置を確かめてください。");
    case SegmentationRefusal::CountDoesNotFit:
      return AreaTeaching::tr("「%1」に合う文字の並びがキャプチャに見つかりません。\r\n"
                            "入力した数字と、キャプチャ領域に数字の全体が入っているかを確かめてください。")
          .arg(typed);
    case SegmentationRefusal::RepeatedDigitDiffers:
      return AreaTeaching::tr("同じ数字のはずの文字が違って見えます。\r\n入力した数字を確かめてください。");
    case SegmentationRefusal::DifferentDigitsAlike:
      return AreaTeaching::tr("違う数字のはずの文字が同じに見えます。\r\n入力した数字を確かめてください。"
                            "（合っていれば、違いが小さすぎて見分けられない字体です）");
    case SegmentationRefusal::DelimiterLooksLikeADigit:
      return AreaTeaching::tr("最後の数字の後の文字が数字（の一部）に見えます。\r\n入力した数字が足りないかもしれません。");
    case SegmentationRefusal::DigitsTouch:
      return AreaTeaching::tr("数字どうしがくっついていて、1文字ずつに切り分けられません。");
    case SegmentationRefusal::Ambiguous:
      return AreaTeaching::tr("入力した数字が、キャプチャの2か所に同じくらい当てはまります。\r\n"
                            "キャプチャ領域を数字の周りだけに狭めるか、別の数字のときのキャプチャで登録してください。");
    case SegmentationRefusal::PrefixDiffers:
      return AreaTeaching::tr("数字の前の文字が、前に登録したキャプチャと違います。\r\n"
                            "同じキャプチャ領域で撮ったキャプチャか確かめてください。");
    case SegmentationRefusal::NotReadBack:
      return AreaTeaching::tr("「%1」のセルを切り出しても、このキャプチャを読み返せません。\r\n"
                            "入力した数字と、キャプチャ領域に数字の全体が入っているかを確かめてください。")
          .arg(typed);
  }
  return {};
}

QString UncertainText() {
  return AreaTeaching::tr("別の切り方もほぼ同じくらい当てはまります。セルが数字1文字ずつを囲んでいるか確かめてください。");
}
