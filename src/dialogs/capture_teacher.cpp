#include "dialogs/capture_teacher.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "dialogs/form3.h"
#include "monitoring/message_boxes.h"

namespace {

constexpr int kCanvasWidth = 560;
constexpr int kMaxCellZoom = 4;
// Lines kept for the cells' widths and the doubt below them: the dialog
// does not grow under the pointer when they come.
constexpr int kCellTextLines = 5;
const QColor kDigitOutline(40, 220, 40);
const QColor kDelimiterOutline(255, 150, 0);
const QColor kSelected(255, 40, 40);

QString CellCaption(const DigitCells& cells, int index) {
  return cells.IsDelimiter(index) ? Form3::DelimiterCaption() : QString(cells.digits[index]);
}

}  // namespace

// The capture, enlarged, with the proposed cells outlined; a click picks
// the nearest boundary.
class TeacherCapture : public QWidget {
 public:
  explicit TeacherCapture(QWidget* parent) : QWidget(parent) {}

  void Show(const QImage& capture, const DigitCells* cells, int selected) {
    capture_ = capture;
    cells_ = cells;
    selected_ = selected;
    zoom_ = capture.isNull() ? 1 : std::clamp(kCanvasWidth / std::max(1, capture.width()), 1, 8);
    setFixedSize(std::max(1, capture.width()) * zoom_ + 2, std::max(1, capture.height()) * zoom_ + 2);
    update();
  }
  int Zoom() const { return zoom_; }
  std::function<void(int column)> clickedColumn;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (capture_.isNull()) return;
    painter.drawImage(QRect(1, 1, capture_.width() * zoom_, capture_.height() * zoom_), capture_);
    if (!cells_ || cells_->spans.empty()) return;
    for (int i = 0; i < cells_->CellCount(); ++i) {
      const CellSpan& s = cells_->spans[static_cast<std::size_t>(i)];
      painter.setPen(QPen(cells_->IsDelimiter(i) ? kDelimiterOutline : kDigitOutline, 1));
      // Cells that share a column overlap there; every other one is drawn
      // a row lower so that both outlines show.
      painter.drawRect(1 + s.x * zoom_, 1 + i % 2, s.width * zoom_ - 1, cells_->height * zoom_ - 1 - i % 2);
    }
    const std::vector<int> edges = cells_->Edges();
    if (selected_ >= 0 && selected_ < static_cast<int>(edges.size())) {
      const int x = 1 + edges[static_cast<std::size_t>(selected_)] * zoom_;
      painter.setPen(QPen(kSelected, 2));
      painter.drawLine(x, 0, x, height());
    }
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (clickedColumn && zoom_ > 0) {
      clickedColumn((static_cast<int>(event->position().x()) - 1 + zoom_ / 2) / zoom_);
    }
  }

 private:
  QImage capture_;
  const DigitCells* cells_ = nullptr;
  int selected_ = -1;
  int zoom_ = 1;
};

// Each proposed cell on its own, enlarged, with what it will teach.
class TeacherCells : public QWidget {
 public:
  explicit TeacherCells(QWidget* parent) : QWidget(parent) { setFixedHeight(40); }

  void Show(const QImage& capture, const DigitCells* cells) {
    pictures_.clear();
    captions_.clear();
    delimiters_.clear();
    if (cells) {
      for (int i = 0; i < cells->CellCount(); ++i) {
        pictures_.push_back(CellPicture(capture, *cells, i));
        captions_.push_back(CellCaption(*cells, i));
        delimiters_.push_back(cells->IsDelimiter(i));
      }
    }
    int total = 0;
    int tallest = 0;
    for (const QImage& p : pictures_) {
      total += p.width() + 8;
      tallest = std::max(tallest, p.height());
    }
    zoom_ = total == 0 ? 1 : std::clamp(kCanvasWidth / total, 1, kMaxCellZoom);
    // As high as the tallest cell the capture can give ever needs: the
    // dialog keeps one size while cells come and go.
    setFixedSize(kCanvasWidth + 2, std::max(40, capture.height() * kMaxCellZoom + 22));
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    int x = 2;
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
      const QImage& p = pictures_[i];
      const QRect at(x, 18, p.width() * zoom_, p.height() * zoom_);
      painter.drawImage(at, p);
      painter.setPen(QPen(delimiters_[i] ? kDelimiterOutline : kDigitOutline, 1));
      painter.drawRect(at.adjusted(-1, -1, 0, 0));
      painter.setPen(palette().color(QPalette::WindowText));
      const int captionWidth = painter.fontMetrics().horizontalAdvance(captions_[i]);
      painter.drawText(QRect(x, 0, std::max({at.width(), 40, captionWidth}), 16), Qt::AlignLeft | Qt::AlignVCenter,
                       captions_[i]);
      x += std::max(at.width() + 8, captions_[i].size() > 1 ? std::max(48, captionWidth + 4) : 16);
    }
  }

 private:
  std::vector<QImage> pictures_;
  std::vector<QString> captions_;
  std::vector<bool> delimiters_;
  int zoom_ = 1;
};

