// The desktop backend on Qt's offscreen platform: no display needed.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "Backend.h"
#include "Canvas.h"
#include "ContentView.h"
#include "EventGate.h"
#include "Exceptions.h"
#include "Graphics.h"
#include "Label.h"
#include "MenuBarBuilder.h"
#include "MenuItem.h"
#include "NativeWindow.h"
#include "Picture.h"
#include "QtBackend.h"
#include "Rectangle.h"
#include "Runtime.h"
#include "ScratchFolder.h"
#include "System.h"
#include "TestSupport.h"
#include "Timer.h"
#include "Window.h"
#include "X11.h"

namespace {

using fw::qt::NativeWindow;

// A fixed 201 x 250 window whose controls a test adds.
class TestWindow : public fw::Window {
 public:
  explicit TestWindow(fw::MenuBar* bar = nullptr, std::function<void(TestWindow&)> controls = {})
      : bar_(bar), controls_(std::move(controls)) {}

  void Event_Layout() override {
    if (bar_) SetMenuBar(bar_);
    SetWidth(201);
    SetHeight(250);
    SetTitle("Tintbeacon");
    Resizeable = false;
    MaximizeButton = false;
  }
  void Event_CreateControls() override {
    if (controls_) controls_(*this);
  }
  bool Event_KeyDown(const std::string& key) override {
    keys.emplace_back(key, fw::Keyboard::ShiftKey(), fw::Keyboard::OptionKey());
    return false;
  }
  void Event_Close() override { ++closes; }

  std::vector<std::tuple<std::string, bool, bool>> keys;
  int closes = 0;

 private:
  fw::MenuBar* bar_;
  std::function<void(TestWindow&)> controls_;
};

std::unique_ptr<fw::MenuItem> Item(const std::string& name, const std::string& text, const std::string& shortcut = "") {
  auto item = std::make_unique<fw::MenuItem>();
  item->Name = name;
  item->Text = text;
  item->KeyboardShortcut = shortcut;
  item->AutoEnable = true;
  return item;
}

// Edit (Undo, -, Quit) and View (Mode > RGB, Minimize Window, Tintbeacon).
std::unique_ptr<fw::MenuBar> SmallTree() {
  auto bar = std::make_unique<fw::MenuBar>();
  bar->Append(Item("EditMenu", "Edit"));
  fw::MenuItem* edit = bar->Child("EditMenu");
  edit->Append(Item("EditUndo", "Undo", "Cmd+Z"));
  edit->Append(Item("EditSeparator1", "-"));
  auto quit = std::make_unique<fw::QuitMenuItem>();
  quit->Name = "FileQuit";
  quit->Text = "Quit";
  quit->KeyboardShortcut = "Cmd+Q";
  edit->Append(std::move(quit));
  bar->Append(Item("View", "View"));
  fw::MenuItem* view = bar->Child("View");
  view->Append(Item("ViewMode", "Mode"));
  view->Child("ViewMode")->Append(Item("ViewModeRGB", "RGB"));
  view->Append(Item("ViewWindowMinimize", "Minimize Window", "Cmd+m"));
  view->Append(Item("ViewTintbeacon", "Tintbeacon", "Cmd+Option+m"));
  return bar;
}

class QtBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::ResetFrameworkForTests();
    backend_ = MakeQtBackend(argc_, argv_);
    fw::SetBackend(backend_.get());
    fw::Runtime::Init();
  }
  void TearDown() override {
    windows_.clear();
    fw::SetBackend(nullptr);
    backend_.reset();
  }

  template <class... Args>
  TestWindow& Make(Args&&... args) {
    windows_.push_back(std::make_unique<TestWindow>(std::forward<Args>(args)...));
    windows_.back()->Constructor("TestWindow" + std::to_string(windows_.size()));
    return *windows_.back();
  }

  static NativeWindow& NativeOf(const fw::Window& w) {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* native = dynamic_cast<NativeWindow*>(widget); native && native->FrameworkWindow() == &w) return *native;
    throw std::runtime_error("no native window");
  }

  static void ServeFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) fw::CurrentBackend().ServeEvents(5, {});
  }

  static QImage Grab(const fw::Window& w) { return NativeOf(w).Content().grab().toImage(); }

 private:
  fwtest::ScratchFolder home_;
  fwtest::EnvOverride platform_{"QT_QPA_PLATFORM", "offscreen"};
  fwtest::EnvOverride homeEnv_{"HOME", home_.Path()};
  fwtest::EnvOverride cache_{"XDG_CACHE_HOME", home_ / ".cache"};
  fwtest::EnvOverride config_{"XDG_CONFIG_HOME", home_ / ".config"};
  fwtest::EnvOverride runtime_{"XDG_RUNTIME_DIR", home_.Path()};
  std::unique_ptr<fw::Backend> backend_;
  int argc_ = 1;
  char name_[16] = "qt_backend_test";
  char* argv_[2] = {name_, nullptr};
  std::vector<std::unique_ptr<TestWindow>> windows_;
};

