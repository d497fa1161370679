// Every text the windows and the menus show, in English and in Japanese,
// drawn by the desktop backend's own painter in the faces it chooses: it
// fits the part of its label that shows, Latin text is set in the Latin face
// and Japanese text in the Japanese face, and no glyph is missing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGlyphRun>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "ControlPainter.h"
#include "FontTable.h"
#include "MenuBarBuilder.h"
#include "app/AboutWindow.h"
#include "color/ColorNames.h"
#include "framework/Text.h"

namespace {

// Qt on its offscreen platform for the length of a test.
class OffscreenQt {
 public:
  OffscreenQt() {
    if (!QApplication::instance()) app_ = std::make_unique<QApplication>(argc_, argv_);
  }

 private:
  int argc_ = 3;
  char name_[10] = "app_tests", option_[10] = "-platform", platform_[10] = "offscreen";
  char* argv_[4] = {name_, option_, platform_, nullptr};
  std::unique_ptr<QApplication> app_;
};

// Every name the colour tables can build, a superset of what ColorToName and
// ColorToNameJ return: every tone with every hue (pure colours included),
// every tint with every grey, and every grey alone.
std::set<std::string> AllNames(const char* ColorExchange::NameTexts::*column) {
  using namespace ColorExchange;
  std::set<const NameTexts*> tones, hues, tints, grays;
  for (int l = 0; l <= 100; ++l) {
    grays.insert(&GrayName(l));
    for (int s = 14; s <= 100; ++s) tones.insert(&ToneName(l, s));
  }
  for (int sector = 1; sector <= 61; ++sector)
    for (int r : {0, 128, 255})
      for (int g : {0, 128, 255})
        for (int b : {0, 128, 255}) hues.insert(&HueName(sector, r, g, b));
  for (int sector = 1; sector <= 11; ++sector) tints.insert(&TintName(sector));
  std::set<std::string> names;
  for (const NameTexts* tone : tones)
    for (const NameTexts* hue : hues) names.insert(std::string(tone->*column) + hue->*column);
  for (const NameTexts* gray : grays) {
    names.insert(gray->*column);
    for (const NameTexts* tint : tints) names.insert(std::string(tint->*column) + gray->*column);
  }
  return names;
}

bool IsJapanese(QChar c) { return c.unicode() >= 0x3000; }

// Each character of text is drawn from a real glyph: a Latin one from the
// first family of the face's list (the face or its stand-in), a Japanese one
// from the list's Japanese face, its last.
void ExpectGlyphs(const QFont& font, const std::string& face, const QString& text) {
  const QStringList families = fw::qt::FontFamilies(face);
  // A font is known by its name table: the family name Qt gives may be
  // localised or not, depending on how the font was reached.
  const auto fontOf = [&font](const QString& family) {
    QFont single(font);
    single.setFamilies({family});
    return QRawFont::fromFont(single);
  };
  const QRawFont latin = fontOf(families.front()), japanese = fontOf(families.back());
  for (QChar c : text) {
    if (c.isSpace()) continue;
    const std::string character = QString(c).toStdString();
    QTextLayout layout(QString(c), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
      const QRawFont& want = IsJapanese(c) ? japanese : latin;
      EXPECT_EQ(run.rawFont().fontTable("name"), want.fontTable("name"))
          << "'" << character << "' of " << text.toStdString() << " in " << run.rawFont().familyName().toStdString()
          << ", not " << want.familyName().toStdString();
      for (quint32 glyph : run.glyphIndexes())
        EXPECT_NE(glyph, 0u) << "no glyph for '" << character << "' of " << text.toStdString();
    }
  }
}

// The part of a label that shows: its box within the window and within the
// control it lies on.
QRect Shown(fw::Window& window, const fw::Label& label) {
  QRect area = fw::qt::ControlRect(label) & QRect(0, 0, window.Width(), window.Height());
  if (!label.InitialParent.empty())
    area &= fw::qt::ControlRect(dynamic_cast<fw::RectControl&>(*window.ControlByName(label.InitialParent)));
  return area;
}

// Where the label's text puts ink, in window coordinates, painted by the
// backend without clipping; empty when it puts none.
QRect Ink(const fw::Label& label) {
  const QRect box = fw::qt::ControlRect(label);
  const int pad = box.width();
  QImage image(box.width() + 2 * pad, box.height() + 2 * pad, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.translate(pad - box.left(), pad - box.top());
  fw::qt::PaintControl(painter, label);
  painter.end();
  QRect ink;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
  return ink.translated(box.left() - pad, box.top() - pad);
}

// The ink lies in the shown part, one point clear of its top and bottom and
// two clear of each side the text is not aligned to.
void ExpectFits(fw::Window& window, fw::Label& label, const std::string& text, float size) {
  label.Text = text;
  label.TextSize = size;
  SCOPED_TRACE(label.Name + " \"" + text + "\" at " + std::to_string(int(size)));
  const int left = label.TextAlign == 0 ? 0 : 2, right = label.TextAlign == 2 ? 0 : 2;
  const QRect ink = Ink(label), room = Shown(window, label).adjusted(left, 1, -right, -1);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_TRUE(room.contains(ink)) << "ink " << ink.left() << ".." << ink.right() << " x " << ink.top() << ".."
                                  << ink.bottom() << ", room " << room.left() << ".." << room.right() << " x "
                                  << room.top() << ".." << room.bottom();
  ExpectGlyphs(fw::qt::LabelFont(label), label.TextFont, QString::fromStdString(text));
}

struct Language {
  const char* code;    // the names' language
  const char* locale;  // LANG, which picks the menus' and the About window's texts
};

void PrintTo(const Language& language, std::ostream* out) { *out << language.code; }

class TextFit : public apptest::AppTest, public ::testing::WithParamInterface<Language> {
 protected:
  OffscreenQt qt_;
  apptest::EnvOverride all_{"LC_ALL", std::nullopt}, messages_{"LC_MESSAGES", std::nullopt},
      lang_{"LANG", GetParam().locale};
  bool japanese_ = std::string(GetParam().code) == "ja";
};

TEST_P(TextFit, EveryColourNameFitsTheNameLabel) {
  Main::Main& picker = *Main::Main::Instance();
  fw::Label& label = *picker.NameLabel();
  const auto names = AllNames(japanese_ ? &ColorExchange::NameTexts::japanese : &ColorExchange::NameTexts::english);
  ASSERT_GT(names.size(), 250u);
  for (const std::string& name : names) {
    // Long English names are set smaller: four words or more at 11.
    const float size = !japanese_ && fw::CountFields(name, " ") > 3 ? 11 : 12;
    ExpectFits(picker, label, name, size);
    if (HasFailure()) return;
  }
}

TEST_P(TextFit, ValueTextsAndTheCaptionFitTheirLabels) {
  Main::Main& picker = *Main::Main::Instance();
  // The widest each notation can give, and the farthest pointer position.
  for (const char* value : {"RGB : 255,255,255", "CMYK : 100,100,100,100", "HLS : 360,100,100"})
    ExpectFits(picker, *picker.ColorLabel(), value, 12);
  ExpectFits(picker, *picker.LocLabel(), "(32767, 32767)", 11);
}

TEST_P(TextFit, AboutTextsFitTheirLabels) {
  AboutWindow::AboutWindow& about = *AboutWindow::AboutWindow::Instance();
  EXPECT_EQ(about.AboutVersion()->Text, japanese_ ? "バージョン" : "version");
  for (fw::Label* label : {about.AboutName(), about.AboutVersion(), about.AboutVersionNumber(), about.CboutCopy(),
                           about.AboutURL()})
    ExpectFits(about, *label, label->Text, label->TextSize);
}

TEST_P(TextFit, MenuTextsHaveTheirGlyphsAndTheBarFitsTheWindows) {
  QMenuBar bar;
  fw::qt::BuildMenuBar(bar, [] { return MainMenuBar::MainMenuBar::Instance(); });
  bar.adjustSize();
  EXPECT_LE(bar.sizeHint().width(), 201) << "the picker window is 201 points wide";
  std::vector<QMenu*> menus;
  for (QAction* action : bar.actions()) {
    ExpectGlyphs(bar.font(), "System", action->text());
    if (action->menu()) menus.push_back(action->menu());
  }
  int items = 0;
  while (!menus.empty()) {
    QMenu* menu = menus.back();
    menus.pop_back();
    for (QAction* action : menu->actions()) {
      if (action->isSeparator()) continue;
      ++items;
      ExpectGlyphs(menu->font(), "System", action->text());
      ExpectGlyphs(menu->font(), "System", action->shortcut().toString(QKeySequence::NativeText));
      if (action->menu()) menus.push_back(action->menu());
    }
  }
  EXPECT_GE(items, 25);
  EXPECT_EQ(bar.actions().front()->text(), japanese_ ? "編集" : "Edit");
}

INSTANTIATE_TEST_SUITE_P(Languages, TextFit,
                         ::testing::Values(Language{"en", "C.UTF-8"}, Language{"ja", "ja_JP.UTF-8"}),
                         [](const auto& info) { return std::string(info.param.code); });

}  // namespace
