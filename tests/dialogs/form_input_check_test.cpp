#include <QInputMethodEvent>

#include "dialog_test_support.h"
#include "dialogs/form_input_check.h"

namespace {

const Notice kInvalid{QStringLiteral("無効文字が含まれています。"), QStringLiteral("入力チェック")};
const Notice kBelow{QStringLiteral("入力下限を超えています"), QStringLiteral("入力エラー")};
const Notice kAbove{QStringLiteral("入力上限を超えています"), QStringLiteral("入力エラー")};

class InputCheckTest : public ::testing::Test {
 protected:
  QLineEdit* Field() { return dialog.findChild<QLineEdit*>("txtInput"); }

  RecordingMessageBoxes boxes;
  FormInputCheck dialog{boxes};
};

// Each row opens the dialog for real, types a text and clicks buttons in turn;
// a dialog still open afterwards is closed with its close box.
TEST_F(InputCheckTest, ButtonsCheckTheTypedTextAgainstTheLimits) {
  // Limits, typed text, clicks; returned value, field text and messages.
  using Clicks = std::vector<const char*>;
  const std::tuple<QString, QString, QString, Clicks, double, QString, std::vector<Notice>> rows[] = {
      {"4", "200", "4.5", {"cmdEnter"}, 4.5, "4.5", {}},
      {"0", "100", "", {"cmdEnter"}, 0, "", {}},
      {"1", "1440", "", {"cmdEnter"}, kInputCancelled, "", {kBelow}},
      {"1", "1440", "1441", {"cmdEnter"}, kInputCancelled, "1441", {kAbove}},
      // The steps clamp only at their own end; the step's sign does not count.
      {"0", "100", "0", {"cmdDec", "cmdEnter"}, 0, "0", {}},
      {"0", "100", "250", {"cmdDec"}, kInputCancelled, "240", {}},
      {"0", "100", "95", {"cmdInc", "cmdInc", "cmdEnter"}, 100, "100", {}},
      {"0", "100", "-50", {"cmdInc", "cmdEnter"}, kInputCancelled, "-40", {kBelow}},
      // Text pasted through the context menu passes the key filter.
      {"0", "100", "12a", {"cmdDec", "cmdInc", "cmdEnter"}, kInputCancelled, "12a",
       {kInvalid, kInvalid, kInvalid}},
      {"0", "100", "50", {"cmdCancel"}, kInputCancelled, "50", {}},
      // A step sets the value the dialog would return, yet closing still cancels.
      {"0", "100", "50", {"cmdInc"}, kInputCancelled, "60", {}},
  };
  for (const auto& [min, max, typed, clicks, returned, fieldAfter, notices] : rows) {
    SCOPED_TRACE((min + ".." + max + " '" + typed + "'").toStdString());
    boxes.shown.clear();
    WhileModal(dialog, [&] {
      Field()->setText(typed);
      for (const char* button : clicks) dialog.findChild<QPushButton*>(button)->click();
    });
    EXPECT_EQ(InputCheckBox(dialog, min, max, "7", "-10", "", ""), returned);
    EXPECT_EQ(Field()->text(), fieldAfter);
    EXPECT_EQ(boxes.shown, notices);
  }
}

TEST_F(InputCheckTest, OpensWithLimitsInOrderAndTakesOnlyNumberCharacters) {
  dialog.Prepare("1200", "5", "035", "1", QString(), QString());
  EXPECT_EQ(dialog.findChild<QLabel*>("lblminV")->text(), "5");
  EXPECT_EQ(dialog.findChild<QLabel*>("lblmaxv")->text(), "1200");
  EXPECT_EQ(Field()->selectedText(), "035");  // the caller's text, not its parse
  // Typing replaces the selection; the key filter passes only number characters.
  QTest::keyClicks(Field(), "1a2 e-.E+x");
  EXPECT_EQ(Field()->text(), "12e-.E");
  // A Japanese input method types full-width digits past the key presses.
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("１7３"));
  QApplication::sendEvent(Field(), &commit);
  EXPECT_EQ(Field()->text(), "12e-.E7");
}

}  // namespace
