#include "dialogs/form3.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "capture/window_system.h"
#include "dialogs/clipboard_picture.h"
#include "monitoring/message_boxes.h"
#include "dialogs/pattern_rules.h"
#include "dialogs/pattern_slot.h"
#include "dialogs/placed_windows.h"
#include "persistence/debug_trace.h"
#include "persistence/pattern_store.h"

namespace {

const QPoint kSlotPositions[kSlotsPerArea] = {{8, 68},   {56, 68},  {104, 68},  {152, 68},  {200, 68}, {8, 144},
                                              {56, 144}, {104, 144}, {152, 144}, {200, 144}, {264, 68}};

QPushButton* Button(QWidget* parent, const char* name, const QString& text, const QRect& at) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(at);
  button->setAutoDefault(false);  // no default button: Enter does nothing by itself
  return button;
}

QLabel* Caption(QWidget* parent, const QString& name, const QString& text, const QRect& at) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setGeometry(at);
  return label;
}

}  // namespace

Form3::Form3(ProgramState& state, Services& services, std::function<void()> patternsChanged, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      state_(state),
      services_(services),
      patternsChanged_(std::move(patternsChanged)),
      endProgram_([] { QCoreApplication::exit(1); }) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(tr("基準画像登録"));
  setModal(true);
  setFixedSize(324, 270);
  BuildControls();
  for (int slot = 0; slot < kSlotsPerArea; ++slot) {
    connect(slots_[static_cast<std::size_t>(slot)], &PatternSlot::clicked, this, [this, slot] { SlotClicked(slot); });
  }
  connect(cmdSave_, &QPushButton::clicked, this, &Form3::SaveClicked);
  connect(cmdInitial_, &QPushButton::clicked, this, &Form3::InitialClicked);
  connect(cmdEnd_, &QPushButton::clicked, this, &Form3::BackClicked);
  connect(cmdTeach_, &QPushButton::clicked, this, &Form3::TeachClicked);
}

