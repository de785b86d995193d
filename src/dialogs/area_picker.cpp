#include "dialogs/area_picker.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <functional>

#include "recognition/area_reading.h"
#include "recognition/text_line.h"
#include "dialogs/area_pick_rules.h"
#include "monitoring/message_boxes.h"

// The picture at the zoom, the selection over it and the reading under it.
class PickCanvas : public QWidget {
 public:
  explicit PickCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picWindow"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
  }

  void SetPicture(const QImage& picture) {
    picture_ = picture;
    Resize();
  }
  const QImage& Picture() const { return picture_; }
  void SetZoom(int zoom) {
    zoom_ = zoom;
    Resize();
  }
  int Zoom() const { return zoom_; }
  void SetSelection(const QRect& r) {
    selection_ = r;
    update();
  }
  const QRect& Selection() const { return selection_; }
  void SetReading(const QString& text) {
    reading_ = text;
    update();
  }

  std::function<void()> selectionChanged;
  std::function<void()> dragEnded;  // a drag, not a click, made the selection
  std::function<void(int notches, QPointF at)> wheeled;
  std::function<bool(QKeyEvent*)> keyed;  // true when taken

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    const QRect dirty = event->rect();
    // Only the part on show is scaled: an 8x picture of a whole window is large.
    const QRect source(dirty.x() / zoom_, dirty.y() / zoom_, dirty.width() / zoom_ + 2, dirty.height() / zoom_ + 2);
    painter.drawImage(QRect(source.topLeft() * zoom_, source.size() * zoom_), picture_, source);
    if (selection_.isEmpty()) return;
    const QRect shown(selection_.topLeft() * zoom_, selection_.size() * zoom_);
    painter.setPen(QPen(QColor(255, 40, 40), 1));
    painter.drawRect(shown.adjusted(-1, -1, 0, 0));
    painter.setPen(QPen(QColor(255, 255, 0), 1, Qt::DotLine));
    painter.drawRect(shown.adjusted(-2, -2, 1, 1));
    if (reading_.isEmpty()) return;
    QFont font = painter.font();
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    const QRect label(shown.left(), shown.bottom() + 4, std::max(90, shown.width()), 20);
    painter.fillRect(label, QColor(0, 0, 0, 190));
    painter.setPen(reading_.startsWith(QStringLiteral("→")) ? QColor(120, 255, 120) : QColor(255, 120, 120));
    painter.drawText(label.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, reading_);
  }
  // Nothing changes on the press: a click that is no drag keeps the
  // rectangle the player may have nudged into place.
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    setFocus();
    anchor_ = PicturePoint(event->position(), zoom_);
    before_ = selection_;
    dragging_ = true;
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) Drag(event->position());
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (!dragging_ || event->button() != Qt::LeftButton) return;
    Drag(event->position());
    dragging_ = false;
    if (PicturePoint(event->position(), zoom_) != anchor_ && dragEnded) dragEnded();
  }
  // Arrows nudge the selection here, before the scroll area would scroll.
  void keyPressEvent(QKeyEvent* event) override {
    if (keyed && keyed(event)) {
      event->accept();
      return;
    }
    QWidget::keyPressEvent(event);
  }
  void wheelEvent(QWheelEvent* event) override {
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0 || !wheeled) return;
    wheeled(notches, event->position());
    event->accept();
  }

 private:
  void Resize() { setFixedSize(picture_.size() * zoom_); update(); }
  void Drag(QPointF at) {
    selection_ = SelectionAfterDrag(before_, anchor_, PicturePoint(at, zoom_), picture_.size());
    update();
    if (selectionChanged) selectionChanged();
  }

  QImage picture_;
  int zoom_ = 1;
  QRect selection_;
  QRect before_;  // the selection when the mouse went down
  QPoint anchor_;
  bool dragging_ = false;
  QString reading_;
};

