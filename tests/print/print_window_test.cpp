// Print from a shown chart: the capture and its crop, the preview with margin
// dragging, the page set-up written back, a PDF through the preview, and the
// printer choice against a fake printer system.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cmath>

#include "charts/chart_views.h"
#include "charts/form_picture.h"
#include "charts/kvx_maker.h"
#include "core/qt_timer.h"
#include "print/dialog_page.h"
#include "print/dialog_set_print.h"
#include "print/print_command.h"
#include "print/print_page.h"
#include "print/printers.h"
#include "shell/twips.h"
#include "support/recording_ui.h"
#include "support/wait_for.h"
#include "charts/chart_fixture.h"

namespace accelog::testing {
namespace {

class FakePrinters : public PrinterSystem {
 public:
  std::vector<std::string> Names() override { return names; }
  std::string DefaultName() override { return names.empty() ? "" : names.front(); }
  int SetDefault(const std::string& name) override {
    set.push_back(name);
    return error;
  }
  std::vector<std::string> names = {"Office", "Lab"};
  std::vector<std::string> set;
  int error = 0;
};

void Mouse(QWidget* w, QEvent::Type type, double x_twips, double y_twips) {
  const QPointF at(x_twips * LogicalDpi() / 1440.0, y_twips * LogicalDpi() / 1440.0);
  QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

class PrintWindowTest : public ChartTest {
 protected:
  void SetUp() override {
    ChartTest::SetUp();
    ResetPrintState();
    InstallQtTimerFactory();
    SetUi(&ui_);
    // A main window whose preview zoom comes out at 0.5, the chart inside it.
    main_.resize(TwipsToPixels(30000), TwipsToPixels(8203));
    chart_ = new FormPicture(&main_);
    chart_->move(37, 21);
    command_ = std::make_unique<PrintCommand>(&main_, chart_, printers_);
  }
  void TearDown() override { SetUi(nullptr); }

  RecordingUi ui_;
  FakePrinters printers_;
  QWidget main_;
  FormPicture* chart_ = nullptr;
  std::unique_ptr<PrintCommand> command_;
};

TEST_F(PrintWindowTest, PrintCapturesThePlotPreviewsAndPrintsIt) {
  command_->File006_Click();  // nothing shown: nothing happens
  EXPECT_EQ(Data.MenuCommandCode, 0);
  EXPECT_EQ(PrintState.PrintStep, 0);

  const std::string kvx = folder_.File("run.kvx");
  ASSERT_TRUE(WriteKvx(kvx, RealisticSamples(3000)));
  ASSERT_EQ(OpenDataFileInChart(kvx), OpenResult::Ok);
  chart_->SyncFromScene();
  main_.show();
  command_->File006_Click();
  EXPECT_EQ(Data.MenuCommandCode, 18);
  ASSERT_TRUE(WaitFor([&] { return command_->Preview() != nullptr; }, 6000));
  FormPrint* preview = command_->Preview();

  // The capture on disk is the main window; the cut-out holds the plot and its labels.
  const QImage bmp(CaptureFilePath());
  ASSERT_FALSE(bmp.isNull());
  EXPECT_EQ(bmp.size(), main_.grab().size());
  const double tw = 1440.0 / LogicalDpi();
  const TwipPoint plot = PlotOrigin();
  const double plot_left = 37 * tw + plot.X, plot_top = 21 * tw + plot.Y;
  const TwipRect cut = CutOutSource();
  EXPECT_LT(cut.Left, plot_left);
  EXPECT_NEAR(cut.Top, plot_top, 50);
  EXPECT_GT(cut.Left + cut.Width, plot_left + ChartScene.Frame5.Width);
  EXPECT_GE(cut.Top + cut.Height, plot_top + ChartScene.Frame5.Height + 500);

  // Drag the left margin to 566 preview twips at zoom 0.5.
  EXPECT_NEAR(PrintState.PreviewZoom, 0.5f, 1e-4);
  QWidget* page = preview->Frame22();
  Mouse(page, QEvent::MouseButtonPress, preview->Layout().LineLeft, 3000);
  Mouse(page, QEvent::MouseMove, 566, 3000);
  EXPECT_EQ(preview->Label33()->text(), "20mm");
  Mouse(page, QEvent::MouseButtonRelease, 566, 3000);
  EXPECT_EQ(MachineParameter.MarginLeft, 20);
  EXPECT_FALSE(preview->Label33()->isVisible());

  // Page Setup: a word is refused, Letter with a left margin of 7 is taken and stored.
  preview->EditPageSetup = [this](const PageSetup& v) -> std::optional<PageSetup> {
    DialogPage dialog(v);
    dialog.Text(3)->setText("seven");
    dialog.OKButton_Click();
    EXPECT_EQ(ui_.messages, std::vector<std::string>{"Error"});
    dialog.Paper(3)->click();
    dialog.Text(3)->setText("7");
    dialog.Button("CommandAddPictureScale")->click();
    EXPECT_EQ(dialog.Text(7)->text(), "0.91");
    dialog.OKButton_Click();
    if (dialog.result() != QDialog::Accepted) return std::nullopt;
    return dialog.Values();
  };
  preview->Command2_Click();
  // The store on disk holds paper kind 3 and left margin 7 (its layout is checked with the store).
  const std::vector<unsigned char> file = ReadBytes(folder_.File("MPInteger.kvx"));
  ASSERT_EQ(file.size(), 78u);
  EXPECT_EQ(std::tuple(file[60], file[64], file[76]), std::tuple(3, 7, 91));

  // Print through the "PDF file…" entry; the extension is added.
  preview->ChoosePrinter = [] { return true; };
  ui_.files = {folder_.File("chart")};
  preview->Command1_Click();
  EXPECT_GT(QFile(QString::fromStdString(folder_.File("chart.pdf"))).size(), 1000);
  EXPECT_EQ(ui_.messages.size(), 1u);

  // Ctrl+W closes it where no window manager gives it a close box.
  QApplication::setActiveWindow(preview);
  QTest::keyClick(preview, Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(Data.MenuCommandCode, 0);
  EXPECT_TRUE(WaitFor([&] { return command_->Preview() == nullptr; }, 2000));
}

TEST_F(PrintWindowTest, PrinterChoice) {
  // Row chosen (-1 none), the error the system gives, the names set, the printer after, the message, PDF chosen.
  using Case = std::tuple<int, int, std::vector<std::string>, std::string, std::string, bool>;
  for (const auto& [row, error, set, after, message, pdf] :
       {Case{-1, 0, {}, "Lab", "", false}, Case{1, 0, {"Lab"}, "Lab", "", false},
        Case{0, 0, {"Office"}, "Office", "", false},
        Case{0, 1030, {"Office"}, "Lab", "SetPrinter Failed. Error code: 1030", false},
        Case{2, 0, {}, "Lab", "", true}}) {
    printers_.set.clear();
    printers_.error = error;
    ui_.messages.clear();
    PrintState.CurrentPrinter = "Lab";
    DialogSetPrint dialog(printers_);
    ASSERT_EQ(dialog.List1()->count(), 3);
    EXPECT_EQ(dialog.List1()->item(2)->text(), "PDF file\u2026");
    if (row >= 0) dialog.List1()->setCurrentRow(row);
    dialog.Command1()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << row;
    EXPECT_EQ(std::tuple(printers_.set, PrintState.CurrentPrinter, dialog.PdfChosen()), std::tuple(set, after, pdf)) << row;
    EXPECT_EQ(ui_.messages, message.empty() ? std::vector<std::string>{} : std::vector{message}) << row;
  }
}

}  // namespace
}  // namespace accelog::testing
