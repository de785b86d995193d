#pragma once
// Teaching the eleven patterns of one area (digits 0 to 9, then the
// delimiter) from captures, apart from any window: what the slots already
// tell the search for cells, how accepted cells fill them, how they are
// brought to one height for saving, and the check that every capture
// taught from reads back. The pattern editor and the teaching tool share it.

#include <QImage>
#include <QSize>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "persistence/pattern_set.h"
#include "recognition/digit_segmentation.h"

// The size an empty slot is shown at: one past the largest pattern, the
// classic editor's mark of a slot with nothing in it.
inline constexpr int kEmptySlotSide = kLargestPatternSide + 1;

using AreaPictures = std::array<QImage, kSlotsPerArea>;

// A slot's outer size: its picture's size, or 41 x 41 when it holds none.
QSize SlotOuterSize(const QImage& picture);

// A slot counts as registered when it holds a picture no larger than the
// largest pattern. Emptiness is having no picture, never a size: a taught
// picture may be any size up to the largest.
bool IsRegistered(const QImage& picture);

// The common height of the eleven slots (their average height, rounded
// down), or nothing when not all eleven are registered.
std::optional<int> CommonHeight(const AreaPictures& pictures);

// `picture` at its own width and `height` rows: its top rows, with black
// rows added at the bottom when it is shorter.
QImage FitToHeight(const QImage& picture, int height);

// The area's pictures as the holders keep them (SlotOf); their origins go
// by OriginsOf and StoreOrigins of the pattern set. A digit whose picture
// changes loses its variants.
void StoreArea(PatternImages& images, int area, const AreaPictures& pictures);
AreaPictures AreaOf(const PatternImages& images, int area);

// The eleven pictures as they are saved: nothing when not all are
// registered; otherwise all at the common height of those that take part
// (the average of theirs, as the classic rule gives it for all eleven): a
// default left in an area taught from captures neither sets the height nor
// keeps its own.
std::optional<AreaPictures> FittedForSave(const AreaPictures& pictures, const AreaOrigins& origins);

// What the digits taught from captures tell the search for cells: the
// pictures themselves.
KnownDigits KnownOf(const AreaPictures& pictures, const AreaOrigins& origins);

// Each digit's further looks (the pattern set's variants, as large as its
// picture): the digit drawn a little otherwise, at another fraction of a
// pixel or over another part of the background.
using AreaLooks = std::array<std::vector<QImage>, 10>;
AreaLooks LooksOf(const PatternImages& images, int area);
// After StoreArea: the looks, each brought to its digit's picture's height.
void StoreLooks(PatternImages& images, int area, const AreaLooks& looks);

// Adds `look` to the looks of a digit whose picture is `picture`, oldest
// first: only when it fits the picture (VariantFits) and `shown` (the glyph as
// captured, of which `look` is the picture without its noise) is read
// neither by the picture nor by a look kept already; the oldest gives way
// beyond kMaxVariants.
void AddLook(std::vector<QImage>& looks, const QImage& picture, const QImage& look, const QImage& shown);

// The accepted cells go into their slots, taught from a capture: the first
// cell of each digit, and the delimiter when the capture showed one. The
// picture an earlier capture taught and the digit's other cells become its
// looks (AddLook), so that every capture taught from keeps reading.
void PutCells(AreaPictures& pictures, AreaOrigins& origins, AreaLooks& looks, const QImage& capture,
              const DigitCells& cells);

// What the cells tell of the area's layout, added to what earlier captures
// taught: the marks before the number, separators, the digits' spacing.
void LearnLayout(AreaLayout& layout, const QImage& capture, const DigitCells& cells);

// A capture taught from, and the cells that were taken from it.
struct TaughtCapture {
  QImage capture;
  QString typed;  // as the player typed it
  DigitCells cells;
};

// Before a save: for the first capture taught from that the new patterns
// do not read back as its digits, a message that names it, what was read
// and the digit or boundary most likely to blame (nothing is saved then);
// nothing when every one reads.
std::optional<QString> ReadBackProblem(const std::vector<TaughtCapture>& taught, int area, const PatternSet& patterns);

// The message for a refusal of the search for cells; empty for none.
QString RefusalText(SegmentationRefusal refusal, const QString& typed);

// The note shown with a proposal the search was not sure of.
QString UncertainText();
