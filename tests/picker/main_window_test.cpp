// The picker window as it is just built: its properties, controls, timers
// and the single-instance accessor.
#include <gtest/gtest.h>

#include "app/MainMenuBar.h"
#include "framework/Exceptions.h"
#include "tests/picker/PickerFixture.h"

namespace picker_test {
namespace {

using WindowBuilt = PickerTest;

TEST_F(WindowBuilt, IsOneWindowMadeOnce) {
  EXPECT_EQ(Main::Main::Instance(), window_);
  EXPECT_EQ(fw::Window::GetImplicitWindow("Main.Main"), window_);
  EXPECT_EQ(backend_->Record(*window_).created, 1);
  EXPECT_EQ(window_->Controls().size(), 8u);
}

TEST_F(WindowBuilt, HoldsItsLayoutAndInitialValues) {
  Main::Main& w = *window_;
  EXPECT_EQ(w.MouseX, -999);
  EXPECT_EQ(w.MouseY, -999);
  EXPECT_EQ(w.LastName, "");
  EXPECT_FALSE(w.NowPlaying);
  EXPECT_EQ(w.MenuBar(), MainMenuBar::MainMenuBar::Instance());
  EXPECT_EQ(w.Width(), 201);
  EXPECT_EQ(w.Height(), 250);
  EXPECT_EQ(w.Title(), "Tintbeacon");
  EXPECT_TRUE(w.Visible());
  EXPECT_FALSE(w.Resizeable);
  EXPECT_FALSE(w.MaximizeButton);
  EXPECT_TRUE(w.MinimizeButton);
  EXPECT_TRUE(w.CloseButton);
  EXPECT_FALSE(w.FullScreenButton);
  EXPECT_FALSE(w.HasBackColor);
  EXPECT_EQ(w.BackColor, fw::Color(0xFFFFFF));
}

TEST_F(WindowBuilt, HasItsEightControlsInOrder) {
  struct Expected {
    const char* name;
    int32_t left, top, width, height;
    bool visible;
    int32_t tabIndex;
    const char* parent;
  };
  const Expected visual[] = {
      {"Viewer", 0, -1, 201, 201, true, 0, ""},
      {"LocationBG", 0, 182, 201, 18, false, 0, "Viewer"},
      {"LocLabel", 25, 181, 154, 20, false, 1, "Viewer"},
      {"CurrentColorRect", 3, 204, 43, 43, true, 1, ""},
      {"ColorLabel", 41, 204, 160, 20, true, 2, ""},
      {"NameLabel", 43, 225, 160, 20, true, 3, ""},
  };
  std::vector<std::string> order;
  for (fw::Control* c : window_->Controls()) order.push_back(c->Name);
  EXPECT_EQ(order, (std::vector<std::string>{"Viewer", "LocationBG", "LocLabel", "GetPicture", "CurrentColorRect",
                                             "ColorLabel", "NameLabel", "SayColor"}));
  for (const Expected& e : visual) {
    SCOPED_TRACE(e.name);
    auto* c = dynamic_cast<fw::RectControl*>(window_->ControlByName(e.name));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Name, e.name);
    EXPECT_EQ(c->Index, INT32_MIN);
    EXPECT_EQ(c->Left, e.left);
    EXPECT_EQ(c->Top, e.top);
    EXPECT_EQ(c->Width, e.width);
    EXPECT_EQ(c->Height, e.height);
    EXPECT_EQ(c->Visible, e.visible);
    EXPECT_EQ(c->TabIndex, e.tabIndex);
    EXPECT_EQ(c->InitialParent, e.parent);
    EXPECT_TRUE(c->Enabled);
    EXPECT_TRUE(c->LockLeft && c->LockTop && !c->LockRight && !c->LockBottom);
  }
}

TEST_F(WindowBuilt, ControlsHoldTheirStoredAndCodeSetValues) {
  EXPECT_EQ(window_->LocLabel()->TextSize, 11.0f);
  EXPECT_EQ(window_->ColorLabel()->TextSize, 12.0f);
  EXPECT_EQ(window_->NameLabel()->TextSize, 12.0f);
  for (fw::Label* label : {window_->LocLabel(), window_->ColorLabel(), window_->NameLabel()}) {
    SCOPED_TRACE(label->Name);
    EXPECT_EQ(label->Text, "");
    EXPECT_EQ(label->TextUnit, 0);
    EXPECT_EQ(label->TextAlign, 1);
    EXPECT_EQ(label->TextFont, "System");
    EXPECT_EQ(label->TextColor, fw::Color(0x000000));
    EXPECT_FALSE(label->Bold || label->Italic || label->Underline || label->MultiLine || label->Selectable ||
                 label->Transparent);
  }
  fw::Rectangle* swatch = window_->CurrentColorRect();
  EXPECT_EQ(swatch->FillColor, fw::Color(0xFFFFFF));
  EXPECT_EQ(swatch->BorderWidth, 1);
  EXPECT_EQ(swatch->TopLeftColor, fw::Color(0x000000));
  EXPECT_EQ(swatch->BottomRightColor, fw::Color(0x000000));
  EXPECT_EQ(window_->LocationBG()->BorderWidth, 0);
  fw::Canvas* viewer = window_->Viewer();
  EXPECT_EQ(viewer->Backdrop, nullptr);
  EXPECT_TRUE(viewer->EraseBackground);
  EXPECT_FALSE(viewer->Transparent || viewer->DoubleBuffer || viewer->AcceptFocus || viewer->AcceptTabs);
}

TEST_F(WindowBuilt, CaptureTimerRunsAndSpeechTimerIsOff) {
  fw::Timer* capture = window_->GetPicture();
  EXPECT_EQ(capture->Period(), 128);
  EXPECT_EQ(capture->Mode(), fw::Timer::ModeMultiple);
  EXPECT_TRUE(backend_->TimerScheduled(*capture));
  EXPECT_EQ(backend_->TimerPeriod(*capture), 128);
  fw::Timer* speech = window_->SayColor();
  EXPECT_EQ(speech->Period(), 2000);
  EXPECT_EQ(speech->Mode(), fw::Timer::ModeOff);
  EXPECT_FALSE(backend_->TimerScheduled(*speech));
}

TEST_F(WindowBuilt, CaptureTimerDrivesTheTick) {
  backend_->SetMouse(300, 200);
  backend_->Advance(127);
  EXPECT_EQ(window_->MouseX, -999);
  backend_->Advance(1);
  EXPECT_EQ(window_->MouseX, 300);
  EXPECT_EQ(window_->MouseY, 200);
  EXPECT_NE(View(), nullptr);
}

TEST(MainControlAccessors, RaiseNilObjectExceptionWithoutTheControl) {
  Main::Main bare;
  EXPECT_THROW(bare.Viewer(), fw::NilObjectException);
  EXPECT_THROW(bare.SayColor(), fw::NilObjectException);
  EXPECT_THROW(bare.NameLabel(), fw::NilObjectException);
}

}  // namespace
}  // namespace picker_test
