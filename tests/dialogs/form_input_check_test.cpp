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
  void Click(const char* button) { dialog.findChild<QPushButton*>(button)->click(); }
  QString Label(const char* name) { return dialog.findChild<QLabel*>(name)->text(); }

  // Opens the dialog for real, types `text` and clicks `button`.
  double Answer(const QString& min, const QString& max, const QString& text, const char* button = "cmdEnter") {
    WhileModal(dialog, [this, text, button] {
      Field()->setText(text);
      Click(button);
    });
    return InputCheckBox(dialog, min, max, "0", "1", "", "");
  }
  void Prepare(const QString& min, const QString& max, const QString& ini, const QString& step) {
    dialog.Prepare(min, max, ini, step, QString(), QString());
  }

  RecordingMessageBoxes boxes;
  FormInputCheck dialog{boxes};
};

TEST_F(InputCheckTest, OpensWithLimitsInOrderAndTheCallersTextSelected) {
  dialog.Prepare("1200", "5", "035", "1", QStringLiteral("ガイド"), QString());
  EXPECT_EQ(Label("lblminV"), "5");
  EXPECT_EQ(Label("lblmaxv"), "1200");
  EXPECT_EQ(Field()->selectedText(), "035");  // the caller's text, not its parse
  EXPECT_EQ(dialog.EnteredValue(), 35);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("パラメータ入力"));
  EXPECT_EQ(Label("lblmsg"), QStringLiteral("ガイド"));
  dialog.Prepare("-0.5", "1e3", "1", "10", QString(), QStringLiteral("設定値入力"));
  EXPECT_EQ(Label("lblminV"), "-0.5");
  EXPECT_EQ(Label("lblmaxv"), "1000");
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("設定値入力"));
  EXPECT_EQ(Label("lblmsg"), "");
}

