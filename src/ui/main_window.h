#pragma once
// MDIForm1: the menu bar, the tool-bar window, the chart window below it and
// the five-panel status bar.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "app/shell_rules.h"

#include "core/ui_port.h"

class QAction;
class QLabel;
class QScrollArea;

namespace accelog {

class ToolBarWindow;
class Form2;
class Dataset;
class HelpWindow;
class QtUi;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // The handlers behind the menu items, by item name ("File008" ...). An
  // item without a handler shows that it is not available yet.
  using Handlers = std::map<QString, std::function<void()>>;

  MainWindow(QWidget* chart, Dataset& data, QWidget* parent = nullptr);
  Dataset& Data() const { return data_; }
  ~MainWindow() override;

  void SetHandlers(Handlers handlers) { handlers_ = std::move(handlers); }
  void RunMenuItem(const QString& item);

  ToolBarWindow* ToolBar() const { return tool_bar_; }
  QWidget* Chart() const { return chart_; }
  QAction* Action(const QString& item) const;
  QLabel* Panel(int n) const { return panels_[static_cast<size_t>(n - 1)]; }
  QWidget* ClientArea() const { return client_; }
  ShellState& Shell() { return shell_; }
  // "Data List": the list window when it opened, else null (the status bar
  // may say why). DataList is the open one, or null.
  Form2* OpenDataList();
  Form2* DataList() const;
  HelpWindow* Help() const;

  // RestScreen: centres the tool bar at the top and places the chart window
  // in the area below it. That area scrolls when the window is smaller than
  // the chart; with Fit to Window the chart is scaled to it instead.
  void RestScreen();
  // The caption; empty gives back the program's own.
  void SetCaption(const QString& text);
  // The check mark of a checkable item belongs to its handler: a click
  // leaves it as the handler set it.
  void SetMenuMark(const QString& item, bool checked);
  QScrollArea* Scroller() const { return scroll_; }
  QWidget* ToolBarHost() const { return tool_host_; }
  // Yes/no settings kept in accelog.ini; a failed write says so, naming `what`.
  static bool Setting(const QString& key);
  void RememberSetting(const QString& key, bool on, const QString& what);
  // The port its messages go through; a silent one until the program gives it its own.
  void UsePort(UiPort& port) { port_ = &port; }
  UiPort& Port() const { return *port_; }
  bool FitToWindow() const;
  void SetFitToWindow(bool on);
  void ShowHelp();
  void ShowAbout();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenus();
  void BuildStatusBar();

  QWidget* tool_host_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QWidget* client_ = nullptr;
  bool outer_size_set_ = false;
  ToolBarWindow* tool_bar_ = nullptr;
  QWidget* chart_ = nullptr;
  std::array<QLabel*, 5> panels_{};
  std::map<QString, QAction*> actions_;
  std::map<QString, bool> marks_;
  Handlers handlers_;
  QPointer<HelpWindow> help_;
  ShellState shell_;
  QPointer<Form2> data_list_;
  Dataset& data_;
  UiPort silent_;
  UiPort* port_ = &silent_;
};

}  // namespace accelog
