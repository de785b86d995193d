#pragma once
// The real message boxes (QMessageBox) behind the monitoring cycle's
// injected interface.

#include <QMessageBox>
#include <QPointer>
#include <QString>

#include "monitoring/message_boxes.h"

class QWidget;

// The real boxes (QMessageBox without an icon).
class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
  ~QtMessageBoxes() override;
  QtMessageBoxes(const QtMessageBoxes&) = delete;
  QtMessageBoxes& operator=(const QtMessageBoxes&) = delete;
  void Inform(const QString& text, const QString& title) override;
  bool AskYesNo(const QString& text, const QString& title) override;
  void Warn(const QString& text, const QString& title) override;
  // The warning box on screen, if any.
  QMessageBox* Warning() const { return warning_.data(); }

 private:
  QWidget* parent_;
  QPointer<QMessageBox> warning_;
};
