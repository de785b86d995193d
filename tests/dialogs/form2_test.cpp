#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "accounting/log_headers.h"
#include "dialog_test_support.h"
#include "dialogs/clickable_label.h"
#include "dialogs/form2.h"
#include "dialogs/form_input_check.h"
#include "persistence/config_file.h"
#include "persistence/file_system.h"
#include "persistence/text_file.h"

namespace {

class OptionsTest : public ::testing::Test {
 protected:
  template <typename T>
  T* Control(const QString& name) {
    T* control = form.findChild<T*>(name);
    EXPECT_NE(control, nullptr) << name.toStdString();
    return control;
  }
  QString Text(const QString& label) { return Control<QLabel>(label)->text(); }

  // Clicks a value label and answers the numeric dialog with `typed`, by
  // OK or Cancel; records what the dialog was opened with.
  void Enter(const QString& label, const QString& typed, const char* button = "cmdEnter") {
    WhileModal(input, [this, typed, button] {
      openedTitle = input.windowTitle();
      openedPrompt = input.findChild<QLabel*>("lblmsg")->text();
      openedLimits = input.findChild<QLabel*>("lblminV")->text() + "-" + input.findChild<QLabel*>("lblmaxv")->text();
      openedText = input.findChild<QLineEdit*>("txtInput")->text();
      input.findChild<QLineEdit*>("txtInput")->setText(typed);
      input.findChild<QPushButton*>(button)->click();
    });
    emit Control<ClickableLabel>(label)->clicked();
  }

  // What the field does when the user tabs out of it.
  void Leave(const QString& field, const QString& text) {
    auto* edit = Control<QLineEdit>(field);
    edit->setText(text);
    edit->setModified(true);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
  }