void Form3::BuildControls() {
  //: The captions above the ten digit slots, one character each, 0 to 9.
  const QString digitCaptions = tr("０１２３４５６７８９");
  for (int slot = 0; slot < kSlotsPerArea; ++slot) {
    const QPoint at = kSlotPositions[slot];
    auto* picture = new PatternSlot(this);
    picture->setObjectName(slot < 10 ? QStringLiteral("picPattern(%1)").arg(slot) : QStringLiteral("picPatternDL"));
    picture->move(at);
    slots_[static_cast<std::size_t>(slot)] = picture;
    auto* caption =
        Caption(this, QStringLiteral("lblPattern(%1)").arg(slot),
                slot < 10 ? QString(digitCaptions.at(slot)) : DelimiterCaption(),
                slot < 10 ? QRect(at.x(), at.y() - 16, kEmptySlotSide, 16) : QRect(at.x(), at.y() - 16, 58, 16));
    if (slot < 10) caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  }
  Caption(this, QStringLiteral("lblPatternNo_t"), tr("パターン登録"), QRect(8, 9, 78, 18));
  lblPatternNo_ = Caption(this, QStringLiteral("lblPatternNo"), QStringLiteral("1"), QRect(88, 8, 24, 20));
  cmdEnd_ = Button(this, "cmdEnd", tr("戻 る"), QRect(256, 4, 57, 29));
  cmdSave_ = Button(this, "cmdSave", tr("保 存"), QRect(256, 128, 57, 29));
  cmdInitial_ = Button(this, "cmdInitial", tr("初期化"), QRect(256, 158, 57, 29));
  cmdTeach_ = Button(this, "cmdTeach", tr("キャプチャから登録…"), QRect(8, 196, 160, 29));
  // Two lines: with every slot still waiting, the list of them is long.
  lblMarks_ = Caption(this, QStringLiteral("lblMarks"), QString(), QRect(8, 228, 308, 38));
  lblMarks_->setWordWrap(true);
  lblMarks_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Form3::LoadArea(int area) {
  area_ = area == 1 ? 1 : 0;  // there are two areas; anything else edits the first
  const AreaPictures current = AreaOf(state_.patternImages, area_);
  for (int slot = 0; slot < kSlotsPerArea; ++slot) {
    PatternSlot* picture = slots_[static_cast<std::size_t>(slot)];
    picture->SetPicture(QImage());
    const QImage& held = current[static_cast<std::size_t>(slot)];
    if (held.width() > 0) picture->SetPicture(held.convertToFormat(QImage::Format_RGB32));
  }
  lblPatternNo_->setText(QString::number(area_ + 1));
  origins_ = OriginsOf(state_.patternImages, area_);
  looks_ = LooksOf(state_.patternImages, area_);
  layout_ = state_.patternImages.layouts[static_cast<std::size_t>(area_)];
  UpdateMarks();
}

void Form3::OpenForArea(int area) { Open(area, QImage()); }

void Form3::OpenToTeach(int area, const QImage& capture) { Open(area, capture); }

void Form3::Open(int area, const QImage& teachFrom) {
  // Already open (a second command ran inside its modal loop): the slots
  // being edited are kept.
  if (isVisible()) {
    raise();
    return;
  }
  taught_.clear();
  LoadArea(area);
  PlaceBesideOwner(this, parentWidget());
  if (!teachFrom.isNull()) {
    // The editor stands first, so that the teacher opens above it.
    show();
    TeachFrom(teachFrom);
  }
  exec();
}

void Form3::SlotClicked(int slot) {
  PatternSlot* picture = slots_[static_cast<std::size_t>(slot)];
  const QImage clipboard = ClipboardPicture(QGuiApplication::clipboard()->mimeData(), services_.windows.ClipboardBitmap());
  const QImage before = picture->Picture();
  picture->SetPicture(SlotAfterClick(before, clipboard));
  // Looks belong to the picture they were learned beside.
  if (slot < 10 && picture->Picture() != before) looks_[static_cast<std::size_t>(slot)].clear();
  if (!clipboard.isNull()) {
    origins_[static_cast<std::size_t>(slot)] = picture->Picture().isNull() ? PatternOrigin::Unknown : PatternOrigin::Pasted;
  }
  UpdateMarks();
}

void Form3::SaveClicked() {
  services_.trace.Event(QStringLiteral(" Saving PatternFiles･･･ "));
  // Once the area is taught from captures, the delivered defaults still in
  // it neither take part nor set the common height.
  const std::optional<AreaPictures> fitted = FittedForSave(SlotPictures(), origins_);
  if (!fitted) {
    services_.boxes.Inform(tr("基準パターンを登録してください。"), tr("パターン保存"));
    return;
  }
  // Every capture taught from must read with the new set before anything
  // is written: wrong cells never enter the set.
  PatternImages images = state_.patternImages;
  StoreArea(images, area_, *fitted);
  StoreLooks(images, area_, looks_);
  StoreOrigins(images, area_, origins_);
  images.layouts[static_cast<std::size_t>(area_)] = layout_;
  if (!TaughtCapturesRead(images)) return;
  for (PatternSlot* slot : slots_) slot->SetPicture(QImage());
  state_.patternImages = images;
  const PatternFilesResult result =
      PatternFiles(QStringLiteral("SAVE"), state_.patternImages, state_.patterns, state_.programFolder);
  if (ReportAndMaybeEnd(result)) return;
  if (patternsChanged_) patternsChanged_();
  taught_.clear();
  done(QDialog::Accepted);
  ShowMainWindow();
  services_.trace.Event(QStringLiteral(" Saving PatternFiles･･･End "));
}

AreaPictures Form3::SlotPictures() const {
  AreaPictures pictures;
  for (std::size_t slot = 0; slot < pictures.size(); ++slot) pictures[slot] = slots_[slot]->Picture();
  return pictures;
}

void Form3::InitialClicked() {
  const bool yes = services_.boxes.AskYesNo(
      tr("パターンファイルをデフォルトの状態に初期化します。よろしいですか？"), tr("パターンファイル初期化"));
  if (yes) {
    const PatternFilesResult result =
        PatternFiles(QStringLiteral("INIT"), state_.patternImages, state_.patterns, state_.programFolder);
    if (ReportAndMaybeEnd(result)) return;
    if (patternsChanged_) patternsChanged_();
    // The slots show the defaults now in force: left as they were, a
    // following save would write the old patterns back over them.
    LoadArea(area_);
  }
  services_.trace.Event(QStringLiteral(" Initialize PatternFiles･･･End "));
}

void Form3::BackClicked() {
  done(QDialog::Rejected);
  ShowMainWindow();
}

bool Form3::ReportAndMaybeEnd(const PatternFilesResult& result) {
  for (const Notice& notice : result.notices) services_.boxes.Inform(notice.text, notice.title);
  if (!result.endProgram) return false;
  done(QDialog::Rejected);
  if (endProgram_) endProgram_();
  return true;
}

void Form3::ShowMainWindow() {
  if (QWidget* main = parentWidget()) {
    main->show();
    main->raise();
    main->activateWindow();
  }
}

void Form3::keyPressEvent(QKeyEvent* event) {
  // No cancel button: Escape neither closes the editor nor drops its slots.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
