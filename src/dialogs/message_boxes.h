#pragma once
// Message boxes, injected so that tests observe them instead of blocking on
// a modal box. All boxes have no icon; texts and titles are shown as given.

#include <QString>

class QWidget;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // OK button only.
  virtual void Inform(const QString& text, const QString& title) = 0;
  // Yes and No buttons; true for Yes.
  virtual bool AskYesNo(const QString& text, const QString& title) = 0;
};

// The real boxes (QMessageBox without an icon).
class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
  void Inform(const QString& text, const QString& title) override;
  bool AskYesNo(const QString& text, const QString& title) override;

 private:
  QWidget* parent_;
};
