#include "zoo_draw.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace zoo {
namespace {

constexpr int kCellPadding = 4;  // a box is this much wider than the widest digit

int Clamp(int v) { return std::clamp(v, 0, 255); }

QColor Shifted(const QColor& c, int by) {
  return {Clamp(c.red() + by), Clamp(c.green() + by), Clamp(c.blue() + by)};
}

int DigitAdvance(const QFontMetrics& metrics) {
  int widest = 0;
  for (char d = '0'; d <= '9'; ++d) widest = std::max(widest, metrics.horizontalAdvance(QChar(d)));
  return widest;
}

void FillBackground(QImage& canvas, const LayoutSpec& layout, bool flat) {
  const int w = canvas.width();
  const int h = canvas.height();
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(canvas.scanLine(y));
    for (int x = 0; x < w; ++x) {
      int shift = 0;
      if (!flat) {
        switch (layout.background) {
          case Background::HorizontalGradient: shift = layout.lightOnDark ? 40 * x / w : -40 * x / w; break;
          case Background::VerticalGradient: shift = layout.lightOnDark ? 30 * y / h : -30 * y / h; break;
          // A fixed pattern of diagonal stripes, like a panel's texture.
          case Background::Textured: shift = ((x / 2 + y) % 4) * 6 - 9; break;
          default: break;
        }
      }
      line[x] = Shifted(layout.paper, shift).rgb();
    }
  }
}

// The text drawn once in `color`, offset by (dx, dy).
void DrawText(QPainter& painter, const LayoutSpec& layout, const QString& number, const QString& suffix, int x, int dx,
              int dy, const QColor& color) {
  painter.setPen(color);
  const QFontMetrics metrics(painter.font());
  const int y = layout.baseline + dy;
  const QString head = layout.prefix + layout.afterPrefix;
  if (!layout.boxed) {
    painter.drawText(x + dx, y, head + number + suffix);
    return;
  }
  int at = x + metrics.horizontalAdvance(head);
  painter.drawText(x + dx, y, head);
  const int cell = DigitAdvance(metrics) + kCellPadding;
  for (const QChar digit : number) {
    painter.drawText(at + dx + (cell - metrics.horizontalAdvance(digit)) / 2, y, QString(digit));
    at += cell;
  }
  painter.drawText(at + dx, y, suffix);
}

}  // namespace

QFont FontOf(const LayoutSpec& layout) {
  QFont font(layout.family);
  font.setPixelSize(layout.pixelSize);
  font.setBold(layout.bold);
  font.setStyleStrategy(layout.antialiased ? QFont::PreferAntialias : QFont::NoAntialias);
  // Full hinting puts every glyph at a whole pixel; the default places
  // anti-aliased glyphs at quarters of one.
  font.setHintingPreference(layout.wholePixels ? QFont::PreferFullHinting : QFont::PreferDefaultHinting);
  font.setKerning(!layout.boxed);
  if (layout.touching) font.setLetterSpacing(QFont::AbsoluteSpacing, -std::max(1, layout.pixelSize / 9));
  return font;
}

int LineAdvance(const LayoutSpec& layout, const QString& number, const QString& suffix) {
  const QFontMetrics metrics(FontOf(layout));
  const QString head = layout.prefix + layout.afterPrefix;
  if (!layout.boxed) return metrics.horizontalAdvance(head + number + suffix);
  return metrics.horizontalAdvance(head) + static_cast<int>(number.size()) * (DigitAdvance(metrics) + kCellPadding) +
         metrics.horizontalAdvance(suffix);
}

QString SuffixText(const LayoutSpec& layout, int percent) {
  const QString value = QStringLiteral("%1.%2%").arg(percent / 100).arg(percent % 100, 2, 10, QLatin1Char('0'));
  switch (layout.suffix) {
    case Suffix::Name: return QStringLiteral("   ") + layout.name;
    case Suffix::Bracket: return QLatin1Char('[') + value + QLatin1Char(']');
    case Suffix::SpacedBracket: return QStringLiteral(" [") + value + QLatin1Char(']');
    case Suffix::Parenthesis: return QStringLiteral(" (") + value + QLatin1Char(')');
    case Suffix::None: break;
  }
  return {};
}

QImage DrawScaled(const LayoutSpec& layout, const QString& number, const QString& suffix, bool flat) {
  QImage canvas(layout.canvasWidth, layout.canvasHeight, QImage::Format_RGB32);
  FillBackground(canvas, layout, flat);
  {
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::TextAntialiasing, layout.antialiased);
    painter.setFont(FontOf(layout));
    const int x = layout.centred ? (layout.canvasWidth - LineAdvance(layout, number, suffix)) / 2 : layout.textLeft;
    if (layout.boxed) {
      const QFontMetrics metrics(painter.font());
      const int cell = DigitAdvance(metrics) + kCellPadding;
      const QRect ink = metrics.tightBoundingRect(QStringLiteral("0123456789"));
      int at = x + metrics.horizontalAdvance(layout.prefix + layout.afterPrefix);
      painter.setPen(layout.boxColor);
      for (qsizetype i = 0; i < number.size(); ++i, at += cell) {
        painter.drawRect(at, layout.baseline + ink.top() - 3, cell - 2, ink.height() + 5);
      }
    }
    if (layout.edge == Edge::Outline) {
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (dx != 0 || dy != 0) DrawText(painter, layout, number, suffix, x, dx, dy, layout.edgeColor);
        }
      }
    } else if (layout.edge == Edge::Shadow) {
      DrawText(painter, layout, number, suffix, x, 1, 1, layout.edgeColor);
    }
    DrawText(painter, layout, number, suffix, x, 0, 0, layout.ink);
  }
  if (layout.scalePercent == 100) return canvas;
  return canvas.scaled(layout.canvasWidth * layout.scalePercent / 100, layout.canvasHeight * layout.scalePercent / 100,
                       Qt::IgnoreAspectRatio, layout.smoothScale ? Qt::SmoothTransformation : Qt::FastTransformation);
}

}  // namespace zoo
