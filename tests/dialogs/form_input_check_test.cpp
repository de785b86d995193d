#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "dialogs/form_input_check.h"

namespace {

const Notice kInvalid{QStringLiteral("無効文字が含まれています。"), QStringLiteral("入力チェック")};
const Notice kBelow{QStringLiteral("入力下限を超えています"), QStringLiteral("入力エラー")};
const Notice kAbove{QStringLiteral("入力上限を超えています"), QStringLiteral("入力エラー")};

class InputCheckTest : public ::testing::Test {
 protected:
  QLineEdit* Field() { return dialog.findChild<QLineEdit*>("txtInput"); }
  QPushButton* Button(const char* name) { return dialog.findChild<QPushButton*>(name); }
  QString Label(const char* name) { return dialog.findChild<QLabel*>(name)->text(); }

  // Opens the dialog for real and types `text`, then clicks `button`.
  double Answer(const QString& min, const QString& max, const QString& text, const char* button) {
    WhileModal(dialog, [this, text, button] {
      Field()->setText(text);
      Button(button)->click();
    });
    return InputCheckBox(dialog, min, max, "0", "1", "", "");
  }

  void Prepare(const QString& min, const QString& max, const QString& ini, const QString& step) {
    dialog.Prepare(min, max, ini, step, QString(), QString());
  }

  RecordingMessageBoxes boxes;
  FormInputCheck dialog{boxes};
};

TEST_F(InputCheckTest, LimitsInEitherOrderAreShownLowFirst) {
  Prepare("1200", "5", "35", "1");
  EXPECT_EQ(Label("lblminV"), "5");
  EXPECT_EQ(Label("lblmaxv"), "1200");
  Prepare("-0.5", "1e3", "0", "1");
  EXPECT_EQ(Label("lblminV"), "-0.5");
  EXPECT_EQ(Label("lblmaxv"), "1000");
}

TEST_F(InputCheckTest, OpensWithTheCallersTextSelectedAndTitleAndPrompt) {
  dialog.Prepare("0", "100", "050", "10", QStringLiteral("ガイド"), QString());
  EXPECT_EQ(Field()->text(), "050");  // the caller's text, not its parse
  EXPECT_EQ(Field()->selectedText(), "050");
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("パラメータ入力"));
  EXPECT_EQ(Label("lblmsg"), QStringLiteral("ガイド"));
  dialog.Prepare("0", "100", "1", "10", QString(), QStringLiteral("設定値入力"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("設定値入力"));
  EXPECT_EQ(Label("lblmsg"), "");
}

TEST_F(InputCheckTest, OkReturnsTheParsedTextFractionsIncluded) {
  EXPECT_EQ(Answer("4", "200", "4.5", "cmdEnter"), 4.5);
  EXPECT_EQ(Answer("4", "200", "1e2", "cmdEnter"), 100);
  EXPECT_EQ(Answer("4", "200", " 1 0 ", "cmdEnter"), 10);
  EXPECT_EQ(Answer("4", "200", "12-3", "cmdEnter"), 12);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(InputCheckTest, TheLimitsThemselvesAreAccepted) {
  EXPECT_EQ(Answer("0", "100", "0", "cmdEnter"), 0);
  EXPECT_EQ(Answer("0", "100", "100", "cmdEnter"), 100);
  EXPECT_EQ(Answer("1440", "1", "1440", "cmdEnter"), 1440);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(InputCheckTest, AnEmptyFieldIsZeroJudgedLikeAnyValue) {
  EXPECT_EQ(Answer("0", "100", "", "cmdEnter"), 0);
  EXPECT_TRUE(boxes.shown.empty());

  Prepare("1", "1440", "20", "5");
  Field()->setText("");
  Button("cmdEnter")->click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0], kBelow);
}

TEST_F(InputCheckTest, OutOfRangeKeepsTheDialogOpenWithTheFieldSelected) {
  bool stillOpen = false;
  QString selected;
  WhileModal(dialog, [&] {
    Field()->setText("1441");
    Button("cmdEnter")->click();
    stillOpen = dialog.isVisible();
    selected = Field()->selectedText();
    Button("cmdCancel")->click();
  });
  EXPECT_EQ(InputCheckBox(dialog, "1", "1440", "20", "5", "", ""), kInputCancelled);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(selected, "1441");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0], kAbove);
}

TEST_F(InputCheckTest, StepDownClampsOnlyAtTheLowerLimit) {
  Prepare("0", "100", "0", "-10");  // the step's sign does not count
  Button("cmdDec")->click();
  EXPECT_EQ(Field()->text(), "0");
  Field()->setText("250");
  Button("cmdDec")->click();
  EXPECT_EQ(Field()->text(), "240");
}

TEST_F(InputCheckTest, StepUpClampsOnlyAtTheUpperLimit) {
  Prepare("0", "100", "95", "10");
  Button("cmdInc")->click();
  EXPECT_EQ(Field()->text(), "100");
  Button("cmdInc")->click();
  EXPECT_EQ(Field()->text(), "100");
  Field()->setText("-50");
  Button("cmdInc")->click();
  EXPECT_EQ(Field()->text(), "-40");
  Button("cmdEnter")->click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0], kBelow);
  EXPECT_EQ(Field()->text(), "-40");
}

