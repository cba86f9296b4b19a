// The keypad's OK steps, their messages and the value it hands back.
#include "app/keypad.h"

#include <gtest/gtest.h>

#include "model/machine_parameter.h"
#include "model/numeric_text.h"
#include "app/keypad_script.h"

namespace accelog {
namespace {

TEST(KeypadTest, OkJudgesTheEntry) {
  const struct {
    const char *max, *min, *decimals, *entry;
    int value;  // -1: refused with `message`
    const char* message;
  } cases[] = {
      {"16", "1", "0", "", -1, "非法数据"},        {"16", "1", "0", "1-", -1, "非法数据"},
      {"16", "1", "0", "16", 16, ""},              {"16", "1", "0", "17", -1, "Data is too big"},
      {"16", "1", "0", "16.5", -1, "Data is too big"}, {"16", "1", "0", "0.9", -1, "Data is small"},
      {"16", "1", "0", "1.0000001", -1, "Decimal digits too much  = 7"}, {"16", "1", "0", "12.000", 12, ""},
      // The sign goes only after the range tests.
      {"16", "1", "0", "-5", -1, "Data is small"}, {"10", "-10", "0", "-5", 5, ""},
      // The value is the nearest integer, halves to even.
      {"100", "0", "1", "2.5", 2, ""},             {"100", "0", "1", "3.5", 4, ""},
  };
  for (const auto& c : cases) {
    testing::RecordingUi ui;
    KeypadForm form = NewKeypadForm();
    form.Maximum = c.max, form.Minimum = c.min, form.Decimals = c.decimals;
    form.Entry = c.entry;
    const std::optional<int16_t> value = ConfirmKeypadEntry(ui, form);
    EXPECT_EQ(form.Closed, c.value >= 0) << c.entry;
    EXPECT_EQ(value, form.Value) << c.entry;
    if (c.value >= 0) {
      EXPECT_EQ(value, c.value) << c.entry;
      EXPECT_TRUE(ui.messages.empty()) << c.entry;
    } else {
      EXPECT_EQ(ui.messages, std::vector<std::string>{c.message}) << c.entry;
      EXPECT_EQ(ui.icons[0], MessageIcon::Exclamation);
      // Its own title: two blanks for the one Chinese message, one for the rest.
      EXPECT_EQ(ui.titles.back(), std::string(c.message) == "非法数据" ? "  " : " ") << c.entry;
      EXPECT_FALSE(value) << c.entry;
      EXPECT_EQ(form.Entry, c.entry);  // the entry stays for correcting
    }
  }
}

TEST(KeypadTest, NewFormAndCancelLeaveNothingAccepted) {
  KeypadForm form = NewKeypadForm();
  EXPECT_TRUE(!form.Value && form.Entry.empty() && form.Caption == "Input Data");
  form.Value = 5;  // as an earlier OK left it
  CancelKeypad(form);
  EXPECT_TRUE(!form.Value && form.Closed);
}

TEST(NumericValueTest, WhatCountsAsANumber) {
  for (auto [text, value] : {std::pair{" 12 ", 12.0}, {".5", 0.5}, {"-0.25", -0.25}, {"+3", 3.0}, {"5.E1", 50.0}}) {
    EXPECT_EQ(NumericValue(text), value) << text;
  }
  for (const char* bad : {"", " ", "-", ".", "-.", "1e", "1e+", "1 2", "12a", "0x10", "1..2", "--1", "1e999"}) {
    EXPECT_FALSE(IsNumeric(bad)) << bad;
  }
}

}  // namespace
}  // namespace accelog
