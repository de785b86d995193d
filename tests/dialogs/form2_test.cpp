#include <QFocusEvent>

#include "accounting/log_headers.h"
#include "capture/area_follow.h"
#include "dialog_test_support.h"
#include "dialogs/clickable_label.h"
#include "dialogs/form2.h"
#include "dialogs/form_input_check.h"
#include "persistence/config_file.h"
#include "persistence/file_system.h"

namespace {

class OptionsTest : public ::testing::Test {
 protected:
  QString Text(const char* label) { return form.findChild<QLabel*>(label)->text(); }

  // Clicks a value label and answers the numeric dialog with `typed`.
  void Enter(const char* label, const QString& typed, const char* button = "cmdEnter") {
    WhileModal(input, [this, typed, button] {
      input.findChild<QLineEdit*>("txtInput")->setText(typed);
      input.findChild<QPushButton*>(button)->click();
    });
    emit form.findChild<ClickableLabel*>(label)->clicked();
  }

  // What a field does when the user tabs out of it.
  void Leave(const char* field, const QString& text) {
    auto* edit = form.findChild<QLineEdit*>(field);
    edit->setText(text);
    edit->setModified(true);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
  }

  DialogWorld world;
  Settings& settings = world.state.settings;
  int layouts = 0;
  FormInputCheck input{world.boxes};
  Form2 form{world.state, world.services, input, [this] { ++layouts; }};
};

TEST_F(OptionsTest, NumbersAreStoredRoundedHalvesToEvenAndCancelStoresNothing) {
  // The label clicked, the text typed, the button; the setting and what it holds then.
  const std::tuple<const char*, const char*, const char*, std::int32_t*, std::int32_t> rows[] = {
      {"lblCapture_ey(0)", "77", "cmdCancel", &settings.captureRegions[0].ey, 13},
      {"lblCapture_ey(0)", "4.5", "cmdEnter", &settings.captureRegions[0].ey, 4},
      {"lblCapture_ey(0)", "5.5", "cmdEnter", &settings.captureRegions[0].ey, 6},
      {"lblCapture_ex(1)", "50", "cmdEnter", &settings.captureRegions[1].ex, 50},
      {"lblCaptureInterval", "1440", "cmdEnter", &settings.captureInterval, 1440},
      {"lblLag", "0", "cmdEnter", &settings.lag, 0},
  };
  form.show();
  for (const auto& [label, typed, button, setting, stored] : rows) {
    SCOPED_TRACE(std::string(label) + " " + typed);
    Enter(label, typed, button);
    EXPECT_EQ(*setting, stored);
    EXPECT_EQ(Text(label), QString::number(stored));  // refreshed once the dialog closed
  }
}

// Check boxes and the alert minutes act at once; values not yet saved
// survive the close box and show again when the dialog is reopened; Save
// writes them all.
TEST_F(OptionsTest, EditCloseReopenAndSave) {
  settings.alertMinutes = 12;
  settings.alertBeep = false;
  form.ShowFromMenu();
  auto* minutes = form.findChild<QSpinBox*>("txtAlertMinutes");
  EXPECT_EQ(minutes->value(), 12);
  // Each box shows its setting: a click turns it to the other value.
  for (const char* name :
       {"chkMisreadGuard", "chkAlertNotify", "chkAlertBeep", "chkAlertLogLine", "chkReadWhenVisible", "chkGameWait"}) {
    form.findChild<QCheckBox*>(name)->click();
  }
  minutes->setValue(30);
  EXPECT_EQ(std::tuple(settings.misreadGuard, settings.alertMinutes, settings.alertNotify, settings.alertBeep,
                       settings.alertLogLine, settings.readWhenVisible, settings.gameWaitMinutes),
            std::tuple(false, 30, false, true, false, false, 0));
  Enter("lblCapture_sx(0)", "120");
  EXPECT_EQ(Text("lblSaveCsv"), "TXT");
  form.findChild<QCheckBox*>("chkSaveCsv")->click();
  EXPECT_EQ(Text("lblSaveCsv"), "CSV");
  EXPECT_EQ(world.state.fileHeader, CsvFileHeader());
  form.findChild<QCheckBox*>("chkDebug")->click();
  EXPECT_TRUE(world.state.debugMode);
  EXPECT_EQ(layouts, 1);
  EXPECT_TRUE(world.TraceText().startsWith(GeneralDateText(world.clock.Now()) + " Change DebugMode･･･End "));
  auto* file = form.findChild<QLineEdit*>("txtSaveFile");
  file->setText("typed then closed");
  file->setModified(true);
  form.close();

  settings.lag = 70;  // changed elsewhere meanwhile
  form.ShowFromMenu();
  EXPECT_EQ(Text("lblCapture_sx(0)"), "120");
  EXPECT_EQ(Text("lblLag"), "70");
  EXPECT_EQ(file->text(), "typed then closed");

  form.findChild<QPushButton*>("cmdSave")->click();
  Settings read;
  EXPECT_FALSE(ConfigFile("READ", read, world.folder.Path()));
  EXPECT_EQ(read, settings);
  EXPECT_TRUE(world.TraceText().contains(QStringLiteral(" Saving ConfigFile･･･End ")));

  // A count from the file that the box cannot show is not changed by showing it.
  settings.alertMinutes = 0;
  form.Fill();
  EXPECT_EQ(settings.alertMinutes, 0);
}

TEST_F(OptionsTest, TheLogFolderIsShownWithThePlatformsSeparatorAndFolderAndFileAreCheckedWhenLeft) {
  const QString separator = QDir::separator();
  EXPECT_EQ(Text("lblSaveFolder_u"), QStringLiteral(" ＋") + separator + "log" + separator);
  QDir(world.folder.Path()).mkpath("logs/run.old");
  settings.saveFolder = "/somewhere/else";
  form.show();
  // Saved into an empty text, the logs go to the program folder's log folder.
  Leave("txtSaveFolder", "");
  EXPECT_EQ(settings.saveFolder, world.folder.Path());
  Leave("txtSaveFolder", "ab");  // too short to be tested
  EXPECT_EQ(settings.saveFolder, NearestFolder("ab", world.folder.Path()));
  Leave("txtSaveFolder", world.folder.File("logs/run.old"));  // a folder, though named like a file
  EXPECT_TRUE(settings.saveFolder.endsWith("logs/run.old"));
  Leave("txtSaveFolder", world.folder.File("missing/deeper"));
  const Notice badFolder{QStringLiteral("フォルダ名が不正です。"), QStringLiteral("アクセスエラー")};
  EXPECT_EQ(world.boxes.shown, std::vector<Notice>{badFolder});
  EXPECT_EQ(settings.saveFolder, NearestFolder(world.folder.Path(), world.folder.Path()));

  // The configuration file is comma-separated: a comma would split the name.
  Leave("txtSaveFile", "a,b");
  ASSERT_EQ(world.boxes.shown.size(), 2u);
  EXPECT_EQ(world.boxes.shown[1].text, QStringLiteral("ファイル名に使用できない文字が含まれています。"));
  EXPECT_EQ(settings.saveFile, QStringLiteral("給与明細"));
}

// A number typed while the game runs at another size than the areas were
// picked for stores both areas for the size it has now.
TEST_F(OptionsTest, AnAreaTypedForTheGameAsItIsNowMovesTheOtherForThatSizeToo) {
  SetAreasReferenceSize(settings, QSize(808, 629));
  form.ShowFromMenu();
  Enter("lblCapture_sx(0)", "40");  // no game running: only the number changes
  EXPECT_EQ(settings.captureRegions[0].sx, 40);
  EXPECT_EQ(AreasReferenceSize(settings), QSize(808, 629));

  world.windows.Add(kGameTitle, QRect(50, 50, 1032, 797));
  Enter("lblCapture_sy(0)", "744");
  EXPECT_EQ(settings.captureRegions[0], (CaptureRegion{40, 744, 44, 13}));
  EXPECT_EQ(settings.captureRegions[1], (CaptureRegion{687, 738, 90, 9})) << "followed to the bottom right";
  EXPECT_EQ(AreasReferenceSize(settings), QSize(1032, 797));
}

}  // namespace
