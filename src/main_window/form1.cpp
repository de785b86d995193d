#include "main_window/form1.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "accounting/exp_table_file.h"
#include "accounting/log_headers.h"
#include "capture/clock.h"
#include "capture/window_system.h"
#include "dialogs/form2.h"
#include "dialogs/form3.h"
#include "dialogs/form_input_check.h"
#include "dialogs/history_window.h"
#include "monitoring/message_boxes.h"
#include "dialogs/placed_windows.h"
#include "dialogs/setup_guide.h"
#include "main_window/compact_view.h"
#include "main_window/live_panel.h"
#include "main_window/log_font.h"
#include "main_window/main_texts.h"
#include "main_window/rate_chart.h"
#include "dialogs/window_placement.h"
#include "persistence/config_file.h"
#include "persistence/debug_trace.h"
#include "persistence/first_start.h"
#include "persistence/pattern_store.h"

namespace {

constexpr int kDesignClientWidth = 520;
constexpr int kDesignClientHeight = 432;
// Room right of the buttons at design size (520 − 440 − 73).
constexpr int kRightMargin = 7;

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  if (geometry.width() > 0) {
    label->setGeometry(geometry);
  } else {
    label->move(geometry.topLeft());
    label->adjustSize();
  }
  return label;
}

QLabel* MakePicture(QWidget* parent, const QString& name, const QRect& geometry) {
  auto* picture = new QLabel(parent);
  picture->setObjectName(name);
  picture->setGeometry(geometry);
  picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return picture;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& text, const QRect& geometry) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  return button;
}

}  // namespace

Form1::Form1(Services& services, const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), services_(services), monitor_(state_, services) {
  setObjectName(QStringLiteral("Form1"));
  state_.programFolder = programFolder;
  ListenToMonitor();
  monitor_.SetOwnWindows([this] { return OwnWindowRects(); });
  SetPlacementHome(this, [this] { return SpotsToKeepClear(); });
  CreateControls();
  CreateLiveControls();
  CreateMenus();
  resize(kDesignClientWidth, kDesignClientHeight + menuBar()->sizeHint().height());
}

Form1::~Form1() {
  // The dialogs are children of this window; stop them from calling back
  // into it while it is being taken apart.
  ended_ = true;
  delete compact_.data();
  delete form2_.data();
  delete form3_.data();
  delete guide_.data();
  delete formInputCheck_.data();
}

void Form1::CreateControls() {
  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("client"));
  setCentralWidget(client_);
  client_->installEventFilter(this);

  lblCapture_t_[0] = MakeLabel(client_, QStringLiteral("lblCapture_t_0"), tr("キャプチャ1→"), {8, 8, 0, 0});
  lblCapture_[0] = MakeLabel(client_, QStringLiteral("lblCapture_0"), QStringLiteral("000"), {88, 8, 90, 13});
  lblCapture_t_[1] = MakeLabel(client_, QStringLiteral("lblCapture_t_1"), tr("キャプチャ2→"), {184, 8, 0, 0});
  lblCapture_[1] = MakeLabel(client_, QStringLiteral("lblCapture_1"), QStringLiteral("000"), {264, 8, 120, 13});
  lblElapse_ = MakeLabel(client_, QStringLiteral("lblElapse"), ShownElapsedText(0), {389, 8, 50, 13});
  picCapture_[0] = MakePicture(client_, QStringLiteral("picCapture_0"), {8, 24, 145, 29});
  picCapture_[1] = MakePicture(client_, QStringLiteral("picCapture_1"), {184, 24, 145, 29});
  picRecognize_[0] = MakePicture(client_, QStringLiteral("picRecognize_0"), {360, 24, 33, 33});
  picRecognize_[1] = MakePicture(client_, QStringLiteral("picRecognize_1"), {400, 24, 33, 33});
  cmdCapture_ = MakeButton(client_, QStringLiteral("cmdCapture"), tr("キャプチャ"), {440, 0, 73, 33});
  cmdRecognize_ = MakeButton(client_, QStringLiteral("cmdRecognize"), tr("認 識"), {440, 32, 73, 33});
  lblLog_t_ = MakeLabel(client_, QStringLiteral("lblLog_t"), tr("測定結果"), {8, 64, 60, 13});

  txtLog_ = new QPlainTextEdit(client_);
  txtLog_->setObjectName(QStringLiteral("txtLog"));
  txtLog_->setReadOnly(true);
  // Wrapped at the edge: the summary and alert lines are longer than the
  // readings, and a cut line would hide what they say.
  txtLog_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  txtLog_->setFont(LogFont());
  txtLog_->setGeometry(kLogLeft, kLogTop, 505, 269);

  for (int k = 0; k < 20; ++k) {
    const int row = k / 10;
    picPattern_[k] = MakePicture(client_, QStringLiteral("picPattern_%1").arg(k),
                                 {32 + 40 * (k % 10), 352 + 40 * row, 33, 33});
    picPattern_[k]->hide();
  }
  for (int a = 0; a < 2; ++a) {
    picPatternDL_[a] = MakePicture(client_, QStringLiteral("picPatternDL_%1").arg(a), {440, 352 + 40 * a, 33, 33});
    picPatternDL_[a]->hide();
  }

  // The buttons and readings keep their design places whatever the size, so
  // the window may not become narrower than they reach (the classic minimum
  // of 368 pixels would cut off キャプチャ, 認 識 and the time); the log
  // keeps the rule's minimum height.
  const QRect fixedControls = cmdCapture_->geometry() | cmdRecognize_->geometry() | lblElapse_->geometry() |
                              picRecognize_[1]->geometry() | lblCapture_[1]->geometry();
  client_->setMinimumSize(std::max(kMinOuterWidth - kClassicFrameWidth, fixedControls.right() + 1 + kRightMargin),
                          kMinOuterHeight - kClassicFrameHeight);

  connect(cmdCapture_, &QPushButton::clicked, this, &Form1::cmdCapture_Click);
  connect(cmdRecognize_, &QPushButton::clicked, this, &Form1::cmdRecognize_Click);
}