TEST_F(InputCheckTest, FractionalStepsAreWrittenBackShortest) {
  Prepare("0", "10", "5", "0.5");
  Button("cmdInc")->click();
  EXPECT_EQ(Field()->text(), "5.5");
}

TEST_F(InputCheckTest, ALetterStopsEveryButtonAndChangesNothing) {
  bool stillOpen = false;
  QString afterClicks;
  WhileModal(dialog, [&] {
    Field()->setText("12a");  // as pasted through the context menu
    Button("cmdDec")->click();
    Button("cmdInc")->click();
    Button("cmdEnter")->click();
    stillOpen = dialog.isVisible();
    afterClicks = Field()->text();
    dialog.close();
  });
  EXPECT_EQ(InputCheckBox(dialog, "0", "100", "50", "10", "", ""), kInputCancelled);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(afterClicks, "12a");
  ASSERT_EQ(boxes.shown.size(), 3u);
  for (const Notice& shown : boxes.shown) EXPECT_EQ(shown, kInvalid);
}

TEST_F(InputCheckTest, SpacesPassTheCharacterCheck) {
  EXPECT_EQ(Answer("0", "100", " 5 0", "cmdEnter"), 50);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(InputCheckTest, CancelAndTheCloseBoxReturnTheCancelValueWhateverTheField) {
  EXPECT_EQ(Answer("0", "100", "50", "cmdCancel"), kInputCancelled);
  WhileModal(dialog, [this] {
    Field()->setText("50");
    Button("cmdInc")->click();  // a step sets the value the dialog returns …
    dialog.close();             // … but closing still counts as Cancel
  });
  EXPECT_EQ(InputCheckBox(dialog, "0", "100", "50", "10", "", ""), kInputCancelled);
}

TEST_F(InputCheckTest, NothingCarriesOverBetweenCalls) {
  EXPECT_EQ(Answer("0", "100", "50", "cmdCancel"), kInputCancelled);
  Prepare("0", "100", "30", "10");
  EXPECT_EQ(dialog.EnteredValue(), 30);
  EXPECT_EQ(Field()->text(), "30");
}

TEST_F(InputCheckTest, EscapeDoesNotCloseTheDialog) {
  bool stillOpen = false;
  WhileModal(dialog, [&] {
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTest::keyClick(Field(), Qt::Key_Escape);
    stillOpen = dialog.isVisible();
    Button("cmdEnter")->click();
  });
  EXPECT_EQ(InputCheckBox(dialog, "0", "100", "70", "10", "", ""), 70);
  EXPECT_TRUE(stillOpen);
}

TEST_F(InputCheckTest, KeyFilterTakesOnlyNumberCharacters) {
  Prepare("0", "100", "", "10");
  QTest::keyClicks(Field(), "1a2 e-.E+x");
  EXPECT_EQ(Field()->text(), "12e-.E");
  QTest::keyClick(Field(), Qt::Key_Backspace);
  EXPECT_EQ(Field()->text(), "12e-.");
  QTest::keyClick(Field(), Qt::Key_Home);
  QTest::keyClick(Field(), Qt::Key_Delete);
  EXPECT_EQ(Field()->text(), "2e-.");
}

TEST_F(InputCheckTest, KeyFilterDropsFullWidthDigitsAndShortcuts) {
  Prepare("0", "100", "", "10");
  QKeyEvent fullWidth(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("１"));
  QApplication::sendEvent(Field(), &fullWidth);
  EXPECT_EQ(Field()->text(), "");

  QApplication::clipboard()->setText("99x");
  QTest::keyClick(Field(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Field()->text(), "");
}

TEST_F(InputCheckTest, InputMethodCommitsAreFilteredToo) {
  Prepare("0", "100", "", "10");
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("１2３4"));
  QApplication::sendEvent(Field(), &commit);
  EXPECT_EQ(Field()->text(), "24");
}

TEST_F(InputCheckTest, EnterInTheFieldMovesToOkWithoutConfirming) {
  bool okFocused = false;
  bool stillOpen = false;
  WhileModal(dialog, [&] {
    dialog.activateWindow();
    QApplication::setActiveWindow(&dialog);
    Field()->setFocus();
    QTest::keyClick(Field(), Qt::Key_Return);
    okFocused = Button("cmdEnter")->hasFocus();
    stillOpen = dialog.isVisible();
    QTest::keyClick(Button("cmdEnter"), Qt::Key_Return);  // a further Enter confirms
  });
  EXPECT_EQ(InputCheckBox(dialog, "0", "100", "42", "10", "", ""), 42);
  EXPECT_TRUE(okFocused);
  EXPECT_TRUE(stillOpen);
}

TEST_F(InputCheckTest, FocusSelectsTheWholeText) {
  WhileModal(dialog, [&] {
    QApplication::setActiveWindow(&dialog);
    Field()->setText("1234");
    Field()->deselect();
    Button("cmdCancel")->setFocus();
    Field()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Field()->selectedText(), "1234");
    Button("cmdCancel")->click();
  });
  InputCheckBox(dialog, "0", "100", "5", "1", "", "");
}

}  // namespace
