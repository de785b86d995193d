#pragma once
// Message boxes, injected so that tests observe them instead of blocking on
// a modal box. All boxes have no icon; texts and titles are shown as given.
// The real boxes are the dialogs' (QtMessageBoxes): the monitoring cycle
// below the windows only asks.

#include <QString>

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // OK button only.
  virtual void Inform(const QString& text, const QString& title) = 0;
  // Yes and No buttons; true for Yes.
  virtual bool AskYesNo(const QString& text, const QString& title) = 0;
  // OK button only, for news the player must see whatever window is in
  // front (the game, most likely): above every window and activated, and
  // nothing waits for the answer. Another such box still open is replaced,
  // never joined by a second one.
  virtual void Warn(const QString& text, const QString& title) { Inform(text, title); }
};
