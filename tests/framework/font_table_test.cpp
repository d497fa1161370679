// The one table of faces and their stand-ins, on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QGuiApplication>

#include "FontTable.h"

namespace {

TEST(FontTable, AFaceDrawsItselfWhereInstalledElseItsStandIn) {
  int argc = 3;
  char name[] = "framework_tests", option[] = "-platform", platform[] = "offscreen";
  char* argv[] = {name, option, platform, nullptr};
  QGuiApplication app(argc, argv);

  const QStringList system = fw::qt::FontFamilies("System");
  ASSERT_EQ(system.size(), 2);
  for (const char* face : {"System", "Rockwell"}) {
    for (const QString& family : fw::qt::FontFamilies(face))
      EXPECT_TRUE(QFontDatabase::hasFamily(family)) << face << ": " << family.toStdString() << " is not installed";
  }
  EXPECT_EQ(fw::qt::FontFamilies("No Such Face"), system);
  EXPECT_EQ(fw::qt::FontFamilies("Liberation Serif"), QStringList{"Liberation Serif"} + system);
  // Rockwell itself or its stand-in, then the desktop's faces.
  EXPECT_EQ(fw::qt::FontFamilies("Rockwell").mid(1), system);
}

}  // namespace
