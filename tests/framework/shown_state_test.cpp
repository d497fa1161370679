// What a window shows is compared in place at every tick: each change that
// shows must be seen once, where it shows, and nothing else.
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

// Three controls apart from each other.
class ThreeControls : public fw::Window {
 public:
  void Event_CreateControls() override {
    AddControl("Label", label = New<fw::Label>());
    AddControl("Box", box = New<fw::Rectangle>());
    AddControl("Canvas", canvas = New<fw::Canvas>());
    label->Left = 0, label->Top = 0, label->Width = 50, label->Height = 20;
    box->Left = 0, box->Top = 30, box->Width = 20, box->Height = 20;
    canvas->Left = 60, canvas->Top = 0, canvas->Width = 30, canvas->Height = 30;
    canvas->Backdrop = std::make_shared<fw::Picture>(4, 4);
  }
  fw::Label* label = nullptr;
  fw::Rectangle* box = nullptr;
  fw::Canvas* canvas = nullptr;
};

const QRect kWhole(0, 0, 100, 100);
const QRect kLabel(0, 0, 50, 20), kBox(0, 30, 20, 20), kCanvas(60, 0, 30, 30);

TEST(ShownState, SeesEachChangeOnceWhereItShows) {
  struct Case {
    const char* what;
    std::function<void(ThreeControls&)> change;
    QRegion where;
  } cases[] = {
      {"a label's text", [](ThreeControls& w) { w.label->Text = "RGB : 1, 2, 3, a text longer than a short one"; },
       kLabel},
      {"a label's size", [](ThreeControls& w) { w.label->TextSize = 11.0f; }, kLabel},
      {"a label's colour", [](ThreeControls& w) { w.label->TextColor = fw::Color(0x123456); }, kLabel},
      {"a hidden control", [](ThreeControls& w) { w.box->Visible = false; }, kBox},
      {"a moved control", [](ThreeControls& w) { w.box->Left = 70; }, QRegion(kBox) + kBox.translated(70, 0)},
      {"a fill colour", [](ThreeControls& w) { w.box->FillColor = fw::Color(0xFF0000); }, kBox},
      {"a new backdrop", [](ThreeControls& w) { w.canvas->Backdrop = std::make_shared<fw::Picture>(4, 4); }, kCanvas},
      {"no backdrop", [](ThreeControls& w) { w.canvas->Backdrop = nullptr; }, kCanvas},
      {"a backdrop drawn into", [](ThreeControls& w) { w.canvas->Backdrop->Graphics().FillRect(0, 0, 1, 1); },
       kCanvas},
      {"a transparent canvas", [](ThreeControls& w) { w.canvas->Transparent = true; }, kCanvas},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fw::InstallTestBackend();
    auto* window = new ThreeControls;
    window->Constructor("ThreeControls");
    fw::qt::ShownState shown;
    EXPECT_EQ(shown.Update(*window, kWhole), QRegion(kWhole)) << "the first look";
    EXPECT_TRUE(shown.Update(*window, kWhole).isEmpty());
    c.change(*window);
    EXPECT_EQ(shown.Update(*window, kWhole), c.where);
    EXPECT_TRUE(shown.Update(*window, kWhole).isEmpty());
  }
  fw::ResetFrameworkForTests();
}

TEST(ShownState, SetsThatChangeNothingAreNotChanges) {
  fw::InstallTestBackend();
  auto* window = new ThreeControls;
  window->Constructor("ThreeControls");
  window->label->Text = "Vivid Red";
  fw::qt::ShownState shown;
  shown.Update(*window, kWhole);
  window->label->Text = std::string("Vivid ") + "Red";
  window->box->FillColor = window->box->FillColor;
  EXPECT_TRUE(shown.Update(*window, kWhole).isEmpty());
  fw::ResetFrameworkForTests();
}

}  // namespace