TEST_F(QtBackendTest, ContentAreaIsTheWindowSizeBelowItsMenuBar) {
  auto bar = SmallTree();
  TestWindow& w = Make(bar.get());
  NativeWindow& native = NativeOf(w);

  EXPECT_TRUE(native.isVisible());
  EXPECT_EQ(native.windowTitle(), "Tintbeacon");
  EXPECT_EQ(native.Content().size(), QSize(201, 250));
  EXPECT_EQ(native.Content().geometry().top(), native.Bar().geometry().bottom() + 1);
  EXPECT_GT(native.Bar().height(), 0);
  EXPECT_EQ(native.minimumSize(), native.maximumSize()) << "the window is of fixed size";
  EXPECT_TRUE(native.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(native.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(native.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

  // A position read and written back is the same place.
  w.SetLeft(130);
  w.SetTop(90);
  EXPECT_EQ(w.Left(), 130);
  EXPECT_EQ(w.Top(), 90);
  w.SetLeft(w.Left());
  w.SetTop(w.Top());
  EXPECT_EQ(w.Left(), 130);
  EXPECT_EQ(w.Top(), 90);

  EXPECT_DOUBLE_EQ(w.BackingScaleFactor(), 1.0);
  TestWindow unbuilt;
  EXPECT_THROW(unbuilt.BackingScaleFactor(), fw::ObjCException);
}

TEST_F(QtBackendTest, MenuBarShowsTheTreeWithItsShortcuts) {
  auto bar = SmallTree();
  TestWindow& w = Make(bar.get());
  const QList<QAction*> top = NativeOf(w).Bar().actions();
  ASSERT_EQ(top.size(), 2);
  EXPECT_EQ(top[0]->text(), "Edit");
  EXPECT_EQ(top[1]->text(), "View");

  const QList<QAction*> edit = top[0]->menu()->actions();
  ASSERT_EQ(edit.size(), 3);
  EXPECT_EQ(edit[0]->text(), "Undo");
  EXPECT_EQ(edit[0]->shortcut(), QKeySequence("Ctrl+Z"));
  EXPECT_TRUE(edit[1]->isSeparator());
  EXPECT_EQ(edit[2]->text(), "Quit");
  EXPECT_EQ(edit[2]->shortcut(), QKeySequence("Ctrl+Q"));

  const QList<QAction*> view = top[1]->menu()->actions();
  ASSERT_EQ(view.size(), 3);
  ASSERT_NE(view[0]->menu(), nullptr);
  EXPECT_EQ(view[0]->text(), "Mode");
  EXPECT_EQ(view[0]->menu()->actions().at(0)->text(), "RGB");
  EXPECT_EQ(view[1]->shortcut(), QKeySequence("Ctrl+M"));
  EXPECT_EQ(view[2]->shortcut(), QKeySequence("Ctrl+Alt+M"));
}

TEST(QtShortcutText, CmdIsCtrlOptionIsAltAndCaseDoesNotMatter) {
  const std::vector<std::pair<std::string, QKeySequence>> cases = {
      {"Cmd+Q", QKeySequence("Ctrl+Q")},        {"Cmd+m", QKeySequence("Ctrl+M")},
      {"Cmd+Option+m", QKeySequence("Ctrl+Alt+M")}, {"Cmd+Shift+a", QKeySequence("Ctrl+Shift+A")},
      {"Cmd++", QKeySequence("Ctrl++")},         {"", QKeySequence()},
      {"Hyper+x", QKeySequence()},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(fw::qt::ShortcutToKeySequence(text), expected) << '"' << text << '"';
}

TEST_F(QtBackendTest, MenuStatesComeFromTheFrameworkBeforeTheMenuOpens) {
  auto bar = SmallTree();
  TestWindow& w = Make(bar.get());
  int minimized = 0;
  w.AddMenuHandler("ViewWindowMinimize", [&] { return ++minimized, true; });
  bar->Lookup("ViewWindowMinimize")->Checked = true;

  QMenu* view = NativeOf(w).Bar().actions().at(1)->menu();
  QAction* minimize = view->actions().at(1);
  QAction* tintbeacon = view->actions().at(2);
  emit view->aboutToShow();
  EXPECT_TRUE(minimize->isEnabled());
  EXPECT_TRUE(minimize->isChecked());
  EXPECT_FALSE(tintbeacon->isEnabled()) << "no handler serves it";
  EXPECT_FALSE(tintbeacon->isCheckable());

  emit view->aboutToHide();
  EXPECT_TRUE(tintbeacon->isEnabled()) << "its shortcut must reach the framework, which decides";
  tintbeacon->trigger();
  minimize->trigger();
  EXPECT_EQ(minimized, 1);
}

TEST_F(QtBackendTest, TabKeysReachKeyDownWithTheirModifiers) {
  TestWindow& w = Make();
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    std::tuple<std::string, bool, bool> expected;
  };
  const std::vector<Case> cases = {
      {Qt::Key_Tab, Qt::NoModifier, "\t", {"\t", false, false}},
      {Qt::Key_Backtab, Qt::ShiftModifier, "", {"\t", true, false}},
      {Qt::Key_Tab, Qt::AltModifier, "\t", {"\t", false, true}},
      {Qt::Key_Tab, Qt::ControlModifier, "\t", {"\t", false, false}},
      {Qt::Key_A, Qt::ShiftModifier, "A", {"A", true, false}},
      {Qt::Key_Eacute, Qt::NoModifier, QString::fromUtf8("é"), {"é", false, false}},
  };
  for (const Case& c : cases) {
    w.keys.clear();
    // To the content area, as to the widget that has the focus; the key
    // must pass Qt's focus chain on its way to the window.
    QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, c.text);
    QApplication::sendEvent(&NativeOf(w).Content(), &press);
    ASSERT_EQ(w.keys.size(), 1u) << c.text.toStdString();
    EXPECT_EQ(w.keys[0], c.expected) << c.text.toStdString();
  }
  w.keys.clear();
  QKeyEvent shiftAlone(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
  QApplication::sendEvent(&NativeOf(w).Content(), &shiftAlone);
  EXPECT_TRUE(w.keys.empty());
}

TEST_F(QtBackendTest, TimerFiresAndIsNeverReenteredWhileEventsAreServed) {
  int fired = 0, depth = 0, deepest = 0;
  TestWindow& w = Make(nullptr, [&](TestWindow& win) {
    auto* timer = win.New<fw::Timer>();
    win.AddControl("Tick", timer);
    timer->Action = [&](fw::Timer&) {
      ++fired;
      deepest = std::max(deepest, ++depth);
      // As Shell does while a command runs.
      if (fired == 1) ServeFor(60);
      --depth;
    };
    timer->SetPeriod(10);
    timer->SetMode(fw::Timer::ModeMultiple);
  });
  ServeFor(200);
  EXPECT_GE(fired, 3);
  EXPECT_EQ(deepest, 1);

  static_cast<fw::Timer*>(w.ControlByName("Tick"))->SetMode(fw::Timer::ModeOff);
  const int stopped = fired;
  ServeFor(50);
  EXPECT_EQ(fired, stopped);
}

TEST_F(QtBackendTest, CloseRequestDuringAWaitRunsAfterTheWait) {
  TestWindow& w = Make();
  {
    fw::EventGate::CommandWait wait;
    QCloseEvent close;
    QApplication::sendEvent(&NativeOf(w), &close);
    EXPECT_FALSE(close.isAccepted()) << "closing is the framework's decision";
    EXPECT_EQ(w.closes, 0);
  }
  QApplication::processEvents();
  EXPECT_EQ(w.closes, 1);
}

TEST_F(QtBackendTest, QuitBeforeTheLoopStartsEndsTheLoopAtOnce) {
  fw::CurrentBackend().QuitEventLoop(3);
  EXPECT_EQ(fw::CurrentBackend().RunEventLoop(), 3);
}

// A picture whose every pixel differs from its neighbours.
std::shared_ptr<fw::Picture> Pattern(int width, int height) {
  auto picture = std::make_shared<fw::Picture>(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture->SetPixelAt(x, y, fw::Color::FromRGB(x, y, (x * 7 + y * 13) & 0xFF));
  return picture;
}

TEST_F(QtBackendTest, CanvasShowsItsBackdropPixelForPixelClippedToItself) {
  auto view = Pattern(202, 202);
  auto small = Pattern(40, 40);
  TestWindow& w = Make(nullptr, [&](TestWindow& win) {
    auto* viewer = win.New<fw::Canvas>();
    win.AddControl("Viewer", viewer);
    viewer->Top = -1;
    viewer->Width = viewer->Height = 201;
    viewer->Backdrop = view;
    auto* clipped = win.New<fw::Canvas>();
    win.AddControl("Clipped", clipped);
    clipped->Left = 20;
    clipped->Top = 205;
    clipped->Width = clipped->Height = 30;
    clipped->Backdrop = small;
  });
  w.HasBackColor = true;
  w.BackColor = fw::Color(0x123456);
  const QImage shot = Grab(w);
  ASSERT_EQ(shot.size(), QSize(201, 250));

  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 201; ++x)
      ASSERT_EQ(shot.pixel(x, y) & 0xFFFFFF, view->PixelAt(x, y + 1).RGB()) << x << "," << y;
  for (int y = 205; y < 245; ++y)
    for (int x = 20; x < 60; ++x) {
      const bool inside = x < 50 && y < 235;
      const uint32_t expected = inside ? small->PixelAt(x - 20, y - 205).RGB() : 0x123456u;
      ASSERT_EQ(shot.pixel(x, y) & 0xFFFFFF, expected) << x << "," << y;
    }

  // On a display of scale 2 each picture pixel is a block of 2 x 2.
  QImage scaled(402, 500, QImage::Format_RGB32);
  scaled.setDevicePixelRatio(2.0);
  NativeOf(w).Content().render(&scaled);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 402; ++x)
      ASSERT_EQ(scaled.pixel(x, y) & 0xFFFFFF, view->PixelAt(x / 2, y / 2 + 1).RGB()) << x << "," << y;
}

// A picture is converted for the screen once, and again once drawn into.
TEST_F(QtBackendTest, ABackdropDrawnIntoShowsItsNewPixels) {
  auto view = Pattern(202, 202);
  TestWindow& w = Make(nullptr, [&](TestWindow& win) {
    auto* viewer = win.New<fw::Canvas>();
    win.AddControl("Viewer", viewer);
    viewer->Width = viewer->Height = 201;
    viewer->Backdrop = view;
  });
  EXPECT_EQ(Grab(w).pixel(10, 10) & 0xFFFFFF, view->PixelAt(10, 10).RGB());
  view->Graphics().ForeColor = fw::Color(0x00FF00);
  view->Graphics().FillRect(0, 0, 20, 20);
  EXPECT_EQ(Grab(w).pixel(10, 10) & 0xFFFFFF, 0x00FF00u);
  view->SetPixelAt(30, 30, fw::Color(0x0000FF));
  EXPECT_EQ(Grab(w).pixel(30, 30) & 0xFFFFFF, 0x0000FFu);
}

// A picture's transparency counts only on a canvas marked Transparent;
// elsewhere its pixels are drawn exactly as they are.
TEST_F(QtBackendTest, OnlyATransparentCanvasLetsTheWindowShowThroughItsPicture) {
  auto picture = std::make_shared<fw::Picture>(3, 1);
  picture->Data()[0] = 0x00C08040;  // opaque
  picture->Data()[1] = 0xFFC08040;  // fully transparent
  picture->Data()[2] = 0x80C08040;  // half
  TestWindow& w = Make(nullptr, [&](TestWindow& win) {
    for (bool transparent : {false, true}) {
      auto* canvas = win.New<fw::Canvas>();
      win.AddControl(transparent ? "Transparent" : "Opaque", canvas);
      canvas->Top = transparent ? 10 : 0;
      canvas->Width = 3;
      canvas->Height = 1;
      canvas->Transparent = transparent;
      canvas->Backdrop = picture;
    }
  });
  w.HasBackColor = true;
  w.BackColor = fw::Color(0x204060);
  const QImage shot = Grab(w);
  for (int x = 0; x < 3; ++x) EXPECT_EQ(shot.pixel(x, 0) & 0xFFFFFF, 0xC08040u) << x;
  EXPECT_EQ(shot.pixel(0, 10) & 0xFFFFFF, 0xC08040u);
  EXPECT_EQ(shot.pixel(1, 10) & 0xFFFFFF, 0x204060u);
  const QColor half(shot.pixel(2, 10));
  EXPECT_NEAR(half.red(), (0xC0 + 0x20) / 2, 2);
  EXPECT_NEAR(half.green(), (0x80 + 0x40) / 2, 2);
  EXPECT_NEAR(half.blue(), (0x40 + 0x60) / 2, 2);
}

TEST_F(QtBackendTest, ControlsOnACanvasAreClippedToItAndHiddenWithIt) {
  TestWindow& w = Make(nullptr, [](TestWindow& win) {
    auto* viewer = win.New<fw::Canvas>();
    win.AddControl("Viewer", viewer);
    viewer->Width = viewer->Height = 100;
    auto* bg = win.New<fw::Rectangle>();
    win.AddControl("LocationBG", bg);
    bg->InitialParent = "Viewer";
    bg->Left = 10;
    bg->Top = 90;
    bg->Width = 50;
    bg->Height = 30;
    bg->BorderWidth = 1;
    bg->FillColor = fw::Color(0xFF0000);
    bg->TopLeftColor = fw::Color(0x0000FF);
    bg->BottomRightColor = fw::Color(0x00FF00);
    auto* swatch = win.New<fw::Rectangle>();
    win.AddControl("Swatch", swatch);
    swatch->Left = 3;
    swatch->Top = 204;
    swatch->Width = swatch->Height = 43;
    swatch->BorderWidth = 1;
    swatch->FillColor = fw::Color(0xFF0000);
    swatch->TopLeftColor = fw::Color(0x0000FF);
    swatch->BottomRightColor = fw::Color(0x00FF00);
  });
  w.HasBackColor = true;
  w.BackColor = fw::Color(0xFFFFFF);
  QImage shot = Grab(w);
  EXPECT_EQ(shot.pixel(3, 204) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(shot.pixel(45, 246) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(shot.pixel(20, 220) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(shot.pixel(20, 95) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(shot.pixel(20, 105) & 0xFFFFFF, 0xFFFFFFu) << "outside the canvas it lies on";

  static_cast<fw::RectControl*>(w.ControlByName("Viewer"))->Visible = false;
  shot = Grab(w);
  EXPECT_EQ(shot.pixel(20, 95) & 0xFFFFFF, 0xFFFFFFu) << "hidden with its canvas";
}

TEST_F(QtBackendTest, LabelDrawsInsideItsRectangleAndTakesPresses) {
  std::vector<std::tuple<int, int>> presses;
  TestWindow& w = Make(nullptr, [&](TestWindow& win) {
    auto* link = win.New<fw::Label>();
    win.AddControl("AboutURL", link);
    link->Left = 40;
    link->Top = 100;
    link->Width = 60;
    link->Height = 16;
    link->Text = "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
    link->TextSize = 12;
    link->TextAlign = 1;
    link->TextColor = fw::Color(0x0000FF);
    link->Underline = true;
    link->MouseDown = [&](fw::Label&, int32_t x, int32_t y) { return presses.emplace_back(x, y), false; };
  });
  w.HasBackColor = true;
  w.BackColor = fw::Color(0xFFFFFF);
  const QImage shot = Grab(w);
  int inked = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) {
      const QRgb p = shot.pixel(x, y) & 0xFFFFFF;
      if (p == 0xFFFFFF) continue;
      ASSERT_TRUE(x >= 40 && x < 100 && y >= 100 && y < 116) << "ink outside the label at " << x << "," << y;
      EXPECT_GT(qBlue(p), qRed(p)) << "blue text";
      ++inked;
    }
  EXPECT_GT(inked, 50);

  QMouseEvent press(QEvent::MouseButtonPress, QPointF(45, 107), QPointF(45, 107), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&NativeOf(w).Content(), &press);
  ASSERT_EQ(presses.size(), 1u);
  EXPECT_EQ(presses[0], std::make_tuple(5, 7));
}

TEST_F(QtBackendTest, CanvasHearsThePointerComeAndGoAlsoOverWhatLiesOnIt) {
  std::vector<std::string> events;
  TestWindow& w = Make(nullptr, [&](TestWindow& win) {
    auto* viewer = win.New<fw::Canvas>();
    win.AddControl("Viewer", viewer);
    viewer->Width = viewer->Height = 100;
    viewer->MouseEnter = [&](fw::Canvas&) { events.push_back("enter"); };
    viewer->MouseExit = [&](fw::Canvas&) { events.push_back("exit"); };
    auto* caption = win.New<fw::Label>();
    win.AddControl("LocLabel", caption);
    caption->InitialParent = "Viewer";
    caption->Left = 10;
    caption->Top = 80;
    caption->Width = 50;
    caption->Height = 20;
  });
  auto move = [&](QPointF at) {
    QMouseEvent event(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&NativeOf(w).Content(), &event);
  };
  move({50, 50});
  move({20, 90});  // over the caption, still on the canvas
  move({50, 150});
  move({50, 50});
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&NativeOf(w).Content(), &leave);
  EXPECT_EQ(events, (std::vector<std::string>{"enter", "exit", "enter", "exit"}));
}

}  // namespace

namespace {

TEST(QtArguments, PlatformAndDisplayAreReadAsQtReadsThem) {
  struct Case {
    std::vector<const char*> args;
    const char* platform;
    const char* display;
  };
  const Case cases[] = {
      {{"tintbeacon"}, "", ""},
      {{"tintbeacon", "-display", ":5"}, "", ":5"},
      {{"tintbeacon", "--display", ":6", "-platform", "xcb"}, "xcb", ":6"},
      {{"tintbeacon", "--platform", "offscreen"}, "offscreen", ""},
      {{"tintbeacon", "-display"}, "", ""},  // no value: Qt ignores it too
  };
  for (const Case& c : cases) {
    std::vector<char*> argv;
    for (const char* a : c.args) argv.push_back(const_cast<char*>(a));
    const fw::qt::QtArguments given = fw::qt::ReadQtArguments(int(argv.size()), argv.data());
    EXPECT_EQ(given.platform, c.platform);
    EXPECT_EQ(given.display, c.display);
  }
}

}  // namespace
