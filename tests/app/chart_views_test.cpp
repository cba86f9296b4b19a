#include "app/chart_fixture.h"
#include "app/chart_scene.h"
#include "app/chart_views.h"
#include "app/live_chart.h"
#include "core/ui_port.h"
#include "support/installed_ui.h"

namespace accelog::testing {
namespace {

class ChartViewsTest : public ChartTest {
 protected:
  InstalledUi<> ui_;
};

TEST_F(ChartViewsTest, OpeningARealFileDrawsEverything) {
  const std::string path = folder_.File("my run.2013.kvx");
  ASSERT_TRUE(WriteKvx(path, RealisticSamples(3000, 1000, 300)));
  ChartState.CurveShown[kCurveAX] = 1;  // the file view switches the angles off
  ASSERT_EQ(OpenDataFileInChart(path), OpenResult::Ok);
  EXPECT_EQ(ChartState.CurveShown[kCurveAX], 0);
  EXPECT_EQ(ChartScene.Text[24].Caption, "my run.2013.kvx");  // the name on disk
  EXPECT_EQ(ChartScene.FilePath, path);
  EXPECT_EQ(ChartScene.Text[19].Caption, "2100");  // 900 zero points left out
  EXPECT_EQ(ChartScene.Label29.Caption, "3000");
  EXPECT_TRUE(Data.ZeroPointFlag[60]);  // points 701..1000 read 0: columns 47..67
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(ChartViewsTest, RefusedFilesLeaveTheChartAlone) {
  const std::string path = folder_.File("short.kvx");
  ASSERT_TRUE(WriteKvx(path, {{1, 2, 3}}));
  ChartScene.LabelX1[1].Caption = "before";
  EXPECT_EQ(OpenDataFileInChart(path), OpenResult::DataError);
  EXPECT_EQ(ChartScene.LabelX1[1].Caption, "before");
  EXPECT_FALSE(Data.DataLoaded);
}

// A spectrum's read-out never stays into another view, and the live
// spectrum can always be switched to its raw samples.
TEST_F(ChartViewsTest, EachViewClearsWhatBelongsToAnother) {
  for (void (*view)() : {DispDataReady_14, DispRealTimeDataReady_12, DispRealTimeFrequencyReady_13}) {
    DispDataReady_14();  // an acceleration view greys "Disp Frequency"
    ChartScene.Label25.Caption = "Frequency = 10  HZ";
    view();
    EXPECT_EQ(ChartScene.Label25.Caption, "");
    EXPECT_EQ(ChartScene.Check[13].Enabled, view == DispRealTimeFrequencyReady_13);
  }
}

}  // namespace
}  // namespace accelog::testing