AreaPicker::AreaPicker(MessageBoxes& boxes, const PatternSet& patterns, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      boxes_(boxes),
      patterns_(patterns) {
  setObjectName(QStringLiteral("AreaPicker"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* help = new QLabel(tr("数字の左上から、数字とその後の記号が入るようにドラッグしてください。"
                             "ホイールで拡大、矢印キーで1ピクセル移動（Shift＋矢印でサイズ）。"),
                          this);
  help->setWordWrap(true);
  layout->addWidget(help);
  lblFit_ = new QLabel(this);
  lblFit_->setObjectName(QStringLiteral("lblFit"));
  lblFit_->setWordWrap(true);
  layout->addWidget(lblFit_);
  canvas_ = new PickCanvas(this);
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName(QStringLiteral("scrWindow"));
  // The arrow keys belong to the rectangle: the view never takes the focus
  // (it would scroll on them); it follows the rectangle instead.
  scroll_->setFocusPolicy(Qt::NoFocus);
  scroll_->setWidget(canvas_);
  scroll_->setMinimumSize(640, 420);
  layout->addWidget(scroll_, 1);
  auto* row = new QHBoxLayout;
  lblReadout_ = new QLabel(this);
  lblReadout_->setObjectName(QStringLiteral("lblReadout"));
  row->addWidget(lblReadout_);
  lblReading_ = new QLabel(this);
  lblReading_->setObjectName(QStringLiteral("lblReading"));
  row->addWidget(lblReading_);
  row->addStretch(1);
  lblZoom_ = new QLabel(this);
  lblZoom_->setObjectName(QStringLiteral("lblZoom"));
  row->addWidget(lblZoom_);
  cmdOk_ = new QPushButton(tr("OK"), this);
  cmdOk_->setObjectName(QStringLiteral("cmdOk"));
  cmdOk_->setAutoDefault(false);
  row->addWidget(cmdOk_);
  cmdCancel_ = new QPushButton(tr("キャンセル"), this);
  cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
  cmdCancel_->setAutoDefault(false);
  row->addWidget(cmdCancel_);
  layout->addLayout(row);
  resize(860, 640);

  canvas_->selectionChanged = [this] { SelectionChanged(); };
  canvas_->dragEnded = [this] { FitDrag(); };
  canvas_->keyed = [this](QKeyEvent* event) { return Nudge(event); };
  canvas_->wheeled = [this](int notches, QPointF at) {
    ZoomChanged(ZoomAfterWheel(canvas_->Zoom(), notches), at / canvas_->Zoom(),
                canvas_->mapTo(scroll_->viewport(), at.toPoint()));
  };
  connect(cmdOk_, &QPushButton::clicked, this, &AreaPicker::OkClicked);
  connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void AreaPicker::Prepare(const QImage& window, int area, const CaptureRegion& current) {
  area_ = area == 1 ? 1 : 0;
  setWindowTitle(tr("キャプチャ領域%1を選択").arg(area_ + 1));
  canvas_->SetPicture(window.convertToFormat(QImage::Format_RGB32));
  current_ = current;
  picked_ = AreaPicked(current, area_, window.size());
  // Until shown, the viewport's size is not known: the view is set then.
  ApplyOpeningView(scroll_->minimumSize());
  canvas_->setFocus();
}

void AreaPicker::ApplyOpeningView(QSize viewport) {
  const OpeningView view = OpeningViewOf(canvas_->Picture().size(), current_, picked_, viewport);
  canvas_->SetZoom(view.zoom);
  canvas_->SetSelection(view.selection);
  SelectionChanged();
  scroll_->horizontalScrollBar()->setValue(view.centre.x() * view.zoom - viewport.width() / 2);
  scroll_->verticalScrollBar()->setValue(view.centre.y() * view.zoom - viewport.height() / 2);
}

void AreaPicker::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    ApplyOpeningView(scroll_->viewport()->size());
    canvas_->setFocus();
  }
}

QRect AreaPicker::Selection() const { return canvas_->Selection(); }
CaptureRegion AreaPicker::Picked() const { return RegionOf(Selection()); }
int AreaPicker::Zoom() const { return canvas_->Zoom(); }
QWidget* AreaPicker::Canvas() const { return canvas_; }

void AreaPicker::SelectionChanged() {
  const QRect r = Selection();
  lblReadout_->setText(PickReadout(r));
  // A rectangle the settings would refuse is not read: it says why instead
  // (and a drag across the whole window is not scanned on every move).
  const std::optional<Notice> refusal = RegionRefusal(RegionOf(r));
  const QString reading = refusal ? refusal->text.section(QStringLiteral("\r\n"), 0, 0)
                                  : RecognitionReadout(ReadAreaCaption(canvas_->Picture().copy(r), area_, patterns_));
  lblReading_->setText(reading);
  canvas_->SetReading(reading);
  //: The zoom factor, such as 4x.
  lblZoom_->setText(tr("%1倍").arg(canvas_->Zoom()));
}

void AreaPicker::FitDrag() {
  const TextLineFit fit = FitToTextLine(canvas_->Picture(), Selection());
  if (!fit.Moved()) {
    lblFit_->clear();
    return;
  }
  canvas_->SetSelection(fit.area);
  SelectionChanged();
  const auto moved = [](int n) { return n > 0 ? QStringLiteral("+%1").arg(n) : QString::number(n); };
  //: How far each edge of the dragged rectangle moved (+ outwards, − inwards), in pixels.
  lblFit_->setText(tr("数字の行に合わせて範囲を直しました（上 %1、下 %2、左 %3、右 %4 ピクセル）。")
                       .arg(moved(fit.top), moved(fit.bottom), moved(fit.left), moved(fit.right)));
}

void AreaPicker::ZoomChanged(int zoom, QPointF anchorPicture, QPoint anchorViewport) {
  canvas_->SetZoom(zoom);
  // The pixel under the mouse stays under the mouse.
  scroll_->horizontalScrollBar()->setValue(static_cast<int>(anchorPicture.x() * zoom) - anchorViewport.x());
  scroll_->verticalScrollBar()->setValue(static_cast<int>(anchorPicture.y() * zoom) - anchorViewport.y());
  SelectionChanged();
}

void AreaPicker::OkClicked() {
  if (const std::optional<Notice> refusal = RegionRefusal(Picked())) {
    boxes_.Inform(refusal->text, refusal->title);
    return;
  }
  accept();
}

bool AreaPicker::Nudge(QKeyEvent* event) {
  int dx = 0, dy = 0;
  switch (event->key()) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default:
      return false;
  }
  const bool resize = event->modifiers() & Qt::ShiftModifier;
  canvas_->SetSelection(Nudged(Selection(), dx, dy, resize, canvas_->Picture().size()));
  SelectionChanged();
  const QRect shown(Selection().topLeft() * Zoom(), Selection().size() * Zoom());
  scroll_->ensureVisible(shown.center().x(), shown.center().y(), shown.width() / 2 + 20, shown.height() / 2 + 20);
  return true;
}

void AreaPicker::keyPressEvent(QKeyEvent* event) {
  if (Nudge(event)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