void Form1::CreateMenus() {
  QMenuBar* bar = menuBar();
  // The menu must sit in the window itself, where the Run and Stop commands
  // are expected, even on desktops that offer a global menu.
  bar->setNativeMenuBar(false);

  menuFile_ = bar->addMenu(tr("ファイル"));
  menuFile_->setObjectName(QStringLiteral("menuFile"));
  menuPatternSave_ = menuFile_->addAction(tr("パターン保存"));
  menuPatternSave_->setObjectName(QStringLiteral("menuPatternSave"));
  menuEnd_ = menuFile_->addAction(tr("終了"));
  menuEnd_->setObjectName(QStringLiteral("menuEnd"));

  menuTool_ = bar->addMenu(tr("ツール"));
  menuTool_->setObjectName(QStringLiteral("menuTool"));
  menuOption_ = menuTool_->addAction(tr("オプション..."));
  menuOption_->setObjectName(QStringLiteral("menuOption"));
  for (int a = 0; a < 2; ++a) {
    menuPattern_[a] = menuTool_->addAction(tr("基準画像登録%1...").arg(a + 1));
    menuPattern_[a]->setObjectName(QStringLiteral("menuPattern_%1").arg(a));
    connect(menuPattern_[a], &QAction::triggered, this, [this, a] { menuPattern_Click(a); });
  }
  menuGuide_ = menuTool_->addAction(tr("はじめての設定..."));
  menuGuide_->setObjectName(QStringLiteral("menuGuide"));
  connect(menuGuide_, &QAction::triggered, this, &Form1::menuGuide_Click);
  menuPrtScr_ = menuTool_->addAction(tr("プリントスクリーン"));
  menuPrtScr_->setObjectName(QStringLiteral("menuPrtScr"));
  QAction* menuHistory = menuTool_->addAction(tr("履歴..."));
  menuHistory->setObjectName(QStringLiteral("menuHistory"));
  menuHistory->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  connect(menuHistory, &QAction::triggered, this, [this] {
    if (!ended_) ShowHistoryWindow(this, state_.settings, services_.boxes);
  });
  menuCompact_ = menuTool_->addAction(tr("コンパクト表示"));
  menuCompact_->setObjectName(QStringLiteral("menuCompact"));
  menuCompact_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
  connect(menuCompact_, &QAction::triggered, this, &Form1::menuCompact_Click);

  menuRun_ = bar->addAction(tr("開始"));
  menuRun_->setObjectName(QStringLiteral("menuRun"));
  menuStop_ = bar->addAction(tr("停止"));
  menuStop_->setObjectName(QStringLiteral("menuStop"));
  menuStop_->setEnabled(false);

  connect(menuPatternSave_, &QAction::triggered, this, &Form1::menuPatternSave_Click);
  connect(menuEnd_, &QAction::triggered, this, &Form1::menuEnd_Click);
  connect(menuOption_, &QAction::triggered, this, &Form1::menuOption_Click);
  connect(menuPrtScr_, &QAction::triggered, this, &Form1::menuPrtScr_Click);
  connect(menuRun_, &QAction::triggered, this, &Form1::menuRun_Click);
  connect(menuStop_, &QAction::triggered, this, &Form1::menuStop_Click);
}

