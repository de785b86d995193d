#pragma once
// The user's settings: one record shared by every part of the program,
// read from and written to TmConfig.ini by ConfigFile.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// One rectangle to capture, counted from the top-left corner of the game
// window's outer rectangle (frame and title bar included).
struct CaptureRegion {
  std::int32_t sx = 0;  // left, pixels
  std::int32_t sy = 0;  // top, pixels
  std::int32_t ex = 0;  // width, pixels
  std::int32_t ey = 0;  // height, pixels
  friend bool operator==(const CaptureRegion&, const CaptureRegion&) = default;
};

// The language of the windows; the files the program writes stay Japanese
// whatever it is.
enum class DisplayLanguage : std::int32_t {
  Automatic = 0,  // the system's: Japanese on a Japanese system, English elsewhere
  Japanese = 1,
  English = 2,
};

struct Settings {
  std::array<CaptureRegion, 2> captureRegions{};  // 0 = level digits, 1 = experience digits
  bool autoStart = false;
  std::int32_t captureInterval = 0;  // minutes
  bool beepBeep = false;
  QString saveFolder;
  QString saveFile;
  bool saveCsv = false;
  bool saveDistance = false;  // one log file per month
  std::int32_t lag = 0;       // milliseconds

  // Added after the classic nine lines (see setting_lines.h); the member
  // initialisers are the defaults, also for files written before them.
  bool liveSampling = true;  // read the areas at every tick while the game is in front
  bool showLivePanel = true;          // the live panel and chart above the log
  std::int32_t compactViewX = -1;     // where the compact view was left; -1, -1: never placed
  std::int32_t compactViewY = -1;
  bool misreadGuard = true;        // hold back readings that cannot be real
  std::int32_t alertMinutes = 5;   // no gain, or the game away, this long: tell the player
  bool alertNotify = true;         // alerts as desktop notifications
  bool alertBeep = true;           // alerts with the beep
  bool alertLogLine = true;        // alerts as a line in the on-screen log
  // The outer size of the game window the capture areas were picked for;
  // 0, 0: not known yet (the size first seen is taken).
  std::int32_t areasWindowWidth = 0;
  std::int32_t areasWindowHeight = 0;
  bool readWhenVisible = true;  // read a game behind another window while both areas are in sight
  std::int32_t goalLevel = 0;      // the level the player aims at; 0: no goal
  std::int32_t goalDate = 0;       // by when, as yyyymmdd; 0: no date
  // What the experience area shows: the experience itself (-1, the classic)
  // or how far the level is done, as a percentage with this many decimals
  // (0 … 6).
  std::int32_t expPercentDecimals = -1;
  // Whether a death costs experience (older game versions: up to a tenth of
  // the level). In today's game it does not, and a counter that falls is a
  // misread.
  bool deathCostsExp = false;
  // A level-up and a reached goal told once each (a notification and a line
  // in the on-screen log), as the alerts are.
  bool announce = true;
  // Minutes a measurement whose log file has begun waits for a game that
  // closed (a crash, a restart) before monitoring stops; 0: it stops at once.
  std::int32_t gameWaitMinutes = 10;
  // The memos of the last measurements, newest first, offered again.
  QStringList recentMemos{};
  // Where the main window was left: its own area (within the frame), corner
  // and size; a size of 0, 0: never placed (a first start goes beside the
  // game). An earlier version kept the frame's corner: read as this, its
  // window comes back a frame's width off once.
  std::int32_t mainWindowX = 0;
  std::int32_t mainWindowY = 0;
  std::int32_t mainWindowWidth = 0;
  std::int32_t mainWindowHeight = 0;
  // Read once at start: the windows are built in one language.
  DisplayLanguage displayLanguage = DisplayLanguage::Automatic;

  // The values a first start gets; the log folder defaults to the program folder.
  static Settings Defaults(const QString& programFolder);

  friend bool operator==(const Settings&, const Settings&) = default;
};