CaptureTeacher::CaptureTeacher(MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      boxes_(boxes) {
  setObjectName(QStringLiteral("CaptureTeacher"));
  setWindowTitle(tr("キャプチャから登録"));
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  lblArea_ = new QLabel(this);
  layout->addWidget(lblArea_);
  picCapture_ = new TeacherCapture(this);
  picCapture_->setObjectName(QStringLiteral("picCapture"));
  layout->addWidget(picCapture_, 0, Qt::AlignLeft);

  auto* numberRow = new QHBoxLayout;
  numberRow->addWidget(new QLabel(tr("見えている数字:"), this));
  txtNumber_ = new QLineEdit(this);
  txtNumber_->setObjectName(QStringLiteral("txtNumber"));
  txtNumber_->setPlaceholderText(tr("例: 152、12,345,678、45.678"));
  numberRow->addWidget(txtNumber_, 1);
  cmdFind_ = new QPushButton(tr("セルを探す"), this);
  cmdFind_->setObjectName(QStringLiteral("cmdFind"));
  cmdFind_->setAutoDefault(false);
  numberRow->addWidget(cmdFind_);
  layout->addLayout(numberRow);

  picCells_ = new TeacherCells(this);
  picCells_->setObjectName(QStringLiteral("picCells"));
  layout->addWidget(picCells_);
  lblCells_ = new QLabel(this);
  lblCells_->setObjectName(QStringLiteral("lblCells"));
  lblCells_->setWordWrap(true);
  lblCells_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblCells_->setMinimumHeight(lblCells_->fontMetrics().lineSpacing() * kCellTextLines);
  layout->addWidget(lblCells_);

  auto* boundaryRow = new QHBoxLayout;
  boundaryRow->addWidget(new QLabel(tr("境界(左から、0から):"), this));
  spnBoundary_ = new QSpinBox(this);
  spnBoundary_->setObjectName(QStringLiteral("spnBoundary"));
  // Room for two digits in every style (Windows' arrows take more than Fusion's).
  spnBoundary_->setMinimumWidth(spnBoundary_->sizeHint().width() + 8);
  boundaryRow->addWidget(spnBoundary_);
  cmdLeft_ = new QPushButton(tr("← 1ピクセル"), this);
  cmdLeft_->setObjectName(QStringLiteral("cmdLeft"));
  cmdLeft_->setAutoDefault(false);
  boundaryRow->addWidget(cmdLeft_);
  cmdRight_ = new QPushButton(tr("1ピクセル →"), this);
  cmdRight_->setObjectName(QStringLiteral("cmdRight"));
  cmdRight_->setAutoDefault(false);
  boundaryRow->addWidget(cmdRight_);
  boundaryRow->addStretch(1);
  layout->addLayout(boundaryRow);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  cmdAccept_ = new QPushButton(tr("登 録"), this);
  cmdAccept_->setObjectName(QStringLiteral("cmdAccept"));
  cmdAccept_->setAutoDefault(false);
  buttons->addWidget(cmdAccept_);
  cmdCancel_ = new QPushButton(tr("キャンセル"), this);
  cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
  cmdCancel_->setAutoDefault(false);
  buttons->addWidget(cmdCancel_);
  layout->addLayout(buttons);

  connect(cmdFind_, &QPushButton::clicked, this, &CaptureTeacher::FindClicked);
  connect(txtNumber_, &QLineEdit::returnPressed, this, &CaptureTeacher::FindClicked);
  connect(cmdLeft_, &QPushButton::clicked, this, [this] { MoveClicked(-1); });
  connect(cmdRight_, &QPushButton::clicked, this, [this] { MoveClicked(+1); });
  connect(spnBoundary_, &QSpinBox::valueChanged, this, [this](int) { ShowProposal(); });
  connect(cmdAccept_, &QPushButton::clicked, this, &CaptureTeacher::AcceptClicked);
  connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
  picCapture_->clickedColumn = [this](int column) {
    const std::vector<int> edges = cells_.Edges();
    if (edges.empty()) return;
    int nearest = 0;
    for (int i = 1; i < static_cast<int>(edges.size()); ++i) {
      if (std::abs(edges[static_cast<std::size_t>(i)] - column) < std::abs(edges[static_cast<std::size_t>(nearest)] - column)) {
        nearest = i;
      }
    }
    SelectEdge(nearest);
  };
}

void CaptureTeacher::Prepare(const QImage& capture, int area, const KnownDigits& known, const AreaLayout& areaLayout) {
  layout_ = areaLayout;
  capture_ = capture.convertToFormat(QImage::Format_RGB32);
  area_ = area;
  known_ = known;
  cells_ = DigitCells();
  typed_.clear();
  uncertain_ = false;
  lblArea_->setText(tr("キャプチャ領域%1の今のキャプチャ（%2×%3）")
                        .arg(area + 1)
                        .arg(capture_.width())
                        .arg(capture_.height()));
  txtNumber_->clear();
  txtNumber_->setFocus();
  ShowProposal();
  // Fixed from here on: only the capture sets it, never what is typed.
  layout()->activate();
  setFixedSize(sizeHint());
}

void CaptureTeacher::FindClicked() {
  typed_ = txtNumber_->text().trimmed();
  const Segmentation found = FindDigitCells(capture_, typed_, area_, known_, layout_);
  uncertain_ = found.uncertain;
  if (found.refusal != SegmentationRefusal::None) {
    cells_ = DigitCells();
    ShowProposal();
    boxes_.Inform(RefusalText(found.refusal, typed_), windowTitle());
    return;
  }
  cells_ = found.cells;
  spnBoundary_->setValue(0);
  ShowProposal();
}

void CaptureTeacher::SelectEdge(int edge) {
  spnBoundary_->setValue(edge);
  ShowProposal();
}

void CaptureTeacher::MoveClicked(int step) {
  if (cells_.spans.empty()) return;
  MoveBoundary(cells_, spnBoundary_->value(), step, capture_.width());
  ShowProposal();
}

void CaptureTeacher::ShowProposal() {
  const bool proposed = !cells_.spans.empty();
  spnBoundary_->blockSignals(true);
  spnBoundary_->setRange(0, proposed ? static_cast<int>(cells_.Edges().size()) - 1 : 0);
  spnBoundary_->blockSignals(false);
  picCapture_->Show(capture_, proposed ? &cells_ : nullptr, proposed ? spnBoundary_->value() : -1);
  picCells_->Show(capture_, proposed ? &cells_ : nullptr);
  spnBoundary_->setEnabled(proposed);
  cmdLeft_->setEnabled(proposed);
  cmdRight_->setEnabled(proposed);
  cmdAccept_->setEnabled(proposed);
  if (!proposed) {
    lblCells_->setText(tr("数字を入力して「セルを探す」を押してください。"));
    return;
  }
  QStringList widths;
  for (int i = 0; i < cells_.CellCount(); ++i) {
    widths << QStringLiteral("%1: %2×%3")
                  .arg(CellCaption(cells_, i))
                  .arg(cells_.spans[static_cast<std::size_t>(i)].width)
                  .arg(cells_.height);
  }
  if (!cells_.hasDelimiter) widths << tr("（数字の後に記号なし: デリミタはそのまま）");
  QString text = widths.join(QStringLiteral("  "));
  if (uncertain_) text += QStringLiteral("\n") + UncertainText();
  lblCells_->setText(text);
}

void CaptureTeacher::AcceptClicked() {
  if (cells_.spans.empty()) return;
  accept();
}

void CaptureTeacher::keyPressEvent(QKeyEvent* event) {
  // Enter finds the cells (the field's own signal); it never accepts them.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
