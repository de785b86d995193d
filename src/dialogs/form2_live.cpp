// The options dialog's live-meter boxes: live readings between the timed
// captures, and the panel with its chart in the main window.
#include <QCheckBox>

#include "dialogs/form2.h"

void Form2::BuildLiveOptions() {
  chkLiveSampling_ = new QCheckBox(tr("ライブ計測をする"), this);
  chkLiveSampling_->setObjectName(QStringLiteral("chkLiveSampling"));
  chkLiveSampling_->setGeometry(256, 344, 250, 20);
  chkShowLivePanel_ = new QCheckBox(tr("ライブパネルとグラフを表示する"), this);
  chkShowLivePanel_->setObjectName(QStringLiteral("chkShowLivePanel"));
  chkShowLivePanel_->setGeometry(256, 362, 250, 20);
  connect(chkLiveSampling_, &QCheckBox::toggled, this, [this](bool on) { state_.settings.liveSampling = on; });
  connect(chkShowLivePanel_, &QCheckBox::toggled, this, [this](bool on) {
    if (state_.settings.showLivePanel == on) return;
    state_.settings.showLivePanel = on;
    emit liveOptionsChanged();
  });
}

void Form2::FillLiveOptions() {
  chkLiveSampling_->setChecked(state_.settings.liveSampling);
  chkShowLivePanel_->setChecked(state_.settings.showLivePanel);
}