TEST_F(InputCheckTest, OkReturnsTheParsedTextAndTakesTheLimitsThemselves) {
  EXPECT_EQ(Answer("4", "200", "4.5"), 4.5);
  EXPECT_EQ(Answer("4", "200", "1e2"), 100);
  EXPECT_EQ(Answer("4", "200", " 1 0 "), 10);
  EXPECT_EQ(Answer("4", "200", "12-3"), 12);
  EXPECT_EQ(Answer("0", "100", "0"), 0);
  EXPECT_EQ(Answer("0", "100", "100"), 100);
  EXPECT_EQ(Answer("0", "100", ""), 0);  // empty reads as 0, inside these limits
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(InputCheckTest, OutOfRangeIsReportedAndTheDialogStaysOpenOnTheField) {
  bool stillOpen = false;
  double nested = 0;
  QString selected;
  WhileModal(dialog, [&] {
    Field()->setText("");  // 0, below 1
    Click("cmdEnter");
    Field()->setText("1441");
    Click("cmdEnter");
    stillOpen = dialog.isVisible();
    selected = Field()->selectedText();
    // A second question while this one is open is turned away untouched.
    nested = InputCheckBox(dialog, "0", "1", "0", "1", "", "");
    selected += Field()->text();
  });
  EXPECT_EQ(InputCheckBox(dialog, "1", "1440", "20", "5", "", ""), kInputCancelled);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(nested, kInputCancelled);
  EXPECT_EQ(selected, "14411441");
  EXPECT_EQ(boxes.shown, (std::vector<Notice>{kBelow, kAbove}));
}

TEST_F(InputCheckTest, StepButtonsClampOnlyAtTheirOwnEnd) {
  Prepare("0", "100", "0", "-10");  // the step's sign does not count
  Click("cmdDec");
  EXPECT_EQ(Field()->text(), "0");
  Field()->setText("250");
  Click("cmdDec");
  EXPECT_EQ(Field()->text(), "240");
  Field()->setText("95");
  Click("cmdInc");
  EXPECT_EQ(Field()->text(), "100");
  Click("cmdInc");
  EXPECT_EQ(Field()->text(), "100");
  Field()->setText("-50");
  Click("cmdInc");
  EXPECT_EQ(Field()->text(), "-40");
  Click("cmdEnter");
  EXPECT_EQ(boxes.shown, std::vector<Notice>{kBelow});
}

TEST_F(InputCheckTest, ALetterStopsEveryButtonAndChangesNothing) {
  bool stillOpen = false;
  QString afterClicks;
  WhileModal(dialog, [&] {
    Field()->setText("12a");  // as pasted through the context menu
    Click("cmdDec");
    Click("cmdInc");
    Click("cmdEnter");
    stillOpen = dialog.isVisible();
    afterClicks = Field()->text();
  });
  EXPECT_EQ(InputCheckBox(dialog, "0", "100", "50", "10", "", ""), kInputCancelled);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(afterClicks, "12a");
  EXPECT_EQ(boxes.shown, (std::vector<Notice>{kInvalid, kInvalid, kInvalid}));
}

TEST_F(InputCheckTest, CancelCloseBoxAndEscape) {
  EXPECT_EQ(Answer("0", "100", "50", "cmdCancel"), kInputCancelled);
  bool openAfterEscape = false;
  WhileModal(dialog, [&] {
    QTest::keyClick(Field(), Qt::Key_Escape);  // no cancel button: Escape means nothing
    openAfterEscape = dialog.isVisible();
    Click("cmdInc");  // a step sets the value the dialog returns …
    dialog.close();   // … but closing still counts as Cancel
  });
  EXPECT_EQ(InputCheckBox(dialog, "0", "100", "50", "10", "", ""), kInputCancelled);
  EXPECT_TRUE(openAfterEscape);
  Prepare("0", "100", "30", "10");  // nothing carries over to the next call
  EXPECT_EQ(dialog.EnteredValue(), 30);
}

TEST_F(InputCheckTest, KeyFilterTakesOnlyNumberCharacters) {
  Prepare("0", "100", "", "10");
  QTest::keyClicks(Field(), "1a2 e-.E+x");
  EXPECT_EQ(Field()->text(), "12e-.E");
  QTest::keyClick(Field(), Qt::Key_Backspace);
  QTest::keyClick(Field(), Qt::Key_Home);
  QTest::keyClick(Field(), Qt::Key_Delete);
  EXPECT_EQ(Field()->text(), "2e-.");

  QKeyEvent fullWidth(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("１"));
  QApplication::sendEvent(Field(), &fullWidth);
  QApplication::clipboard()->setText("99x");
  QTest::keyClick(Field(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Field()->text(), "2e-.");

  QTest::keyClick(Field(), Qt::Key_End);
  QInputMethodEvent commit;  // an input method types past the key presses
  commit.setCommitString(QStringLiteral("１7３"));
  QApplication::sendEvent(Field(), &commit);
  EXPECT_EQ(Field()->text(), "2e-.7");
}

TEST_F(InputCheckTest, EnterInTheFieldMovesToOkWithoutConfirming) {
  bool okFocused = false;
  bool stillOpen = false;
  QString selectedOnReturn;
  WhileModal(dialog, [&] {
    QApplication::setActiveWindow(&dialog);
    Field()->setFocus();
    QTest::keyClick(Field(), Qt::Key_Return);
    okFocused = dialog.findChild<QPushButton*>("cmdEnter")->hasFocus();
    stillOpen = dialog.isVisible();
    Field()->deselect();
    Field()->setFocus(Qt::TabFocusReason);  // gaining the focus selects all
    selectedOnReturn = Field()->selectedText();
    dialog.findChild<QPushButton*>("cmdEnter")->setFocus();
    QTest::keyClick(dialog.findChild<QPushButton*>("cmdEnter"), Qt::Key_Return);  // a further Enter confirms
  });
  EXPECT_EQ(InputCheckBox(dialog, "0", "100", "42", "10", "", ""), 42);
  EXPECT_TRUE(okFocused);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(selectedOnReturn, "42");
}

}  // namespace
