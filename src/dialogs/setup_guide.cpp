#include "dialogs/setup_guide.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* Text(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QPushButton* Button(const QString& name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

SetupGuide::SetupGuide(Steps steps, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      steps_(std::move(steps)) {
  setObjectName(QStringLiteral("SetupGuide"));
  setWindowTitle(tr("はじめての設定"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Text(tr("ゲームの Lv と経験値の数字を読めるように、3つの手順で設定します。"
                                        "ゲームを起動して、Lv と経験値が見える画面にしてから始めてください。"),
                         this));

  auto* grid = new QGridLayout;
  grid->setColumnStretch(1, 1);
  QPushButton* pick = Button(QStringLiteral("cmdPickAreas"), tr("オプションを開く…"), this);
  grid->addWidget(pick, 0, 0, Qt::AlignTop);
  grid->addWidget(Text(tr("1. 領域を選ぶ: オプションの「範囲を選択…」で、領域1は Lv の数字、"
                                      "領域2は経験値の数字をドラッグで囲みます（矢印キーで1ピクセルずつ動かせます）。"
                                      "選んだら「保 存」を押します。"),
                       this),
                  0, 1);
  QPushButton* capture = Button(QStringLiteral("cmdCapture"), tr("キャプチャ"), this);
  grid->addWidget(capture, 1, 0, Qt::AlignTop);
  grid->addWidget(Text(tr("2. キャプチャ: 押すと10秒後に両方の領域を取り込みます。"
                                      "その間にゲームを前面にして、数字が見えるようにします。"),
                       this),
                  1, 1);
  QPushButton* teachLevel = Button(QStringLiteral("cmdTeach(0)"), tr("領域1（Lv）を登録…"), this);
  QPushButton* teachExp = Button(QStringLiteral("cmdTeach(1)"), tr("領域2（経験値）を登録…"), this);
  auto* teachButtons = new QVBoxLayout;
  teachButtons->addWidget(teachLevel);
  teachButtons->addWidget(teachExp);
  grid->addLayout(teachButtons, 2, 0, Qt::AlignTop);
  grid->addWidget(Text(tr("3. 登録: 基準画像登録で「キャプチャから登録」を押し、キャプチャに見えている数字を"
                                      "そのまま入力します。まだ見ていない数字（赤枠）が残るうちは、数字が変わってから"
                                      "2と3を繰り返します。最後に「保 存」、そしてメニューの「開始」で記録が始まります。"),
                       this),
                  2, 1);
  layout->addLayout(grid);

  // Only what this build's player has: the zip holds no scripts folder.
#ifdef _WIN32
  layout->addWidget(Text(tr("ゲームなしで試すには、同梱の練習用ウィンドウ PracticeWindow.exe を使います。"
                            "この案内は ツール → はじめての設定... でいつでも開けます。"),
                         this));
#else
  layout->addWidget(Text(tr("ゲームなしで試すには、練習用ウィンドウ（scripts/run --practice）を使います。"
                            "この案内は ツール → はじめての設定... でいつでも開けます。"),
                         this));
#endif
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  QPushButton* close = Button(QStringLiteral("cmdClose"), tr("閉じる"), this);
  row->addWidget(close);
  layout->addLayout(row);
  // The window may grow but never get so small that the wrapped steps are cut.
  const int height = layout->totalHeightForWidth(560);
  setMinimumSize(560, height);
  resize(560, height);

  connect(pick, &QPushButton::clicked, this, [this] { if (steps_.pickAreas) steps_.pickAreas(); });
  connect(capture, &QPushButton::clicked, this, [this] { if (steps_.capture) steps_.capture(); });
  connect(teachLevel, &QPushButton::clicked, this, [this] { if (steps_.teach) steps_.teach(0); });
  connect(teachExp, &QPushButton::clicked, this, [this] { if (steps_.teach) steps_.teach(1); });
  connect(close, &QPushButton::clicked, this, &QDialog::close);
}
