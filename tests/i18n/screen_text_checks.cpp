#include "screen_text_checks.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTextDocumentFragment>

namespace {

bool IsJapanese(char32_t c) {
  return (c >= 0x3000 && c <= 0x30FF) ||  // punctuation, hiragana, katakana
         (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||  // kanji
         (c >= 0xFF00 && c <= 0xFFEF);  // full-width forms and half-width kana
}

QString Name(const QWidget* w) {
  const QString name = w->objectName();
  return name.isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : name;
}

// What a caption shows: "&Save" shows "Save", "&&" shows "&".
QString WithoutMnemonic(QString text) {
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  return text;
}

QString Plain(const QString& text) {
  return Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

int TextWidth(const QFontMetrics& metrics, const QString& text) {
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n'))) widest = std::max(widest, metrics.horizontalAdvance(line));
  return widest;
}

QList<QWidget*> Shown(QWidget* window) {
  QList<QWidget*> shown{window};
  for (QWidget* w : window->findChildren<QWidget*>()) {
    // Another window (a dialog owned by this one) is walked on its own.
    if (w->isWindow() || !w->isVisibleTo(window)) continue;
    shown << w;
  }
  return shown;
}

void AddMenuTexts(const QList<QAction*>& actions, const QString& where, QStringList& texts) {
  for (QAction* action : actions) {
    if (action->isSeparator() || !action->isVisible()) continue;
    texts << where + QStringLiteral(" > ") + WithoutMnemonic(action->text());
    // Without a tip of its own an action's tip is its text.
    QString plain = WithoutMnemonic(action->text());
    if (plain.endsWith(QStringLiteral("..."))) plain.chop(3);
    if (action->toolTip() != plain) texts << where + QStringLiteral(" tip: ") + action->toolTip();
    if (QMenu* menu = action->menu()) AddMenuTexts(menu->actions(), where + QStringLiteral(" > ") + action->text(), texts);
  }
}

void AddWidgetTexts(QWidget* w, QStringList& texts) {
  const QString name = Name(w) + QStringLiteral(": ");
  if (!w->toolTip().isEmpty()) texts << name + w->toolTip();
  if (auto* label = qobject_cast<QLabel*>(w)) texts << name + Plain(label->text());
  if (auto* button = qobject_cast<QAbstractButton*>(w)) texts << name + WithoutMnemonic(button->text());
  if (auto* group = qobject_cast<QGroupBox*>(w)) texts << name + WithoutMnemonic(group->title());
  if (auto* combo = qobject_cast<QComboBox*>(w)) {
    for (int i = 0; i < combo->count(); ++i) texts << name + combo->itemText(i);
    if (combo->lineEdit()) texts << name + combo->lineEdit()->placeholderText();
  }
  if (auto* tabs = qobject_cast<QTabBar*>(w)) {
    for (int i = 0; i < tabs->count(); ++i) texts << name + WithoutMnemonic(tabs->tabText(i)) << name + tabs->tabToolTip(i);
  }
  if (auto* edit = qobject_cast<QLineEdit*>(w)) texts << name + edit->placeholderText();
  if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) texts << name + edit->placeholderText();
  if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) texts << name + spin->text() << name + spin->specialValueText();
  if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model()) {
    auto* table = view->findChild<QHeaderView*>();
    if (table && table->isVisibleTo(view)) {
      for (int c = 0; c < view->model()->columnCount(); ++c) {
        texts << name + view->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
      }
    }
  }
}

QString Clip(const QWidget* w, const QString& text, int needs, int has) {
  return QStringLiteral("%1: %2 (needs %3, has %4)").arg(Name(w), text).arg(needs).arg(has);
}

void CheckLabel(QLabel* label, QStringList& clipped) {
  const QString text = Plain(label->text());
  if (text.isEmpty() || !label->pixmap().isNull()) return;
  const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
  if (label->wordWrap()) {
    // Wrapped, it may take more lines but must not run out of height.
    const int needs = label->heightForWidth(label->width());
    if (needs > label->height()) clipped << Clip(label, text, needs, label->height()) + QStringLiteral(" high");
    return;
  }
  const int needs = TextWidth(label->fontMetrics(), text) + std::max(0, label->indent());
  if (needs > room.width()) clipped << Clip(label, text, needs, room.width());
}

