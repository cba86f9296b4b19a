// The keypad's OK steps, their messages and the value it hands back.
#include "params/keypad.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "params/machine_parameter.h"
#include "params/numeric_text.h"
#include "keypad_script.h"

namespace accelog {
namespace {

using testing::RecordingUi;
using ::testing::ElementsAre;

class KeypadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUi(&ui_);
    ResetKeypad();
    LoadDialogInput(form_);
    form_.Text2 = "16";
    form_.Text3 = "1";
    form_.Text4 = "0";
  }
  void TearDown() override { SetUi(nullptr); }

  // Types an entry, presses OK; returns whether the window closed.
  bool Ok(const std::string& entry) {
    form_.Text1 = entry;
    return OkDialogInput(form_);
  }

  RecordingUi ui_;
  DialogInputForm form_;
};

TEST_F(KeypadTest, NotANumberIsRefusedInChinese) {
  for (const char* entry : {"", "-", ".", "1-", "abc", "1e"}) {
    ui_.messages.clear();
    EXPECT_FALSE(Ok(entry)) << entry;
    EXPECT_EQ(ui_.messages, std::vector<std::string>{"非法数据"}) << entry;
    EXPECT_EQ(ui_.icons[0], MessageIcon::Exclamation);
    EXPECT_FALSE(form_.Closed);
    EXPECT_EQ(form_.Text1, entry);  // the entry stays for correcting
  }
  EXPECT_FALSE(Keypad.KeypadAccepted);
}

TEST_F(KeypadTest, RangeTestsAreStrictComparisons) {
  EXPECT_TRUE(Ok("16"));
  EXPECT_EQ(Keypad.KeypadValue, 16);
  LoadDialogInput(form_);
  form_.Text2 = "16";
  form_.Text3 = "1";
  form_.Text4 = "0";
  EXPECT_TRUE(Ok("1"));
  EXPECT_EQ(Keypad.KeypadValue, 1);
  EXPECT_TRUE(ui_.messages.empty());

  form_.Closed = false;
  Keypad.KeypadAccepted = false;
  EXPECT_FALSE(Ok("17"));
  EXPECT_FALSE(Ok("16.5"));
  EXPECT_FALSE(Ok("0"));
  EXPECT_FALSE(Ok("0.9"));
  EXPECT_THAT(ui_.messages, ElementsAre("Data is too big", "Data is too big", "Data is small",
                                       "Data is small"));
  EXPECT_FALSE(Keypad.KeypadAccepted);
}

TEST_F(KeypadTest, DecimalsBeyondTheAllowedCountAreRefused) {
  EXPECT_FALSE(Ok("12.5"));
  EXPECT_FALSE(Ok("1.25"));
  EXPECT_FALSE(Ok("1.0000001"));
  EXPECT_THAT(ui_.messages, ElementsAre("Decimal digits too much  = 1", "Decimal digits too much  = 2",
                                       "Decimal digits too much  = 7"));
  // A trailing point or zeros carry no decimals of the value itself.
  EXPECT_TRUE(Ok("12."));
  EXPECT_EQ(Keypad.KeypadValue, 12);
  EXPECT_EQ(form_.Text1, "12");
  EXPECT_TRUE(Ok("12.000"));
  EXPECT_EQ(Keypad.KeypadValue, 12);
}

TEST_F(KeypadTest, SignIsRemovedOnlyAfterTheRangeTests) {
  EXPECT_FALSE(Ok("-5"));
  EXPECT_EQ(ui_.messages, std::vector<std::string>{"Data is small"});
  form_.Text2 = "10";
  form_.Text3 = "-10";
  EXPECT_TRUE(Ok("-5"));
  EXPECT_EQ(Keypad.KeypadValue, 5);
  EXPECT_EQ(form_.Text1, "5");
  EXPECT_TRUE(Keypad.KeypadAccepted);
}

TEST_F(KeypadTest, AcceptedValueRoundsToNearestEven) {
  form_.Text2 = "100";
  form_.Text3 = "0";
  form_.Text4 = "1";
  EXPECT_TRUE(Ok("2.5"));
  EXPECT_EQ(Keypad.KeypadValue, 2);
  EXPECT_TRUE(Ok("3.5"));
  EXPECT_EQ(Keypad.KeypadValue, 4);
  EXPECT_TRUE(Ok("7.6"));
  EXPECT_EQ(Keypad.KeypadValue, 8);
  EXPECT_TRUE(Ok(" 9 "));
  EXPECT_EQ(Keypad.KeypadValue, 9);
}

TEST_F(KeypadTest, KeysAppendAndBackspaceClearsTheWholeEntry) {
  form_.Text1 = "1";
  for (char k : {'2', '.', '-', '0', 'x', '9'}) PressKeypadKey(form_, k);
  EXPECT_EQ(form_.Text1, "12.-09");
  KeypadBackspace(form_);
  EXPECT_EQ(form_.Text1, "");
  PressKeypadKey(form_, '7');
  EXPECT_TRUE(OkDialogInput(form_));
  EXPECT_EQ(Keypad.KeypadValue, 7);
}

TEST_F(KeypadTest, LoadingAndCancelLeaveNothingAccepted) {
  EXPECT_TRUE(Ok("5"));
  ASSERT_TRUE(Keypad.KeypadAccepted);
  LoadDialogInput(form_);
  EXPECT_FALSE(Keypad.KeypadAccepted);
  EXPECT_EQ(form_.Caption, "Input Data");
  EXPECT_TRUE(form_.Text1.empty());
  form_.Text1 = "5";
  CancelDialogInput(form_);
  EXPECT_FALSE(Keypad.KeypadAccepted);
  EXPECT_TRUE(form_.Closed);
}

TEST(KeypadCaptions, LanguageFlagSelectsTheSet) {
  EXPECT_STREQ(DialogInputCaptionsFor(1).Label1, "Max");
  EXPECT_STREQ(DialogInputCaptionsFor(1).Label4, "Number of decimal ");
  EXPECT_STREQ(DialogInputCaptionsFor(1).OKButton, "Ok");
  EXPECT_STREQ(DialogInputCaptionsFor(0).Label3, "输入要设置的数");
  EXPECT_STREQ(DialogInputCaptionsFor(0).OKButton, "确定");
}

TEST(NumericValueTest, WhatCountsAsANumber) {
  EXPECT_EQ(NumericValue(" 12 "), 12.0);
  EXPECT_EQ(NumericValue("12."), 12.0);
  EXPECT_EQ(NumericValue(".5"), 0.5);
  EXPECT_EQ(NumericValue("-0.25"), -0.25);
  EXPECT_EQ(NumericValue("+3"), 3.0);
  EXPECT_EQ(NumericValue("1e3"), 1000.0);
  EXPECT_EQ(NumericValue("5.E1"), 50.0);
  for (const char* bad : {"", " ", "-", "+", ".", "-.", "1e", "1e+", "1 2", "12a", "0x10",
                          "1..2", "--1", "1e999"}) {
    EXPECT_FALSE(IsNumeric(bad)) << bad;
  }
}

}  // namespace
}  // namespace accelog
