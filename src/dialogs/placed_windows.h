#pragma once
// Every window and box of ours opens through here: beside the window it
// belongs to, wholly on the main window's screen, off the game's capture
// areas (PlaceBeside decides; this only measures and moves).

#include <QRect>
#include <functional>
#include <vector>

class QWidget;

// The main window, and what of the game our windows keep clear of (asked
// at each opening: the game may have moved since), asked only while that
// window lives.
void SetPlacementHome(QWidget* mainWindow, std::function<std::vector<QRect>()> spotsToKeepClear);

// The window something opened now belongs to: the modal dialog or the
// active window of ours, else the main window (the game is in front); none
// (a window of its own) while each of them is minimised or hidden.
QWidget* OwnerOfNewWindow();

// Moves the top-level `window`, at the size it will show at, beside
// `owner` (OwnerOfNewWindow() when null).
void PlaceBesideOwner(QWidget* window, const QWidget* owner = nullptr);