void Form1::CreateDialogs() {
  // The numeric input dialog comes first only because the options dialog is
  // built on it; none of the three is shown yet.
  formInputCheck_ = new FormInputCheck(services_.boxes, this);
  formInputCheck_->hide();
  form2_ = new Form2(state_, services_, *formInputCheck_, [this] { ApplyDebugModeLayout(); }, this);
  connect(form2_, &Form2::liveOptionsChanged, this, &Form1::ApplyDebugModeLayout);
  form2_->hide();
  form3_ = new Form3(state_, services_, [this] { AdoptPatterns(); }, this);
  // The editor ends the program when even the default patterns are gone.
  form3_->SetEndProgram([this] { EndNow(1); });
  form3_->SetCaptureSource([this](int area) { return monitor_.Capture(area == 1 ? 1 : 0); });
  form3_->hide();
}

bool Form1::Load() {
  services_.trace.Begin(QStringLiteral(" Starting Program･･･") + kVersionText);
  setWindowTitle(MainWindowTitle());
  logText_.clear();
  txtLog_->clear();
  show();

  // Asked before the configuration is read, which writes the file. A first
  // start has no patterns to read: it installs the delivered ones at once
  // instead of reporting them missing.
  const bool firstStart = IsFirstStart(state_.programFolder);
  Settings& settings = state_.settings;
  for (const Notice& notice : ConfigFileNotices(QStringLiteral("READ"), settings, state_.programFolder)) {
    ShowNotice(notice);
  }
  services_.trace.Event(QStringLiteral(" Reading ConfigFile･･･End "));
  ApplyDebugModeLayout();  // whether the live panel is shown is known only now
  PlaceMainWindow();

  const PatternFilesResult patterns =
      PatternFiles(firstStart ? QStringLiteral("INIT") : QStringLiteral("READ"), state_.patternImages, state_.patterns,
                   state_.programFolder, services_.clock.Now());
  for (const Notice& notice : patterns.notices) ShowNotice(notice);
  if (patterns.endProgram) {
    ended_ = true;
    return false;
  }
  AdoptPatterns();
  services_.trace.Event(QStringLiteral(" Reading PatternFile And ChangeData･･･End "));

  LoadedExpTable table = LoadExpTable(state_.programFolder);
  for (const QString& line : table.traceLines) services_.trace.Event(line);
  for (const Notice& notice : table.notices) ShowNotice(notice);
  monitor_.SetExpTable(table.table);
  services_.trace.Event(QStringLiteral(" Creating ExpDataTable･･･End "));

  CreateDialogs();
  CreateTray();
  MonitoringChanged(false);
  services_.trace.Event(QStringLiteral(" All Form Loading･･･End "));

  state_.screenHeader = ScreenHeader();
  state_.fileHeader = FileHeader(settings.saveCsv);
  ReadRecentRecords();  // the pace shows when they are read
  ShowMemoEverywhere();
  ShowGoal(monitor_.Figures());
  const bool continued = monitor_.OfferToContinueMeasurement();
  if (!continued && settings.autoStart) monitor_.AutoStart();
  if (firstStart) menuGuide_Click();
  return true;
}

void Form1::PlaceMainWindow() {
  // The window's own area is remembered and restored, never its frame: the
  // frame comes from the window manager some time after the window is
  // shown, and a frame's corner restored before it is known places the
  // window's area there instead, the place walking at every start. The
  // frame (none while unknown) only widens what must fit on the screen.
  const QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                       frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
  const Settings& s = state_.settings;
  const bool placed = s.mainWindowWidth > 0 && s.mainWindowHeight > 0;
  const QRect remembered =
      placed ? QRect(s.mainWindowX, s.mainWindowY, s.mainWindowWidth, s.mainWindowHeight) + frame : QRect();
  const QRect place =
      MainWindowPlace(remembered, frameGeometry().size(), GameOuter(), s.captureRegions, ScreenAreas());
  setGeometry(place - frame);
}

