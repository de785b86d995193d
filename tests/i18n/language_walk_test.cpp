// Every window of the program, opened in English and in Japanese at its
// smallest size: no text left in Japanese in English, and in either
// language no caption cut off.
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTextDocumentFragment>

#include "dialogs/area_picker.h"
#include "dialogs/capture_teacher.h"
#include "dialogs/form2.h"
#include "dialogs/form3.h"
#include "dialogs/form_input_check.h"
#include "dialogs/history_window.h"
#include "dialogs/options_rules.h"
#include "dialogs/setup_guide.h"
#include "main_window/compact_view.h"
#include "main_window/qt_translations.h"
#include "program_fixture.h"

namespace {

// Kana, kanji, Japanese punctuation or full-width forms: a text still in Japanese.
bool HasJapanese(const QString& text) {
  const QList<uint> chars = text.toUcs4();
  return std::any_of(chars.begin(), chars.end(), [](uint c) {
    return (c >= 0x3000 && c <= 0x30FF) ||                                // punctuation, hiragana, katakana
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||  // kanji
           (c >= 0xFF00 && c <= 0xFFEF);                                   // full-width forms and half-width kana
  });
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
  if (text.endsWith(QChar(0x2026))) clipped << Clip(label, text, 0, 0) + QStringLiteral(" cut with an ellipsis");
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

// A log wider than its view hides the ends of its lines; a spin box's own
// text (a date) must show whole; a table's cells must fit their columns.
void CheckLog(QPlainTextEdit* edit, QStringList& clipped) {
  if (edit->horizontalScrollBar()->maximum() > 0) {
    clipped << Clip(edit, QStringLiteral("lines"), edit->horizontalScrollBar()->maximum(), 0) + QStringLiteral(" wide");
  }
}

void CheckSpin(QAbstractSpinBox* spin, QStringList& clipped) {
  const auto* edit = spin->findChild<QLineEdit*>();
  if (edit == nullptr || spin->text().isEmpty()) return;
  const int needs = spin->fontMetrics().horizontalAdvance(spin->text()) + 4;  // the line edit's own margins
  if (needs > edit->width()) clipped << Clip(spin, spin->text(), needs, edit->width());
}

void CheckCells(QTableView* table, QStringList& clipped) {
  const QAbstractItemModel* model = table->model();
  const int margin = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
  for (int c = 0; c < model->columnCount(); ++c) {
    for (int r = 0; r < std::min(model->rowCount(), 50); ++r) {
      const QString text = model->index(r, c).data().toString();
      const int needs = table->fontMetrics().horizontalAdvance(text) + margin;
      if (needs > table->columnWidth(c)) clipped << Clip(table, text, needs, table->columnWidth(c));
    }
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

// Every text `window` shows a player: its title, and of each visible widget
// its captions, items, headers, placeholders and tool tips, as
// "objectName: text". Widgets named in `dataWidgets` show data (a log, a
// file name) and are left out. Menus of a main window come with their
// actions.
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

// The visible labels, buttons, check boxes, group box titles, combo box
// items, tabs, table column captions and cells, spin box texts and log lines
// of `window` whose text is wider than the room the widget gives it, or cut
// with an ellipsis, as "objectName: text (needs N, has M)".
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
    if (auto* log = qobject_cast<QPlainTextEdit*>(w)) CheckLog(log, clipped);
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) CheckSpin(spin, clipped);
    if (auto* table = qobject_cast<QTableView*>(w); table && table->model()) CheckCells(table, clipped);
  }
  return clipped;
}

// Shown in the same words in every language: the on-screen log is the log
// file's lines and header, and file names are what is on the disk.
const QStringList kDataWidgets{QStringLiteral("txtLog"), QStringLiteral("txtSaveFile")};
// A language is offered under its own name.
const QStringList kOwnNames{QStringLiteral("cboDisplayLanguage: 日本語")};

// A game window with a status bar: what the picker and the teacher show.
QImage GameWindowPicture() {
  QImage picture(800, 600, QImage::Format_RGB32);
  picture.fill(QColor(30, 60, 90));
  for (int x = 40; x < 140; x += 12) {
    for (int y = 560; y < 575; ++y) picture.setPixel(x, y, qRgb(255, 255, 255));
  }
  return picture;
}

// The parameter: English, or Japanese.
class LanguageWalk : public ProgramTest, public testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    const QString folder = QCoreApplication::applicationDirPath();
    // Without our English the loader falls back to Japanese, and the walk would check nothing.
    if (GetParam()) {
      ASSERT_TRUE(QFileInfo::exists(folder + QStringLiteral("/translations/tallymeter_en.qm")));
    }
    translators_ = InstallInterfaceLanguage(GetParam(), QtTranslationFolders(folder));
    Start([](Settings& s) { s.goalLevel = 200; });  // the goal's row shown too
  }

  // Shows `window` at its smallest size.
  static void ShowSmallest(QWidget* window) {
    window->show();
    // The window manager answers the first placement later: the smallest
    // size is asked for once it has.
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    window->resize(1, 1);  // held at the window's minimum
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }

  // A measurement under way: the live figures and the state line show
  // their longest texts, not the idle dashes.
  void Measure() {
    OpenGame(QStringLiteral("120"), QStringLiteral("1234567"));
    Run();
    RunFor(90);
    OpenGame(QStringLiteral("120"), QStringLiteral("2345678"));
    RunFor(90);
  }

  // What the case finds wrong with `window` as it stands.
  QStringList Faults(QWidget* window) {
    QStringList faults = ClippedTexts(window);
    if (GetParam()) {
      for (const QString& text : ShownTexts(window, kDataWidgets)) {
        if (HasJapanese(text) && !kOwnNames.contains(text)) faults << QStringLiteral("untranslated ") + text;
      }
    }
    return faults;
  }

  InterfaceTranslators translators_;
};

