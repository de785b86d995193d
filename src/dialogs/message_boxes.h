#pragma once
// The real message boxes behind the injected interface.

#include <QString>

#include "monitoring/message_boxes.h"

class QWidget;

// The real boxes (QMessageBox without an icon).
class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
  void Inform(const QString& text, const QString& title) override;
  bool AskYesNo(const QString& text, const QString& title) override;

 private:
  QWidget* parent_;
};
