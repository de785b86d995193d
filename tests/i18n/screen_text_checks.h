#pragma once
// What a player would call a bad screen in another language: a text still
// in Japanese, or a text wider than the widget that shows it.

#include <QString>
#include <QStringList>

class QWidget;

// True when `text` holds kana, kanji, Japanese punctuation or full-width
// forms.
bool HasJapanese(const QString& text);

// Every text `window` shows a player: its title, and of each visible widget
// its captions, items, headers, placeholders and tool tips, as
// "objectName: text". Widgets named in `dataWidgets` show data (a log, a
// file name) and are left out. Menus of a main window come with their
// actions.
QStringList ShownTexts(QWidget* window, const QStringList& dataWidgets);

// The visible labels, buttons, check boxes, radio buttons, group box titles,
// combo box items, tabs and table column captions of `window` whose text is
// wider than the room the widget gives it, as "objectName: text (needs N,
// has M)".
QStringList ClippedTexts(QWidget* window);
