// What a window shows is compared in place at every tick: each change that
// shows must be seen once, and nothing else.
#include "ShownState.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "Canvas.h"
#include "Graphics.h"
#include "Label.h"
#include "Picture.h"
#include "Rectangle.h"
#include "TestSupport.h"
#include "Window.h"

namespace {

class ThreeControls : public fw::Window {
 public:
  void Event_CreateControls() override {
    AddControl("Label", label = New<fw::Label>());
    AddControl("Box", box = New<fw::Rectangle>());
    AddControl("Canvas", canvas = New<fw::Canvas>());
    canvas->Backdrop = std::make_shared<fw::Picture>(4, 4);
  }
  fw::Label* label = nullptr;
  fw::Rectangle* box = nullptr;
  fw::Canvas* canvas = nullptr;
};

TEST(ShownState, SeesEachChangeThatShowsOnce) {
  struct Case {
    const char* what;
    std::function<void(ThreeControls&)> change;
  } cases[] = {
      {"a label's text", [](ThreeControls& w) { w.label->Text = "RGB : 1, 2, 3, a text longer than a short one"; }},
      {"a label's size", [](ThreeControls& w) { w.label->TextSize = 11.0f; }},
      {"a label's colour", [](ThreeControls& w) { w.label->TextColor = fw::Color(0x123456); }},
      {"a hidden control", [](ThreeControls& w) { w.box->Visible = false; }},
      {"a moved control", [](ThreeControls& w) { w.box->Left = 7; }},
      {"a fill colour", [](ThreeControls& w) { w.box->FillColor = fw::Color(0xFF0000); }},
      {"a new backdrop", [](ThreeControls& w) { w.canvas->Backdrop = std::make_shared<fw::Picture>(4, 4); }},
      {"no backdrop", [](ThreeControls& w) { w.canvas->Backdrop = nullptr; }},
      {"a backdrop drawn into", [](ThreeControls& w) { w.canvas->Backdrop->Graphics().FillRect(0, 0, 1, 1); }},
      {"a transparent canvas", [](ThreeControls& w) { w.canvas->Transparent = true; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fw::InstallTestBackend();
    auto* window = new ThreeControls;
    window->Constructor("ThreeControls");
    fw::qt::ShownState shown;
    EXPECT_TRUE(shown.Update(*window)) << "the first look";
    EXPECT_FALSE(shown.Update(*window));
    c.change(*window);
    EXPECT_TRUE(shown.Update(*window));
    EXPECT_FALSE(shown.Update(*window));
  }
  fw::ResetFrameworkForTests();
}

TEST(ShownState, SetsThatChangeNothingAreNotChanges) {
  fw::InstallTestBackend();
  auto* window = new ThreeControls;
  window->Constructor("ThreeControls");
  window->label->Text = "Vivid Red";
  fw::qt::ShownState shown;
  shown.Update(*window);
  window->label->Text = std::string("Vivid ") + "Red";
  window->box->FillColor = window->box->FillColor;
  EXPECT_FALSE(shown.Update(*window));
  fw::ResetFrameworkForTests();
}

}  // namespace
