#pragma once
// The short guide a first start opens (and ツール → はじめての設定... later):
// pick the two areas, capture with the game's digits showing, teach the
// digits by typing the numbers shown. Each step has a button that opens
// the window doing it; the guide itself only leads (modeless, so it stays
// beside those windows).

#include <QDialog>
#include <functional>

class SetupGuide : public QDialog {
  Q_OBJECT
 public:
  struct Steps {
    std::function<void()> pickAreas;          // the options dialog, where the areas are picked
    std::function<void()> capture;            // one capture of both areas
    std::function<void(int area)> teach;      // the pattern editor of an area
  };
  SetupGuide(Steps steps, QWidget* parent = nullptr);

 private:
  Steps steps_;
};
