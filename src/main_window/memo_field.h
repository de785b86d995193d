#pragma once

// The memo field the main window and the compact view both show: an
// editable box offering the recent memos.

#include <QString>
#include <QStringList>

class QComboBox;
class QWidget;

// An empty memo field; the caller gives it its placeholder and place.
QComboBox* NewMemoField(const QString& objectName, QWidget* parent);

// Shows `memo` and offers `recent`. What the player is typing stays as typed
// (blanks at its end too) while it says the same memo, so the caret keeps its place.
void ShowMemoChoices(QComboBox& field, const QString& memo, const QStringList& recent);
