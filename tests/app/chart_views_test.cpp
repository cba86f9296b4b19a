#include "app/chart_fixture.h"

namespace accelog::testing {
namespace {

using ChartViewsTest = ChartTest;

TEST_F(ChartViewsTest, OpeningARealFileDrawsEverything) {
  const std::string path = folder_.File("my run.2013.kvx");
  ASSERT_TRUE(WriteKvx(path, RealisticSamples(3000, 1000, 300)));
  chart_->state.CurveShown[kCurveAX] = 1;  // the file view switches the angles off
  ASSERT_EQ(chart_->OpenDataFile(path), OpenResult::Ok);
  EXPECT_EQ(chart_->state.CurveShown[kCurveAX], 0);
  EXPECT_EQ(chart_->scene.StatBox[kFileNameBox].Caption, "my run.2013.kvx");  // the name on disk
  EXPECT_EQ(chart_->scene.FilePath, path);
  EXPECT_EQ(chart_->scene.StatBox[kPointCountBox].Caption, "2100");  // 900 zero points left out
  EXPECT_EQ(chart_->scene.ScrollEndLabel.Caption, "3000");
  EXPECT_TRUE(data_.ZeroPointFlag[60]);  // points 701..1000 read 0: columns 47..67
}

TEST_F(ChartViewsTest, RefusedFilesLeaveTheChartAlone) {
  const std::string path = folder_.File("short.kvx");
  ASSERT_TRUE(WriteKvx(path, {{1, 2, 3}}));
  chart_->scene.TimeLabel[1].Caption = "before";
  EXPECT_EQ(chart_->OpenDataFile(path), OpenResult::DataError);
  EXPECT_EQ(chart_->scene.TimeLabel[1].Caption, "before");
  EXPECT_FALSE(data_.DataLoaded);
}

// A spectrum's read-out never stays into another view, and the live
// spectrum can always be switched to its raw samples.
TEST_F(ChartViewsTest, EachViewClearsWhatBelongsToAnother) {
  for (void (Chart::*view)() : {&Chart::PrepareDataView, &Chart::PrepareLiveData, &Chart::PrepareLiveSpectrum}) {
    chart_->PrepareDataView();  // an acceleration view greys "Disp Frequency"
    chart_->scene.ReadOut.Caption = "Frequency = 10  HZ";
    ((*chart_).*view)();
    EXPECT_EQ(chart_->scene.ReadOut.Caption, "");
    EXPECT_EQ(chart_->scene.CheckBox[kSpectrumBox].Enabled, view == &Chart::PrepareLiveSpectrum);
  }
}

}  // namespace
}  // namespace accelog::testing