TEST_P(LanguageWalk, ShowsEveryTextTranslatedAndWhole) {
  // Each window as the program opens it; the main window and the compact
  // view last, while a measurement runs.
  const std::pair<const char*, std::function<QWidget*()>> windows[] = {
      {"options",
       [&] {
         form().menuOption_Click();
         return form().OptionsDialog();
       }},
      {"pattern editor",
       [&] {
         form().PatternEditor()->LoadArea(0);
         return form().PatternEditor();
       }},
      {"capture teacher",
       [&] {
         auto* teacher = new CaptureTeacher(boxes_, &form());
         teacher->Prepare(GameWindowPicture().copy(30, 550, 120, 30), 0, {});
         return teacher;
       }},
      {"area picker",
       [&] {
         auto* picker = new AreaPicker(boxes_, form().State().patterns, &form());
         picker->Prepare(GameWindowPicture(), 1, form().State().settings.captureRegions[1]);
         return picker;
       }},
      {"input check", [&] { return new FormInputCheck(boxes_, &form()); }},
      {"set-up guide",
       [&] {
         form().menuGuide_Click();
         // Only the practice window this build's player has.
         const QString guide = ShownTexts(form().Guide(), {}).join(u'\n');
#ifdef _WIN32
         EXPECT_TRUE(guide.contains(QStringLiteral("PracticeWindow.exe")) && !guide.contains(QStringLiteral("scripts/")));
#else
         EXPECT_TRUE(guide.contains(QStringLiteral("scripts/run --practice")) && !guide.contains(QStringLiteral(".exe")));
#endif
         return form().Guide();
       }},
      {"main window and menus",
       [&] {
         Measure();
         // A reading that fails: its line is on screen only, so in the language of the windows.
         OpenGame(QStringLiteral("120"), QString());
         form().CaptureStep();
         EXPECT_TRUE(Log()->toPlainText().contains(GetParam() ? QStringLiteral("  Not read  ExpNG") : QStringLiteral("  認識失敗  ExpNG"))) << Log()->toPlainText().right(600).toStdString();
         form().menuStop_Click();  // a record for the history
         // A state line long enough to need its second line.
         windows_.windows.erase(game_);
         form().cmdCapture_Click();
         return &form();
       }},
      {"history",
       [&] {
         HistoryWindow* history = ShowHistoryWindow(&form(), form().State().settings, boxes_);
         EXPECT_TRUE(QTest::qWaitFor([history] { return !history->Loading(); }, 20000));
         return history;
       }},
      {"compact view",
       [&] {
         form().menuCompact_Click();
         return form().Compact();
       }},
  };
  for (const auto& [name, open] : windows) {
    SCOPED_TRACE(name);
    QWidget* window = open();
    ASSERT_NE(window, nullptr);
    ShowSmallest(window);
    QStringList faults = Faults(window);
    if (auto* input = qobject_cast<FormInputCheck*>(window)) {
      // The prompt is the caller's: each numeric setting's, the longest included.
      for (const NumericSetting setting : {NumericSetting::StartX, NumericSetting::StartY, NumericSetting::SizeX,
                                           NumericSetting::SizeY, NumericSetting::Interval, NumericSetting::Lag}) {
        const NumericSettingInfo info = InfoOf(setting);
        input->Prepare(info.min, info.max, info.max, info.step, info.prompt, QString());
        faults += Faults(window);
      }
    }
    faults.removeDuplicates();
    EXPECT_TRUE(faults.isEmpty()) << "at " << window->width() << " x " << window->height() << ":\n"
                                  << faults.join(QLatin1Char('\n')).toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LanguageWalk, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "English" : "Japanese"; });

}  // namespace
