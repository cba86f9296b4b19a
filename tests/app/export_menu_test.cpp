// "Export Data" from the dialog to the message: names, the overwrite
// question, the progress bar and a failed workbook.
#include "app/export_menu.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/program_folder.h"
#include "core/virtual_clock.h"
#include "support/export_points.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

struct ExportUi : testing::RecordingUi {
  ExportChoice ExportFileName(const std::string&, const std::vector<std::pair<std::string, std::string>>&) override {
    return ++asked, choice;
  }
  ExportChoice choice;
  int asked = 0;
};

class ExportMenuTest : public testing::ProgramFolderTest {
 protected:
  ExportUi ui_;
  Dataset data_;
  DataExport export_{data_, ui_, nullptr};
};

TEST_F(ExportMenuTest, OverwriteIsAskedAndOnlyShownPointsAreKept) {
  testing::LoadPoints(data_, {{1, 2, 3}, {5, 6, 7}, {9, 1, 2}});
  const std::string target = folder_.File("a.txt");
  testing::WriteBytes(target, {'o', 'l', 'd'});
  ui_.choice = {target, 1, false};
  ui_.answer_ok = false;
  export_.ExportData();
  EXPECT_EQ(ui_.questions, std::vector<std::string>{"The filename already exists ,overwrite it  ?"});
  EXPECT_EQ(testing::ReadBytes(target).size(), 3u);
  ui_.answer_ok = true;
  export_.ExportData();
  EXPECT_EQ(testing::ReadBytes(target).size(), 151u * 4);
  EXPECT_EQ(ui_.messages.back(), "Complete!");

  data_.DispStartPoint = data_.DispEndPoint = 2;
  ui_.choice = {folder_.File("b"), 3, true};
  export_.ExportData();
  const auto bytes = testing::ReadBytes(folder_.File("b.csv"));
  const std::string rows = std::string(bytes.begin(), bytes.end()).substr(std::find(bytes.begin(), bytes.end(), '\n') - bytes.begin() + 1);
  EXPECT_EQ(rows.substr(0, 2) + std::to_string(std::count(rows.begin(), rows.end(), '\n')), "2,1");  // point 2 alone

  data_.MenuCommandCode = MenuOperation::DataList;  // the data list is open: no dialog
  export_.ExportData();
  EXPECT_TRUE(ui_.asked == 3 && ui_.panels.count(3) == 0);

  data_.DataLoaded = false;  // no file on view: the status bar says why nothing happens
  data_.CountPoint = data_.DispStartPoint = data_.DispEndPoint = 0;
  data_.MenuCommandCode = MenuOperation::None;
  export_.ExportData();
  EXPECT_TRUE(ui_.asked == 3 && ui_.panels[3] == "Open a file first");
}

// A typed extension wins over the filter; the filter completes a bare name.
TEST_F(ExportMenuTest, TheTypedExtensionChoosesTheFormat) {
  testing::LoadPoints(data_, {{1, 2, 3}, {5, 6, 7}});
  const struct {
    const char* typed;
    int filter;
    const char* written;
    size_t first_line;  // bytes up to and with the first '\n'; 0 for a workbook
  } cases[] = {
      {"first.xlsx", 1, "first.xlsx", 0}, {"second.csv", 1, "second.csv", 94}, {"third.txt", 3, "third.txt", 151},
      {"fourth.txt", 2, "fourth.txt", 151}, {"fifth", 3, "fifth.csv", 94},
  };
  for (const auto& c : cases) {
    ui_.choice = {folder_.File(c.typed), c.filter, false};
    export_.ExportData();
    const auto bytes = testing::ReadBytes(folder_.File(c.written));
    ASSERT_FALSE(bytes.empty()) << c.typed;
    if (c.first_line == 0) {
      EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 2), "PK") << c.typed;  // a zip
    } else {
      EXPECT_EQ(size_t(std::find(bytes.begin(), bytes.end(), '\n') - bytes.begin() + 1), c.first_line) << c.typed;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(folder_.File("first.xlsx.txt")) || std::filesystem::exists(folder_.File("fourth.xlsx")));
}

TEST_F(ExportMenuTest, WorkbookWaitsForTheCaptureStepShowsProgressAndReportsItsFailure) {
  testing::LoadPoints(data_, std::vector<testing::Point>(1250, {1, 2, 3}));
  ui_.choice = {folder_.File("c.dat"), 2, false};
  VirtualClock clock;
  DataExport timed(data_, ui_, clock.MakeTimer());
  timed.ExportData();
  clock.Advance(1999);  // the capture step's tick, then the workbook's
  EXPECT_TRUE(ui_.messages.empty() && data_.MenuCommandCode == MenuOperation::Export);
  clock.Advance(1);
  EXPECT_EQ(ui_.messages.back(), "Complete !");
  EXPECT_TRUE(std::filesystem::exists(folder_.File("c.xlsx")) && !ui_.progress_visible);

  ui_.choice = {folder_.File("gone/d"), 2, false};
  export_.ExportData();
  EXPECT_EQ(ui_.messages.back(), "Data is error=7,Please check Microsoft Office Excel\n" +
                                     folder_.File("gone/d.xlsx") + ": No such file or directory");
  EXPECT_EQ(testing::ReadBytes(ProgramFile("MessageTam.txt")).size(), 100u);
  EXPECT_EQ(data_.MenuCommandCode, MenuOperation::None);
}

}  // namespace
}  // namespace accelog
