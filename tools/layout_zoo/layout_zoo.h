#pragma once
// A zoo of the ways a game may show its level and experience: real fonts at
// many sizes, scales, edges, colours and backgrounds, with the marks a game
// puts around the number. A layout is drawn from a seed, once; every
// capture of it is the same area of the screen showing another number.
// The reading benchmark teaches and reads these captures; the command-line
// tool writes them out for the teaching tool.
//
// Needs a QGuiApplication (the glyphs are drawn with the system's fonts).

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <random>

namespace zoo {

enum class Background { Flat, HorizontalGradient, VerticalGradient, Textured, Noisy };
enum class Edge { Plain, Outline, Shadow };
enum class Suffix { None, Name, Bracket, SpacedBracket, Parenthesis };

struct LayoutSpec {
  int area = 0;  // 0 the level, 1 the experience
  std::uint32_t seed = 0;
  QString family;
  int pixelSize = 12;
  bool antialiased = true;
  // Anti-aliased glyphs at whole pixels (as sprite digits, or text hinted
  // as Windows draws it) or at fractions of one (each copy of a digit then
  // looks a little different).
  bool wholePixels = false;
  bool bold = false;
  int scalePercent = 100;  // 100, 150 or 200, applied after drawing
  bool smoothScale = false;
  Edge edge = Edge::Plain;
  bool lightOnDark = true;
  QColor ink, paper, edgeColor, boxColor;
  Background background = Background::Flat;
  int noise = 0;         // ± per channel, drawn fresh for every capture
  QString prefix;        // "", "Lv.", "LV.", "EXP", "EXP."
  QString afterPrefix;   // "" or " "
  int leadingMargin = 0;  // background columns before the text, at 1×
  Suffix suffix = Suffix::None;
  QString name;  // for Suffix::Name
  bool commas = false;
  bool centred = false;    // the text centred in the area (experience only)
  bool touching = false;   // letter spacing tight enough for digits to touch
  bool boxed = false;      // every digit in a box of its own
  int maxDigits = 3;
  // Fixed by MakeLayout: the canvas drawn at 1× and the area taken from it
  // after scaling.
  int canvasWidth = 0, canvasHeight = 0, baseline = 0, textLeft = 0;
  QRect grab;

  QString Describe() const;
  // Groups for the benchmark's breakdown.
  QString ScaleGroup() const;
  QString EdgeGroup() const;
  QString PrefixGroup() const;
  QString SuffixGroup() const;
  QString BackgroundGroup() const;
  QString StyleGroup() const;
  QString PositionGroup() const;
};

// Every family that renders Latin digits, sorted, so that a seed draws the
// same layout on a machine with the same fonts.
const QStringList& DigitFamilies();

LayoutSpec MakeLayout(int area, std::uint32_t seed);

// A random number the layout may show: levels 1 to 300, experience with at
// most the layout's digits (and at least a few fewer).
std::uint64_t RandomValue(const LayoutSpec& layout, std::mt19937& random);

// `value` as the game shows it (with comma groups when the layout has them).
QString ShownNumber(const LayoutSpec& layout, std::uint64_t value);

// The area's capture showing `numberText`; the percentage (when shown) and
// the noise come from `captureSeed`.
QImage RenderCapture(const LayoutSpec& layout, const QString& numberText, std::uint32_t captureSeed);

}  // namespace zoo
