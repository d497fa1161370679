#pragma once
#include <string>

// The picker window's stored layout: one PropertyStream for the window and
// one for each of its eight controls, encoded once on first use.
namespace MainLayout {

const std::string& Window();
const std::string& Viewer();
const std::string& LocationBG();
const std::string& LocLabel();
const std::string& GetPicture();
const std::string& CurrentColorRect();
const std::string& ColorLabel();
const std::string& NameLabel();
const std::string& SayColor();

}  // namespace MainLayout
