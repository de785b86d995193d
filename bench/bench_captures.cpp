#include "bench_captures.h"

#include "persistence/pattern_store.h"

bool LoadDefaultPatterns(const QString& systemFolder, PatternSet& set) {
  PatternImages images;
  for (int slot = 0; slot < kPatternSlots; ++slot) {
    QImage& image = slot < 20 ? images.digits[static_cast<std::size_t>(slot)]
                              : images.delimiters[static_cast<std::size_t>(slot - 20)];
    if (!image.load(systemFolder + '/' + PatternFileName(slot), "BMP")) return false;
  }
  return ConvertPatterns(images, set);
}

PixelGrid DrawArea(const PatternSet& set, int area, const QString& text) {
  const std::size_t a = static_cast<std::size_t>(area);
  PixelGrid grid;
  grid.width = kDefaultRegionWidths[a];
  grid.height = kDefaultRegionHeights[a];
  const PixelColor& bg = set.digitPatterns[a * 10].pixels[0][0];
  const std::uint32_t background = bg.blue | (bg.green << 8) | (bg.red << 16);
  grid.pixels.assign(static_cast<std::size_t>(grid.width) * grid.height, background);
  int left = 0;
  for (const QChar c : text) {
    const Pattern& p = c == u'D' ? set.delimiterPatterns[a] : set.digitPatterns[a * 10 + static_cast<std::size_t>(c.digitValue())];
    for (int x = 0; x < p.width && left + x < grid.width; ++x) {
      for (int y = 0; y < p.height && y < grid.height; ++y) {
        const PixelColor& col = p.pixels[x][y];
        grid.pixels[static_cast<std::size_t>(y) * grid.width + left + x] = col.blue | (col.green << 8) | (col.red << 16);
      }
    }
    left += set.cellWidth[a] - 1;
  }
  return grid;
}
