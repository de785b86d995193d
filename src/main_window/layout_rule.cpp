#include "main_window/layout_rule.h"

#include <algorithm>

#include "base/number_text.h"

namespace {

// Shared by both rules once H and W are known. A window squeezed below the
// room the rows need (only possible without the minimum) gets an empty log,
// never a negative size.
void PlaceLogAndRows(MainLayout& layout, bool debugMode) {
  layout.logWidth = std::max(0, layout.w - 8);
  layout.patternsVisible = debugMode;
  layout.patternRowTop = {layout.h - 80, layout.h - 40};
  const int bottomRoom = debugMode ? 80 + 16 : 16;
  layout.logHeight = std::max(0, layout.h - kLogTop - bottomRoom);
}

}  // namespace

MainLayout ResizeLayout(double outerWidth, double outerHeight, bool debugMode) {
  MainLayout layout;
  layout.h = RoundToInt32(outerHeight - 40);
  layout.w = RoundToInt32(outerWidth - 16);
  if (layout.h < kMinOuterHeight - 40) {
    layout.snapOuterHeight = kMinOuterHeight;
    layout.h = kMinOuterHeight - 40;
  }
  if (layout.w < kMinOuterWidth - 16) {
    layout.snapOuterWidth = kMinOuterWidth;
    layout.w = kMinOuterWidth - 16;
  }
  PlaceLogAndRows(layout, debugMode);
  return layout;
}

MainLayout DebugSwitchLayout(double outerWidth, double outerHeight, bool debugMode) {
  MainLayout layout;
  layout.h = RoundToInt32(outerHeight - 40);
  // Width outer − 24 is the same log width as W − 8 with W = outer − 16.
  layout.w = RoundToInt32(outerWidth - 16);
  PlaceLogAndRows(layout, debugMode);
  return layout;
}

int LiveAreaRoom(int extraPanelHeight) { return kLiveTop + kLivePanelHeight + extraPanelHeight + 4 - kLogLabelTop; }

MainLayout WithLiveArea(MainLayout layout, int extraPanelHeight) {
  const int logBottom = layout.logTop + layout.logHeight;
  LiveArea live;
  live.panelTop = kLiveTop;
  live.panelHeight = kLivePanelHeight + extraPanelHeight;
  live.chartTop = kLogLabelTop + LiveAreaRoom(extraPanelHeight);
  // The chart takes a third of what is left below the panel, so the log
  // keeps the larger part; with too little room the log gets all of it.
  const int free = logBottom - live.chartTop - (kLogTop - kLogLabelTop);
  const int chart = std::min(kMaxChartHeight, free / 3);
  live.chartHeight = chart >= kMinChartHeight ? chart : 0;
  layout.logLabelTop = live.chartTop + (live.chartHeight > 0 ? live.chartHeight + 4 : 0);
  layout.logTop = layout.logLabelTop + (kLogTop - kLogLabelTop);
  layout.logHeight = std::max(0, logBottom - layout.logTop);
  layout.live = live;
  return layout;
}