void Form1::RememberPlaces() {
  if (!isVisible()) return;
  // A maximised or minimised window is remembered as it was before; the
  // window's own area, as PlaceMainWindow restores it.
  const QRect normal = isMaximized() || isMinimized() || isFullScreen() ? normalGeometry() : geometry();
  if (normal.isEmpty()) return;
  Settings& s = state_.settings;
  s.mainWindowX = normal.x();
  s.mainWindowY = normal.y();
  s.mainWindowWidth = normal.width();
  s.mainWindowHeight = normal.height();
  if (!SaveWindowPlaces(s, state_.programFolder)) services_.trace.Event(QStringLiteral(" Window places not saved"));
}

void Form1::menuEnd_Click() {
  if (ended_) return;
  RememberPlaces();
  services_.trace.Event(QStringLiteral(" End of Program "));
  monitor_.End(true);
  EndNow(0);
}

void Form1::EndNow(int exitCode) {
  // Nothing may run after this: no tick, no wait that comes back, no dialog.
  ended_ = true;
  monitor_.End(false);
  refreshState_->stop();
  if (form2_) form2_->hide();
  if (guide_) guide_->hide();
  if (compact_) compact_->close();
  hide();
  emit endRequested(exitCode);
}

void Form1::closeEvent(QCloseEvent* event) {
  // Every window goes, nothing but the windows' places is saved; the
  // measurement ends, and a wait under way ends, so the program really ends
  // and frees its lock.
  if (!ended_) RememberPlaces();
  monitor_.End(!ended_);
  ended_ = true;
  refreshState_->stop();
  if (form2_) form2_->close();
  if (form3_) form3_->close();
  if (guide_) guide_->close();
  if (formInputCheck_) formInputCheck_->close();
  if (compact_) compact_->close();
  event->accept();
}

void Form1::CreateLiveControls() {
  panelLive_ = new LivePanel(client_);
  panelLive_->hide();
  chartLive_ = new RateChart(client_);
  chartLive_->hide();
  lblState_ = new QLabel(tr("停止中"), this);
  lblState_->setObjectName(QStringLiteral("lblState"));
  // Beside the memo field a long state (why monitoring stopped) takes a
  // second line rather than being cut.
  lblState_->setWordWrap(true);
  lblState_->installEventFilter(this);
  statusBar()->addWidget(lblState_, 1);
  statusBar()->setSizeGripEnabled(true);
  CreateMemoField();
  refreshState_ = new QTimer(this);
  refreshState_->setInterval(1000);
  connect(refreshState_, &QTimer::timeout, this, &Form1::RefreshStateLine);
}

Form2* Form1::OptionsDialog() const { return form2_.data(); }

Form3* Form1::PatternEditor() const { return form3_.data(); }

void Form1::ShowNotice(const Notice& notice) { services_.boxes.Inform(notice.text, notice.title); }

void Form1::AdoptPatterns() {
  monitor_.PatternsChanged();
  ShowPatternHolders();
}

void Form1::ShowPatternHolders() {
  const auto show = [](QLabel* holder, const QImage& image) {
    if (image.isNull()) {
      holder->clear();
      holder->resize(33, 33);
      return;
    }
    // A holder sizes itself to its picture, with its 2-pixel border around it.
    holder->setPixmap(QPixmap::fromImage(image));
    holder->resize(image.width() + 4, image.height() + 4);
  };
  for (int k = 0; k < 20; ++k) show(picPattern_[k], state_.patternImages.digits[k]);
  for (int a = 0; a < 2; ++a) show(picPatternDL_[a], state_.patternImages.delimiters[a]);
}

void Form1::menuOption_Click() {
  if (ended_) return;
  if (!form2_) {
    if (!formInputCheck_) formInputCheck_ = new FormInputCheck(services_.boxes, this);
    form2_ = new Form2(state_, services_, *formInputCheck_, [this] { ApplyDebugModeLayout(); }, this);
    connect(form2_, &Form2::liveOptionsChanged, this, &Form1::ApplyDebugModeLayout);
  }
  form2_->ShowFromMenu();
}

void Form1::menuGuide_Click() {
  if (ended_) return;
  if (!guide_) {
    SetupGuide::Steps steps;
    steps.pickAreas = [this] {
      menuOption_Click();
      // The first thing to do there: pick the level area.
      if (form2_) {
        if (auto* pick = form2_->findChild<QPushButton*>(QStringLiteral("cmdPick(0)"))) pick->setFocus();
      }
    };
    steps.capture = [this] { cmdCapture_Click(); };
    steps.teach = [this](int area) { menuPattern_Click(area); };
    guide_ = new SetupGuide(std::move(steps), this);
    // Beside the main window, not over it: the log and the readings stay in sight.
    PlaceBesideOwner(guide_, this);
  }
  guide_->show();
  guide_->raise();
  guide_->activateWindow();
}