void CheckButton(QAbstractButton* button, QStringList& clipped) {
  const QString text = WithoutMnemonic(button->text());
  if (text.isEmpty()) return;
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  option.icon = button->icon();
  option.iconSize = button->iconSize();
  QStyle::SubElement contents = QStyle::SE_PushButtonContents;
  if (qobject_cast<QCheckBox*>(button)) contents = QStyle::SE_CheckBoxContents;
  if (qobject_cast<QRadioButton*>(button)) contents = QStyle::SE_RadioButtonContents;
  if (contents == QStyle::SE_PushButtonContents && !qobject_cast<QPushButton*>(button)) return;  // tool buttons
  const int has = button->style()->subElementRect(contents, &option, button).width();
  int needs = TextWidth(button->fontMetrics(), text);
  if (!button->icon().isNull()) needs += button->iconSize().width() + 4;
  if (needs > has) clipped << Clip(button, text, needs, has);
}

void CheckGroupTitle(QGroupBox* group, QStringList& clipped) {
  if (group->title().isEmpty()) return;
  QStyleOptionGroupBox option;
  option.initFrom(group);
  option.text = group->title();
  option.lineWidth = 1;
  option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
  if (group->isCheckable()) option.subControls |= QStyle::SC_GroupBoxCheckBox;
  const QRect label = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
  if (label.right() >= group->width()) clipped << Clip(group, group->title(), label.right() + 1, group->width());
}

void CheckCombo(QComboBox* combo, QStringList& clipped) {
  if (combo->isEditable()) return;  // typed text: the field scrolls
  QStyleOptionComboBox option;
  option.initFrom(combo);
  option.editable = false;
  option.frame = combo->hasFrame();
  option.subControls = QStyle::SC_All;
  const int has =
      combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
  for (int i = 0; i < combo->count(); ++i) {
    const int needs = combo->fontMetrics().horizontalAdvance(combo->itemText(i));
    if (needs > has) clipped << Clip(combo, combo->itemText(i), needs, has);
  }
}

void CheckHeader(QHeaderView* header, QStringList& clipped) {
  if (header->orientation() != Qt::Horizontal || header->model() == nullptr) return;
  const int arrow = header->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
  const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
  for (int c = 0; c < header->count(); ++c) {
    // The last section stretches: the view may have only what is left.
    if (header->isSectionHidden(c) || (header->stretchLastSection() && c == header->count() - 1)) continue;
    const QString text = header->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    const bool sorted = header->isSortIndicatorShown() && header->sortIndicatorSection() == c;
    const int needs = header->fontMetrics().horizontalAdvance(text) + 2 * margin + (sorted ? arrow : 0);
    if (needs > header->sectionSize(c)) clipped << Clip(header, text, needs, header->sectionSize(c));
  }
}

void CheckTabs(QTabBar* tabs, QStringList& clipped) {
  for (int i = 0; i < tabs->count(); ++i) {
    const QRect at = tabs->tabRect(i);
    const int needs = tabs->fontMetrics().horizontalAdvance(WithoutMnemonic(tabs->tabText(i)));
    if (needs > at.width() || at.right() >= tabs->width()) clipped << Clip(tabs, tabs->tabText(i), needs, at.width());
  }
}

}  // namespace

bool HasJapanese(const QString& text) {
  for (const char32_t c : text.toUcs4()) {
    if (IsJapanese(c)) return true;
  }
  return false;
}

QStringList ShownTexts(QWidget* window, const QStringList& dataWidgets) {
  QStringList texts{Name(window) + QStringLiteral(" title: ") + window->windowTitle()};
  for (QWidget* w : Shown(window)) {
    if (dataWidgets.contains(w->objectName())) continue;
    AddWidgetTexts(w, texts);
  }
  if (auto* main = qobject_cast<QMainWindow*>(window); main && main->menuWidget()) {
    AddMenuTexts(main->menuBar()->actions(), QStringLiteral("menu"), texts);
  }
  return texts;
}

QStringList ClippedTexts(QWidget* window) {
  QStringList clipped;
  for (QWidget* w : Shown(window)) {
    if (w->width() <= 0) continue;
    if (auto* label = qobject_cast<QLabel*>(w)) CheckLabel(label, clipped);
    if (auto* button = qobject_cast<QAbstractButton*>(w)) CheckButton(button, clipped);
    if (auto* group = qobject_cast<QGroupBox*>(w)) CheckGroupTitle(group, clipped);
    if (auto* combo = qobject_cast<QComboBox*>(w)) CheckCombo(combo, clipped);
    if (auto* tabs = qobject_cast<QTabBar*>(w)) CheckTabs(tabs, clipped);
    if (auto* header = qobject_cast<QHeaderView*>(w)) CheckHeader(header, clipped);
  }
  return clipped;
}
