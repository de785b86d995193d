#pragma once
// Where the log and the two pattern rows go for a given window size. Pure:
// the window measures itself, asks this rule, and moves its controls.

#include <array>
#include <optional>

inline constexpr int kLogLeft = 8;
inline constexpr int kLogTop = 80;
inline constexpr int kMinOuterWidth = 368;   // 5520 twips
inline constexpr int kMinOuterHeight = 296;  // 4440 twips

// The classic sizable frame around the client area below the menu bar: the
// rule counts from the outer size, so a window that knows only its client
// area adds these to ask the rule.
inline constexpr int kClassicFrameWidth = 8;
inline constexpr int kClassicFrameHeight = 40;

// The live panel and the chart between the capture row and the log. The
// log label and the log move down under them; the log keeps its margins.
inline constexpr int kLogLabelTop = 64;
inline constexpr int kLiveTop = 68;
inline constexpr int kLivePanelHeight = 78;
inline constexpr int kMinChartHeight = 40;  // lower than this it is left out
inline constexpr int kMaxChartHeight = 160;

struct LiveArea {
  int panelTop = 0;
  int panelHeight = 0;
  int chartTop = 0;
  int chartHeight = 0;  // 0: no room for the chart, it is hidden
};

struct MainLayout {
  int h = 0;  // outer height − 40 (after the minimum, when it applies)
  int w = 0;  // outer width − 16
  // The outer size the window must take because it was dragged below the
  // minimum; nothing when it may stay as it is.
  std::optional<int> snapOuterWidth;
  std::optional<int> snapOuterHeight;
  int logWidth = 0;
  int logHeight = 0;
  bool patternsVisible = false;
  std::array<int, 2> patternRowTop{};  // tops of the level row and the experience row
  int logLabelTop = kLogLabelTop;
  int logTop = kLogTop;
  std::optional<LiveArea> live;  // nothing: the classic window
};

// The resize handler's rule: the outer size in pixels (fractions allowed,
// rounded halves to even), with the 368 x 296 minimum.
MainLayout ResizeLayout(double outerWidth, double outerHeight, bool debugMode);

// The options dialog's rule when debug mode is switched: no minimum, the log
// 24 narrower than the outer width, 96 above the bottom in debug mode.
MainLayout DebugSwitchLayout(double outerWidth, double outerHeight, bool debugMode);

// Either rule's layout with the live panel and chart on top of the log's
// room: the log keeps its left, right and bottom edges and gets shorter.
// `extraPanelHeight`: rows the panel shows below its figures (the goal's).
MainLayout WithLiveArea(MainLayout classic, int extraPanelHeight = 0);

// What the live panel takes from the log's room above its label, whatever the
// window's size: the smallest window grows by as much.
int LiveAreaRoom(int extraPanelHeight = 0);
