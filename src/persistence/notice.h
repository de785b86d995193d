#pragma once
// A message the user must see, produced by logic that has no window of its
// own. The window that called the logic shows it in an OK-only message box.

#include <QString>

struct Notice {
  QString text;
  QString title;
  friend bool operator==(const Notice&, const Notice&) = default;
};
