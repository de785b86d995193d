// Every window of the program, opened in English and in Japanese at its
// smallest size: no text left in Japanese in English, and in either
// language no caption cut off.
#include <QApplication>
#include <QFileInfo>
#include <QTest>
#include <memory>

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
#include "screen_text_checks.h"

namespace {

enum class Language { Japanese, English };
enum class Window { Main, Compact, Options, PatternEditor, CaptureTeacher, AreaPicker, InputCheck, Guide, History };

// Shown in the same words in every language: the on-screen log is the log
// file's lines and header, and file names are what is on the disk.
const QStringList kDataWidgets{QStringLiteral("txtLog"), QStringLiteral("txtSaveFile")};
// A language is offered under its own name.
const QStringList kOwnNames{QStringLiteral("cboDisplayLanguage: 日本語")};

struct WalkCase {
  Language language;
  Window window;
};
void PrintTo(const WalkCase&, std::ostream* out) { *out << "(see the case's name)"; }

std::string CaseName(const testing::TestParamInfo<WalkCase>& info) {
  static const char* const kWindows[] = {"MainWindowAndMenus", "CompactView", "Options",    "PatternEditor",
                                         "CaptureTeacher",     "AreaPicker",  "InputCheck", "SetupGuide",
                                         "History"};
  return std::string(info.param.language == Language::English ? "English_" : "Japanese_") +
         kWindows[static_cast<int>(info.param.window)];
}

// A game window with a status bar: what the picker and the teacher show.
QImage GameWindowPicture() {
  QImage picture(800, 600, QImage::Format_RGB32);
  picture.fill(QColor(30, 60, 90));
  for (int x = 40; x < 140; x += 12) {
    for (int y = 560; y < 575; ++y) picture.setPixel(x, y, qRgb(255, 255, 255));
  }
  return picture;
}

class LanguageWalk : public ProgramTest, public testing::WithParamInterface<WalkCase> {
 protected:
  void SetUp() override {
    const bool english = GetParam().language == Language::English;
    const QString folder = QCoreApplication::applicationDirPath();
    // Without our English the loader falls back to Japanese, and the walk would check nothing.
    if (english) {
      ASSERT_TRUE(QFileInfo::exists(folder + QStringLiteral("/translations/tallymeter_en.qm")));
    }
    translators_ = InstallInterfaceLanguage(english, QtTranslationFolders(folder));
    Start();
  }

  // The window of the case, shown at its smallest size.
  QWidget* Open(Window window) {
    QWidget* shown = nullptr;
    switch (window) {
      case Window::Main:
        Measure();
        shown = &form();
        break;
      case Window::Compact:
        Measure();
        form().menuCompact_Click();
        shown = form().Compact();
        break;
      case Window::Options:
        form().menuOption_Click();
        shown = form().OptionsDialog();
        break;
      case Window::PatternEditor:
        form().PatternEditor()->LoadArea(0);
        shown = form().PatternEditor();
        break;
      case Window::CaptureTeacher: {
        auto* teacher = new CaptureTeacher(boxes_, &form());
        teacher->Prepare(GameWindowPicture().copy(30, 550, 120, 30), 0, 0, {});
        shown = teacher;
        break;
      }
      case Window::AreaPicker: {
        auto* picker = new AreaPicker(boxes_, form().State().patterns, &form());
        picker->Prepare(GameWindowPicture(), 1, form().State().settings.captureRegions[1]);
        shown = picker;
        break;
      }
      case Window::InputCheck:
        shown = new FormInputCheck(boxes_, &form());
        break;
      case Window::Guide:
        form().menuGuide_Click();
        shown = form().Guide();
        break;
      case Window::History:
        shown = ShowHistoryWindow(&form(), form().State().settings, boxes_);
        break;
    }
    if (shown == nullptr) return nullptr;
    shown->show();
    // The window manager answers the first placement later: the smallest
    // size is asked for once it has.
    EXPECT_TRUE(QTest::qWaitForWindowExposed(shown));
    shown->resize(1, 1);  // held at the window's minimum
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    return shown;
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
    if (GetParam().language == Language::English) {
      for (const QString& text : ShownTexts(window, kDataWidgets)) {
        if (HasJapanese(text) && !kOwnNames.contains(text)) faults << QStringLiteral("untranslated ") + text;
      }
    }
    return faults;
  }

  InterfaceTranslators translators_;
};

TEST_P(LanguageWalk, ShowsEveryTextTranslatedAndWhole) {
  QWidget* window = Open(GetParam().window);
  ASSERT_NE(window, nullptr);
  QStringList faults = Faults(window);
  if (GetParam().window == Window::InputCheck) {
    // The prompt is the caller's: each numeric setting's, the longest included.
    auto* input = static_cast<FormInputCheck*>(window);
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

std::vector<WalkCase> AllCases() {
  std::vector<WalkCase> cases;
  for (const Language language : {Language::Japanese, Language::English}) {
    for (int w = 0; w <= static_cast<int>(Window::History); ++w) cases.push_back({language, static_cast<Window>(w)});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, LanguageWalk, testing::ValuesIn(AllCases()), CaseName);

}  // namespace
