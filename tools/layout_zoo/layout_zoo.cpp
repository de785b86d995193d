#include "layout_zoo.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QRawFont>
#include <algorithm>
#include <array>

#include "persistence/pattern_set.h"
#include "zoo_draw.h"

namespace zoo {
namespace {

constexpr int kPad = 12;          // canvas columns and rows around the line, at 1×

int Pick(std::mt19937& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
bool Chance(std::mt19937& random, int percent) { return Pick(random, 0, 99) < percent; }

template <typename T, std::size_t N>
T OneOf(std::mt19937& random, const std::array<T, N>& choices) {
  return choices[static_cast<std::size_t>(Pick(random, 0, static_cast<int>(N) - 1))];
}

QColor Gray(std::mt19937& random, int low, int high) {
  const int base = Pick(random, low, high);
  return {std::clamp(base + Pick(random, -12, 12), 0, 255), std::clamp(base + Pick(random, -12, 12), 0, 255),
          std::clamp(base + Pick(random, -12, 12), 0, 255)};
}

// The bounding box of the pixels that differ from the paper.
QRect InkBox(const QImage& image, const QColor& paper) {
  const QRgb background = paper.rgb();
  int left = image.width(), right = -1, top = image.height(), bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0xFFFFFFU) == (background & 0xFFFFFFU)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

void ChooseStyle(LayoutSpec& s, std::mt19937& random) {
  const QStringList& families = DigitFamilies();
  s.family = families.at(Pick(random, 0, static_cast<int>(families.size()) - 1));
  s.pixelSize = Pick(random, 8, 22);
  s.antialiased = Chance(random, 70);
  s.bold = Chance(random, 30);
  s.scalePercent = OneOf(random, std::array{100, 100, 150, 200, 200});
  s.smoothScale = Chance(random, 50);
  s.edge = OneOf(random, std::array{Edge::Plain, Edge::Plain, Edge::Outline, Edge::Shadow});
  s.lightOnDark = Chance(random, 65);
  s.background = OneOf(random, std::array{Background::Flat, Background::HorizontalGradient,
                                          Background::VerticalGradient, Background::Textured, Background::Noisy});
  if (s.background == Background::Noisy) s.noise = Pick(random, 8, 12);
  if (s.lightOnDark) {
    s.paper = Gray(random, 10, 90);
    s.ink = OneOf(random, std::array{QColor(255, 255, 255), QColor(255, 230, 90), QColor(170, 240, 255),
                                     QColor(190, 255, 170), QColor(235, 235, 225)});
    s.edgeColor = s.edge == Edge::Outline ? QColor(0, 0, 0) : QColor(5, 5, 10);
  } else {
    s.paper = Gray(random, 170, 250);
    s.ink = OneOf(random, std::array{QColor(0, 0, 0), QColor(40, 30, 20), QColor(20, 40, 110), QColor(110, 20, 20)});
    s.edgeColor = s.edge == Edge::Outline ? QColor(255, 255, 255) : QColor(140, 140, 150);
  }
  s.boxColor = QColor((s.ink.red() + s.paper.red()) / 2, (s.ink.green() + s.paper.green()) / 2,
                      (s.ink.blue() + s.paper.blue()) / 2);
}

void ChooseText(LayoutSpec& s, std::mt19937& random) {
  const int before = Pick(random, 0, 99);
  if (s.area == 0) {
    s.prefix = before < 35 ? QString() : before < 65 ? QStringLiteral("Lv.") : QStringLiteral("LV.");
    if (before < 15) s.leadingMargin = Pick(random, 3, 8);
    s.suffix = Chance(random, 50) ? Suffix::None : Suffix::Name;
    s.maxDigits = 3;
  } else {
    s.prefix = before < 40 ? QString() : before < 70 ? QStringLiteral("EXP") : QStringLiteral("EXP.");
    if (before < 15) s.leadingMargin = Pick(random, 3, 8);
    s.suffix = OneOf(random, std::array{Suffix::None, Suffix::None, Suffix::Name, Suffix::Bracket, Suffix::Bracket,
                                        Suffix::SpacedBracket, Suffix::SpacedBracket, Suffix::Parenthesis});
    s.maxDigits = Pick(random, 4, 16);
    s.commas = Chance(random, 50);
    s.centred = Chance(random, 35);
  }
  if (!s.prefix.isEmpty() && Chance(random, 50)) s.afterPrefix = QStringLiteral(" ");
  s.name = OneOf(random, std::array{QStringLiteral("Aria"), QStringLiteral("Kuro"), QStringLiteral("Mimi"),
                                    QStringLiteral("Hero"), QStringLiteral("Zed")});
  const int spacing = Pick(random, 0, 99);
  s.touching = spacing < 15;
  s.boxed = spacing >= 90 && !s.commas;
}

// The canvas, and the area a player would drag over the widest number: the
// line's full height and width with a margin of a pixel or two (a few
// layouts with more background around).
bool Measure(LayoutSpec& s, std::mt19937 random) {
  const QFontMetrics metrics(FontOf(s));
  const QString widestNumber = ShownNumber(s, QString(s.maxDigits, QLatin1Char('8')).toULongLong());
  const QString widestSuffix = SuffixText(s, 8888);
  const int advance =
      std::max(LineAdvance(s, widestNumber, widestSuffix), LineAdvance(s, QStringLiteral("0123456789"), widestSuffix));
  s.canvasWidth = advance + 2 * kPad + s.leadingMargin;
  s.canvasHeight = metrics.height() + 2 * kPad;
  s.baseline = kPad + metrics.ascent();
  s.textLeft = kPad + s.leadingMargin;
  const QColor paper = s.paper;
  const QRect columns = InkBox(DrawScaled(s, widestNumber, widestSuffix, true), paper);
  const QRect rows = InkBox(
      DrawScaled(s, QStringLiteral("0123456789"), s.suffix == Suffix::Name ? QString() : widestSuffix, true), paper);
  if (columns.isNull() || rows.isNull()) return false;
  const int extra = Chance(random, 20) ? Pick(random, 1, 3) : 0;
  const int scaledMargin = s.leadingMargin * s.scalePercent / 100;
  s.grab = QRect(QPoint(columns.left() - Pick(random, 1, 2) - extra - scaledMargin, rows.top() - Pick(random, 1, 2) - extra),
                 QPoint(columns.right() + Pick(random, 1, 3) + extra, rows.bottom() + Pick(random, 1, 2) + extra));
  s.grab &= QRect(0, 0, s.canvasWidth * s.scalePercent / 100, s.canvasHeight * s.scalePercent / 100);
  return s.grab.height() <= kLargestPatternSide;  // no capture is taller
}

}  // namespace

const QStringList& DigitFamilies() {
  static const QStringList families = [] {
    QStringList found;
    for (QString family : QFontDatabase::families(QFontDatabase::Latin)) {
      // One family from several foundries is listed as "Family [foundry]": once is enough.
      family = family.section(QStringLiteral(" ["), 0, 0);
      if (QFontDatabase::isPrivateFamily(family) || found.contains(family)) continue;
      QFont font(family);
      font.setPixelSize(14);
      if (QFontInfo(font).family().section(QStringLiteral(" ["), 0, 0) != family) continue;
      const QRawFont raw = QRawFont::fromFont(font);
      bool digits = raw.isValid();
      for (char d = '0'; d <= '9' && digits; ++d) digits = raw.supportsCharacter(QChar(d));
      // Symbol fonts claim Latin but put pictures where the digits are.
      if (digits && !family.contains(QLatin1String("Symbol")) && !family.startsWith(QLatin1String("D050000L"))) {
        found << family;
      }
    }
    found.sort();
    return found;
  }();
  return families;
}

LayoutSpec MakeLayout(int area, std::uint32_t seed) {
  std::seed_seq sequence{static_cast<std::uint32_t>(area), seed, 0x2007U};
  std::mt19937 random(sequence);
  LayoutSpec s;
  s.area = area;
  s.seed = seed;
  ChooseStyle(s, random);
  ChooseText(s, random);
  // Drawn on its own so that the zoo's other traits stay what they were
  // before glyph positions were a trait.
  std::seed_seq positions{static_cast<std::uint32_t>(area), seed, 0x2026U};
  std::mt19937 positionRandom(positions);
  s.wholePixels = s.antialiased && Chance(positionRandom, 50);
  // A layout too tall for the largest pattern is drawn smaller, as a player
  // with such a screen would not get far anyway.
  while (!Measure(s, random) && s.pixelSize > 6) {
    if (s.scalePercent > 100 && s.pixelSize <= 10) {
      s.scalePercent -= 50;
    } else {
      --s.pixelSize;
    }
  }
  return s;
}

std::uint64_t RandomValue(const LayoutSpec& layout, std::mt19937& random) {
  if (layout.area == 0) return static_cast<std::uint64_t>(Pick(random, 1, 300));
  const int digits = Pick(random, std::max(1, layout.maxDigits - 3), layout.maxDigits);
  std::uint64_t value = static_cast<std::uint64_t>(Pick(random, 1, 9));
  for (int i = 1; i < digits; ++i) value = value * 10 + static_cast<std::uint64_t>(Pick(random, 0, 9));
  return value;
}

QString ShownNumber(const LayoutSpec& layout, std::uint64_t value) {
  QString text = QString::number(value);
  if (!layout.commas) return text;
  for (qsizetype at = text.size() - 3; at > 0; at -= 3) text.insert(at, QLatin1Char(','));
  return text;
}

QImage RenderCapture(const LayoutSpec& layout, const QString& numberText, std::uint32_t captureSeed) {
  std::mt19937 random(captureSeed);
  const QString suffix = SuffixText(layout, Pick(random, 0, 9999));
  QImage image = DrawScaled(layout, numberText, suffix, false).copy(layout.grab);
  if (layout.noise > 0) {
    std::uniform_int_distribution<int> noise(-layout.noise, layout.noise);
    for (int y = 0; y < image.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = line[x];
        line[x] = qRgb(std::clamp(qRed(p) + noise(random), 0, 255), std::clamp(qGreen(p) + noise(random), 0, 255),
                       std::clamp(qBlue(p) + noise(random), 0, 255));
      }
    }
  }
  return image;
}

namespace {
const char* BackgroundName(Background b) {
  switch (b) {
    case Background::Flat: return "flat";
    case Background::HorizontalGradient: return "h-gradient";
    case Background::VerticalGradient: return "v-gradient";
    case Background::Textured: return "textured";
    case Background::Noisy: return "noisy";
  }
  return "?";
}
}  // namespace

QString LayoutSpec::ScaleGroup() const {
  if (scalePercent == 100) return QStringLiteral("1x");
  return QString::number(scalePercent / 100.0) + (smoothScale ? QStringLiteral("x smooth") : QStringLiteral("x nearest"));
}
QString LayoutSpec::EdgeGroup() const {
  if (edge == Edge::Plain) return QStringLiteral("plain");
  return edge == Edge::Outline ? QStringLiteral("outline") : QStringLiteral("shadow");
}
QString LayoutSpec::PrefixGroup() const {
  if (!prefix.isEmpty()) return QLatin1Char('"') + prefix + afterPrefix + QLatin1Char('"');
  return leadingMargin > 0 ? QStringLiteral("margin") : QStringLiteral("nothing");
}
QString LayoutSpec::SuffixGroup() const {
  switch (suffix) {
    case Suffix::None: return QStringLiteral("nothing");
    case Suffix::Name: return QStringLiteral("name");
    case Suffix::Bracket: return QStringLiteral("[%]");
    case Suffix::SpacedBracket: return QStringLiteral(" [%]");
    case Suffix::Parenthesis: return QStringLiteral(" (%)");
  }
  return {};
}
QString LayoutSpec::BackgroundGroup() const { return QString::fromLatin1(BackgroundName(background)); }
QString LayoutSpec::PositionGroup() const {
  if (!antialiased) return QStringLiteral("whole pixels (mono)");
  return wholePixels ? QStringLiteral("whole pixels") : QStringLiteral("fractions of a pixel");
}
QString LayoutSpec::StyleGroup() const {
  QString style = antialiased ? (wholePixels ? QStringLiteral("aa hinted") : QStringLiteral("aa")) : QStringLiteral("mono");
  if (bold) style += QStringLiteral(" bold");
  if (boxed) style += QStringLiteral(" boxed");
  if (touching) style += QStringLiteral(" touching");
  return style;
}

QString LayoutSpec::Describe() const {
  QStringList parts{QStringLiteral("area %1 seed %2:").arg(area + 1).arg(seed),
                    QLatin1Char('"') + family + QLatin1Char('"'), QString::number(pixelSize) + QStringLiteral("px"),
                    StyleGroup() + QLatin1Char(','), ScaleGroup() + QLatin1Char(','), EdgeGroup() + QLatin1Char(','),
                    (lightOnDark ? QStringLiteral("light on dark") : QStringLiteral("dark on light")),
                    BackgroundGroup() + (noise > 0 ? QStringLiteral(" ±%1,").arg(noise) : QStringLiteral(",")),
                    QStringLiteral("before %1, after %2,").arg(PrefixGroup(), SuffixGroup())};
  if (commas) parts << QStringLiteral("commas,");
  if (centred) parts << QStringLiteral("centred,");
  parts << QStringLiteral("%1 digits, capture %2x%3").arg(maxDigits).arg(grab.width()).arg(grab.height());
  return parts.join(QLatin1Char(' '));
}

}  // namespace zoo