  DialogWorld world;
  int layouts = 0;
  FormInputCheck input{world.boxes};
  Form2 form{world.state, world.services, input, [this] { ++layouts; }};
  QString openedTitle, openedPrompt, openedLimits, openedText;
};

TEST_F(OptionsTest, ShowingFillsEveryControlFromTheSettings) {
  world.state.settings.captureRegions[1] = {463, 570, 90, 9};
  world.state.settings.saveCsv = true;
  world.state.settings.beepBeep = true;
  form.ShowFromMenu();
  EXPECT_EQ(Text("lblCapture_sx(0)"), "35");
  EXPECT_EQ(Text("lblCapture_ey(1)"), "9");
  EXPECT_EQ(Text("lblCaptureInterval"), "20");
  EXPECT_EQ(Text("lblLag"), "50");
  EXPECT_EQ(Text("lblSaveCsv"), "CSV");
  EXPECT_TRUE(Control<QCheckBox>("chkBeepBeep")->isChecked());
  EXPECT_FALSE(Control<QCheckBox>("chkAutoStart")->isChecked());
  EXPECT_EQ(Control<QLineEdit>("txtSaveFolder")->text(), world.folder.Path());
  EXPECT_EQ(Control<QLineEdit>("txtSaveFile")->text(), QStringLiteral("給与明細"));
  // Filling ran the CSV box's handler, as a click would.
  EXPECT_EQ(world.state.fileHeader, CsvFileHeader());
  EXPECT_EQ(layouts, 0);
}

TEST_F(OptionsTest, NumericDialogIsOpenedWithTheSettingsLimitsAndTitle) {
  form.show();
  Enter("lblCapture_ex(1)", "50");
  EXPECT_EQ(openedTitle, QStringLiteral("設定値入力"));
  EXPECT_EQ(openedPrompt, QStringLiteral("キャプチャーサイズX値を入力してください"));
  EXPECT_EQ(openedLimits, "4-200");
  EXPECT_EQ(openedText, "90");
  EXPECT_EQ(world.state.settings.captureRegions[1].ex, 50);
  EXPECT_EQ(world.state.settings.captureRegions[0].ex, 44);  // the other area is untouched
  EXPECT_EQ(Text("lblCapture_ex(1)"), "50");               // refreshed once the dialog closed

  Enter("lblLag", "0");
  EXPECT_EQ(openedLimits, "0-100");
  EXPECT_EQ(world.state.settings.lag, 0);
  Enter("lblCapture_sy(0)", "1000");
  EXPECT_EQ(openedLimits, "5-1000");
  EXPECT_EQ(world.state.settings.captureRegions[0].sy, 1000);
}

TEST_F(OptionsTest, FractionsAreStoredRoundedHalvesToEvenAndCancelStoresNothing) {
  form.show();
  Enter("lblCapture_ey(0)", "77", "cmdCancel");
  EXPECT_EQ(world.state.settings.captureRegions[0].ey, 13);
  Enter("lblCapture_ey(0)", "4.5");
  EXPECT_EQ(world.state.settings.captureRegions[0].ey, 4);
  Enter("lblCapture_ey(0)", "5.5");
  EXPECT_EQ(world.state.settings.captureRegions[0].ey, 6);
}

TEST_F(OptionsTest, IntervalTakesItsUpperLimitAndRefusesOneMore) {
  form.show();
  Enter("lblCaptureInterval", "1440");
  EXPECT_EQ(world.state.settings.captureInterval, 1440);
  EXPECT_TRUE(world.boxes.shown.empty());
  Enter("lblCaptureInterval", "1441");  // refused; the safety close then cancels
  EXPECT_EQ(world.state.settings.captureInterval, 1440);
  ASSERT_EQ(world.boxes.shown.size(), 1u);
  EXPECT_EQ(world.boxes.shown[0].text, QStringLiteral("入力上限を超えています"));
}

TEST_F(OptionsTest, CsvBoxSwitchesTheExtensionLabelAndTheFileHeader) {
  form.show();
  auto* csv = Control<QCheckBox>("chkSaveCsv");
  csv->click();
  EXPECT_TRUE(world.state.settings.saveCsv);
  EXPECT_EQ(Text("lblSaveCsv"), "CSV");
  EXPECT_EQ(world.state.fileHeader, CsvFileHeader());
  csv->click();
  EXPECT_FALSE(world.state.settings.saveCsv);
  EXPECT_EQ(Text("lblSaveCsv"), "TXT");
  EXPECT_EQ(world.state.fileHeader, TxtFileHeader());
}

TEST_F(OptionsTest, DebugBoxSetsTheModeLaysOutAndTraces) {
  form.show();
  Control<QCheckBox>("chkDebug")->click();
  EXPECT_TRUE(world.state.debugMode);
  EXPECT_EQ(layouts, 1);
  EXPECT_EQ(world.TraceText().count(QStringLiteral(" Change DebugMode･･･End ")), 1);
  EXPECT_TRUE(world.TraceText().startsWith(GeneralDateText(world.clock.Now()) + " Change DebugMode"));
  Control<QCheckBox>("chkDebug")->click();
  EXPECT_FALSE(world.state.debugMode);
  EXPECT_EQ(layouts, 2);
  EXPECT_EQ(world.TraceText().count(QStringLiteral(" Change DebugMode･･･End ")), 2);
}

TEST_F(OptionsTest, DebugModeAlreadyOnRunsItsHandlerWhenTheFreshDialogFills) {
  world.state.debugMode = true;
  form.show();
  EXPECT_TRUE(Control<QCheckBox>("chkDebug")->isChecked());
  EXPECT_EQ(layouts, 1);
  form.Fill();  // a second activation changes no box, so runs no handler
  EXPECT_EQ(layouts, 1);
}

TEST_F(OptionsTest, SaveFolderIsCheckedWhenLongerThanTwoCharacters) {
  QDir(world.folder.Path()).mkpath("logs/here");
  QDir(world.folder.Path()).mkpath("logs/run.old");
  world.state.settings.saveFolder = "/somewhere/else";
  form.show();
  Leave("txtSaveFolder", "ab");  // too short to be tested
  EXPECT_TRUE(world.boxes.shown.empty());
  EXPECT_EQ(world.state.settings.saveFolder, NearestFolder("ab", world.folder.Path()));
  Leave("txtSaveFolder", world.folder.File("logs/here"));
  EXPECT_TRUE(world.boxes.shown.empty());
  EXPECT_TRUE(world.state.settings.saveFolder.endsWith("logs/here"));
  Leave("txtSaveFolder", world.folder.File("logs/run.old"));  // a folder, though named like a file
  EXPECT_TRUE(world.boxes.shown.empty());
  EXPECT_TRUE(world.state.settings.saveFolder.endsWith("logs/run.old"));
  Leave("txtSaveFolder", world.folder.File("missing/deeper"));
  ASSERT_EQ(world.boxes.shown.size(), 1u);
  EXPECT_EQ(world.boxes.shown[0], (Notice{QStringLiteral("フォルダ名が不正です。"), QStringLiteral("アクセスエラー")}));
  EXPECT_EQ(world.state.settings.saveFolder, NearestFolder(world.folder.Path(), world.folder.Path()));
}

TEST_F(OptionsTest, FileNamesTheConfigurationCannotCarryAreRefused) {
  const Notice refused{QStringLiteral("ファイル名に使用できない文字が含まれています。"), QStringLiteral("入力エラー")};
  form.show();
  Leave("txtSaveFile", QStringLiteral("経験値 log"));
  EXPECT_EQ(world.state.settings.saveFile, QStringLiteral("経験値 log"));
  world.state.settings.saveFile = QStringLiteral("給与明細");
  for (const QString& bad : {QStringLiteral("a,b"), QStringLiteral("sub/name"), QStringLiteral("two\nlines"),
                             QStringLiteral("\u00e9t\u00e9")}) {
    world.boxes.shown.clear();
    Leave("txtSaveFile", bad);
    ASSERT_EQ(world.boxes.shown.size(), 1u) << bad.toStdString();
    EXPECT_EQ(world.boxes.shown[0], refused);
    EXPECT_EQ(world.state.settings.saveFile, QStringLiteral("給与明細"));
    EXPECT_EQ(Control<QLineEdit>("txtSaveFile")->text(), QStringLiteral("給与明細"));
  }
  world.boxes.shown.clear();
  Leave("txtSaveFolder", world.folder.Path() + "\n");  // a folder cannot hold a line break either
  ASSERT_EQ(world.boxes.shown.size(), 1u);
  EXPECT_EQ(world.boxes.shown[0].title, QStringLiteral("入力エラー"));
  EXPECT_EQ(world.state.settings.saveFolder, world.folder.Path());
}

TEST_F(OptionsTest, FocusLostToAMenuOrAnotherWindowStoresNothing) {
  form.show();
  auto* edit = Control<QLineEdit>("txtSaveFile");
  edit->setText("x,y");
  edit->setModified(true);
  QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(edit, &popup);
  QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(edit, &away);
  EXPECT_TRUE(world.boxes.shown.empty());
  EXPECT_EQ(world.state.settings.saveFile, QStringLiteral("給与明細"));
  form.Fill();  // coming back to the front keeps what is being typed
  EXPECT_EQ(edit->text(), "x,y");
}

TEST_F(OptionsTest, ClosedWithTheCloseBoxAndReopenedShowsTheCurrentValues) {
  form.ShowFromMenu();
  Enter("lblCapture_sx(0)", "120");
  auto* file = Control<QLineEdit>("txtSaveFile");
  file->setText("typed then closed");
  file->setModified(true);
  QTest::keyClick(&form, Qt::Key_Escape);  // no cancel button: Escape does not close it
  EXPECT_TRUE(form.isVisible());
  form.close();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(world.state.settings.saveFile, "typed then closed");  // kept, not lost with the window

  world.state.settings.lag = 70;  // changed elsewhere meanwhile
  form.ShowFromMenu();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(Text("lblCapture_sx(0)"), "120");
  EXPECT_EQ(Text("lblLag"), "70");
  EXPECT_EQ(file->text(), "typed then closed");
}

TEST_F(OptionsTest, SaveWritesTheConfigurationAndTraces) {
  form.show();
  Enter("lblLag", "30");
  Control<QPushButton>("cmdSave")->click();
  EXPECT_TRUE(form.isVisible());
  QFile file(ConfigFilePath(world.folder.Path()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const auto read = ParseConfigFileText(DecodeCp932(file.readAll()));
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(*read, world.state.settings);
  EXPECT_EQ(read->lag, 30);
  EXPECT_TRUE(world.TraceText().contains(QStringLiteral(" Saving ConfigFile･･･End ")));

  world.state.programFolder = world.folder.File("no/such/folder");  // a file that cannot be written
  Control<QPushButton>("cmdSave")->click();
  ASSERT_EQ(world.boxes.shown.size(), 1u);
  EXPECT_EQ(world.boxes.shown[0].title, QStringLiteral("設定ファイル書き込み"));
  EXPECT_TRUE(form.isVisible());
}

TEST_F(OptionsTest, TestCaptureOfArea2WaitsFiveSecondsAndUsesArea2) {
  world.windows.foreground = world.windows.Add("Other", QRect(100, 50, 800, 700));
  world.windows.screen.fill(Qt::darkGreen);
  form.ShowFromMenu();
  Control<QPushButton>("cmdCapture(1)")->click();
  ASSERT_FALSE(world.clock.waits.empty());
  EXPECT_EQ(world.clock.waits.front(), 5000);
  ASSERT_FALSE(world.windows.grabs.empty());
  EXPECT_EQ(world.windows.grabs.back(), QRect(100 + 463, 50 + 570, 90, 9));
  const QPixmap preview = Control<QLabel>("picCapture(1)")->pixmap();
  EXPECT_EQ(preview.size(), QSize(90, 9));
  EXPECT_TRUE(Control<QLabel>("picCapture(0)")->pixmap().isNull());

  form.ShowFromMenu();  // the Options command clears earlier previews
  EXPECT_TRUE(Control<QLabel>("picCapture(1)")->pixmap().isNull());
}

TEST_F(OptionsTest, BackHidesTheDialogAndShowsTheMainWindow) {
  QWidget main;
  FormInputCheck ownInput(world.boxes);
  Form2 owned(world.state, world.services, ownInput, {}, &main);
  owned.show();
  owned.findChild<QPushButton*>("cmdEnd")->click();
  EXPECT_FALSE(owned.isVisible());
  EXPECT_TRUE(main.isVisible());
}

}  // namespace