SetupGuide* Form1::Guide() const { return guide_.data(); }

// ---- layout

QSize Form1::ClassicOuterSize() const {
  // The rule counts from the classic frame's outer size. Deriving that from
  // the real client area (below the menu bar) keeps the log and the pattern
  // rows inside it, whatever frame and menu height the window manager and
  // font give.
  return client_->size() + QSize(kClassicFrameWidth, kClassicFrameHeight);
}

void Form1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Restoring keeps the client's size, so no resize arrives; the rule (and
  // its trace line) must still run, as it does for every other size change.
  if (event->type() == QEvent::WindowStateChange) {
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if ((change->oldState() & Qt::WindowMinimized) && !isMinimized()) OnClientResized();
  }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) OnClientResized();
  if (watched == lblState_ && event->type() == QEvent::Resize) FitStateLine();
  if (watched == lblState_ && event->type() == QEvent::MouseButtonRelease) TeachFailedReading();
  return QMainWindow::eventFilter(watched, event);
}

void Form1::OnClientResized() {
  if (isMinimized() || !isVisible() || ended_) return;
  const QSize outer = ClassicOuterSize();
  const MainLayout layout = ResizeLayout(outer.width(), outer.height(), state_.debugMode);
  if (layout.snapOuterWidth || layout.snapOuterHeight) {
    const int growWidth = layout.snapOuterWidth ? *layout.snapOuterWidth - outer.width() : 0;
    const int growHeight = layout.snapOuterHeight ? *layout.snapOuterHeight - outer.height() : 0;
    resize(size() + QSize(growWidth, growHeight));
  }
  PlaceLogAndRows(layout);
  services_.trace.Event(QStringLiteral(" Resaizing Form ･･･End "));
}

void Form1::ApplyDebugModeLayout() {
  if (ended_) return;
  KeepLogRoom();
  const QSize outer = ClassicOuterSize();
  PlaceLogAndRows(DebugSwitchLayout(outer.width(), outer.height(), state_.debugMode));
}

void Form1::ApplyLayout() {
  KeepLogRoom();
  if (isMinimized() || !isVisible() || ended_) return;
  const QSize outer = ClassicOuterSize();
  PlaceLogAndRows(ResizeLayout(outer.width(), outer.height(), state_.debugMode));
}

int Form1::GoalRowHeight() const { return goalRowShown_ ? LivePanel::kGoalRowHeight : 0; }

void Form1::KeepLogRoom() {
  // The panel takes its room from the log, so the smallest window grows by
  // as much and the log keeps the height the rule's minimum gives it.
  // Raising the minimum grows a smaller client at once, and its resize lays
  // the window out for the new size: so it comes before the caller measures
  // the client, or the caller would put back the old size's places.
  const int liveRoom = state_.settings.showLivePanel ? LiveAreaRoom(GoalRowHeight()) : 0;
  client_->setMinimumHeight(kMinOuterHeight - kClassicFrameHeight + liveRoom);
}

void Form1::PlaceLogAndRows(MainLayout layout) {
  if (state_.settings.showLivePanel) layout = WithLiveArea(layout, GoalRowHeight());
  panelLive_->setVisible(layout.live.has_value());
  chartLive_->setVisible(layout.live && layout.live->chartHeight > 0);
  if (layout.live) {
    panelLive_->setGeometry(kLogLeft, layout.live->panelTop, layout.logWidth, layout.live->panelHeight);
    chartLive_->setGeometry(kLogLeft, layout.live->chartTop, layout.logWidth, layout.live->chartHeight);
  }
  lblLog_t_->move(lblLog_t_->x(), layout.logLabelTop);
  txtLog_->setGeometry(kLogLeft, layout.logTop, layout.logWidth, layout.logHeight);
  for (int k = 0; k < 20; ++k) {
    picPattern_[k]->move(picPattern_[k]->x(), layout.patternRowTop[k / 10]);
    picPattern_[k]->setVisible(layout.patternsVisible);
  }
  for (int a = 0; a < 2; ++a) {
    picPatternDL_[a]->move(picPatternDL_[a]->x(), layout.patternRowTop[a]);
    picPatternDL_[a]->setVisible(layout.patternsVisible);
  }
}
