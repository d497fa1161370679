// A bounded random-input run of the preferences reader; the libFuzzer target
// in fuzz/ runs the same check for as long as one likes.
#include <gtest/gtest.h>

#include <random>

#include "PrefFileHarness.h"

namespace {

// Files built from pieces that matter to the reader: line ends, NULs,
// numbers, the texts it compares with, long runs and random bytes.
std::string RandomFile(std::mt19937& rng) {
  // Entry 3 stands for a NUL byte, which a C string cannot hold.
  static const char* const kPieces[] = {"\n", "\r\n", "\r", "", "0", "1", "-", "900",
                                        "1440", "ja", "en", "RGB", " ", "\xFF", "\xC3", ".", "99999999999"};
  std::uniform_int_distribution<int> pieceCount(0, 60), which(0, int(std::size(kPieces)) + 3), byte(0, 255);
  std::string file;
  for (int n = pieceCount(rng); n > 0; --n) {
    int w = which(rng);
    if (w < int(std::size(kPieces))) {
      file += w == 3 ? std::string(1, '\0') : kPieces[w];
    } else if (w == int(std::size(kPieces))) {
      file += std::string(size_t(byte(rng)) * 300, 'x');  // up to 76 KB, past the size limit
    } else {
      file.push_back(static_cast<char>(byte(rng)));
    }
  }
  return file;
}

TEST(PrefFileRandom, AnyBytesGiveAGoodFileAtTheNextQuit) {
  apptest::PrefFileHarness harness;
  std::mt19937 rng(20260101);
  for (int i = 0; i < 300; ++i) {
    std::string file = RandomFile(rng);
    ASSERT_EQ(harness.Check(file), "") << "input " << i << " of " << file.size() << " bytes";
  }
}

TEST(PrefFileRandom, SpecialFilesAreRefusedAtOnce) {
  apptest::PrefFileHarness harness;
  EXPECT_EQ(harness.CheckSpecialFiles(), "");
}

}  // namespace
