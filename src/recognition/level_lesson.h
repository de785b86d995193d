#pragma once
// The level teaches itself its unseen digits: a player at level 247 has
// only ever shown 2, 4 and 7. When the level area fails only because of
// glyphs no pattern knows, and the capture is the level the capture before
// read plus one, with every taught digit where that level puts it and the
// unknown glyphs exactly where its new digits stand, those glyphs become
// the patterns of those digits. The experience area never learns this way:
// nothing tells what it should read.

#include <QImage>
#include <array>
#include <optional>
#include <vector>

#include "persistence/pattern_set.h"
#include "recognition/area_teaching.h"

struct LevelLesson {
  int level = 0;          // what the capture shows
  AreaPictures pictures;  // the level area's slots with the new digits in them
  AreaOrigins origins;
  // The level digits' looks with the new ones added: a taught digit that
  // only nearly read where the level puts it (another fraction of a pixel,
  // another part of the background), checked to look like no other.
  AreaLooks variants;
};

// The lesson into the pattern pictures, origins and variants.
void ApplyLesson(PatternImages& images, const LevelLesson& lesson);

// `capture` of the level area, the level the capture before it read, and
// the pattern pictures in force; the lesson when the capture shows the next
// level, or nothing when it does not, or nothing new would be learned.
std::optional<LevelLesson> LearnLevelDigits(const QImage& capture, int lastLevel, const PatternImages& images);
