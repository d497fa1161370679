#include <gtest/gtest.h>
#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <vector>

#include "Exceptions.h"
#include "FolderItem.h"
#include "Graphics.h"
#include "Picture.h"
#include "Png.h"
#include "ScratchFolder.h"
#include "support/ClaimedSizePng.h"

namespace {

using fw::Color;
using fw::Picture;

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kInk = 0x123456;

// Every pixel of picture against expected(x, y); reports the first mismatch.
void ExpectPixels(const Picture& picture, const std::function<uint32_t(int, int)>& expected) {
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      ASSERT_EQ(picture.PixelAt(x, y).RGB(), expected(x, y)) << "at (" << x << ", " << y << ")";
    }
  }
}

// A picture whose every pixel differs from the others.
std::shared_ptr<Picture> Numbered(int width, int height) {
  auto picture = std::make_shared<Picture>(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture->SetPixelAt(x, y, Color(uint32_t(0x10000 * x + y + 1)));
  }
  return picture;
}

TEST(Picture, StartsWhiteAndKeepsOneGraphics) {
  Picture picture(3, 2);
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(picture.Height(), 2);
  ExpectPixels(picture, [](int, int) { return kWhite; });
  EXPECT_EQ(&picture.Graphics(), &picture.Graphics());
}

struct RectCase {
  int x, y, width, height;
};

TEST(Graphics, FillRectIsClippedToThePicture) {
  const RectCase cases[] = {
      {1, 1, 3, 2},     {-2, -1, 4, 3},  {5, 3, 10, 10}, {-100, -100, 300, 300},
      {8, 0, 2, 2},     {0, 6, 2, 2},    {2, 2, 0, 3},   {2, 2, 3, -1},
      {-2147483647, -2147483647, 2147483647, 2147483647},
  };
  for (const RectCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << "," << c.width << "," << c.height);
    Picture picture(8, 6);
    picture.Graphics().ForeColor = Color(kInk);
    picture.Graphics().FillRect(c.x, c.y, c.width, c.height);
    ExpectPixels(picture, [&](int x, int y) {
      bool inside = x >= int64_t(c.x) && x < int64_t(c.x) + c.width && y >= int64_t(c.y) &&
                    y < int64_t(c.y) + c.height;
      return inside ? kInk : kWhite;
    });
  }
}

TEST(Graphics, DrawLineIncludesBothEnds) {
  // The crosshair's four lines on the view picture.
  Picture picture(202, 202);
  fw::Graphics& g = picture.Graphics();
  g.ForeColor = Color(kInk);
  g.DrawLine(101, 0, 101, 99);
  g.DrawLine(101, 103, 101, 201);
  g.DrawLine(0, 101, 99, 101);
  g.DrawLine(103, 101, 201, 101);
  ExpectPixels(picture, [](int x, int y) {
    bool vertical = x == 101 && (y <= 99 || y >= 103);
    bool horizontal = y == 101 && (x <= 99 || x >= 103);
    return vertical || horizontal ? kInk : kWhite;
  });
}

TEST(Graphics, DrawLineDiagonalsAndSinglePoints) {
  Picture picture(6, 6);
  fw::Graphics& g = picture.Graphics();
  g.ForeColor = Color(kInk);
  g.DrawLine(0, 0, 5, 5);
  g.DrawLine(5, 0, 5, 0);
  ExpectPixels(picture, [](int x, int y) { return x == y || (x == 5 && y == 0) ? kInk : kWhite; });

  // A shallow line steps once per two columns and ends on its end points.
  Picture shallow(5, 3);
  shallow.Graphics().ForeColor = Color(kInk);
  shallow.Graphics().DrawLine(0, 0, 4, 2);
  EXPECT_EQ(shallow.PixelAt(0, 0).RGB(), kInk);
  EXPECT_EQ(shallow.PixelAt(4, 2).RGB(), kInk);
  int inked = 0;
  for (int x = 0; x < 5; ++x) {
    int column = 0;
    for (int y = 0; y < 3; ++y) column += shallow.PixelAt(x, y).RGB() == kInk;
    EXPECT_EQ(column, 1) << "column " << x;
    inked += column;
  }
  EXPECT_EQ(inked, 5);
}

TEST(Graphics, ClippingDoesNotBendALine) {
  // A line on a small picture has exactly the pixels the same line has on a
  // larger picture that holds it whole.
  const int lines[][4] = {{-7, -3, 25, 14}, {30, -5, -4, 22}, {3, -12, 9, 40}, {-10, 8, 31, 8},
                          {12, 30, 12, -9}, {-5, 25, 25, -5}, {19, 2, 2, 19}};
  constexpr int kOffset = 15;
  for (const auto& l : lines) {
    SCOPED_TRACE(testing::Message() << l[0] << "," << l[1] << " - " << l[2] << "," << l[3]);
    Picture small(20, 20), large(50, 60);
    small.Graphics().ForeColor = large.Graphics().ForeColor = Color(kInk);
    small.Graphics().DrawLine(l[0], l[1], l[2], l[3]);
    large.Graphics().DrawLine(l[0] + kOffset, l[1] + kOffset, l[2] + kOffset, l[3] + kOffset);
    ExpectPixels(small, [&](int x, int y) { return large.PixelAt(x + kOffset, y + kOffset).RGB(); });
  }
}

TEST(Graphics, DrawLineWithFarEndsFinishes) {
  Picture picture(10, 10);
  fw::Graphics& g = picture.Graphics();
  g.ForeColor = Color(kInk);
  g.DrawLine(-2147483647, 4, 2147483647, 4);
  g.DrawLine(-2147483647, -2147483647, 2147483647, 2147483647);
  ExpectPixels(picture, [](int x, int y) { return y == 4 || x == y ? kInk : kWhite; });
}

TEST(Graphics, PixelOutsideIsBlack) {
  Picture picture(4, 4);
  EXPECT_EQ(picture.Graphics().Pixel(3, 3).RGB(), kWhite);
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 4}, {-2147483647, 2147483647}}) {
    EXPECT_EQ(picture.Graphics().Pixel(x, y).RGB(), 0u) << x << "," << y;
  }
}

struct DrawCase {
  const char* name;
  int x, y, destWidth, destHeight, sourceX, sourceY, sourceWidth, sourceHeight;
};

TEST(Graphics, DrawPictureScalesByNearestNeighbour) {
  constexpr int kOmit = fw::Graphics::OmittedSize;
  auto source = Numbered(10, 8);
  const DrawCase cases[] = {
      {"own size, all omitted", 2, 1, kOmit, kOmit, 0, 0, kOmit, kOmit},
      {"twice enlarged", 0, 0, 20, 16, 0, 0, 10, 8},
      {"twice, shifted in", 3, 5, 20, 16, 0, 0, 10, 8},
      {"twice, negative offset", -7, -3, 20, 16, 0, 0, 10, 8},
      {"omitted destination, part of the source", 1, 1, kOmit, kOmit, 2, 3, 5, 4},
      {"three to two", 0, 0, 6, 4, 0, 0, 9, 6},
      {"source reaching past the picture", 0, 0, 12, 12, 4, 4, 12, 12},
      {"negative source origin", 0, 0, 8, 8, -2, -2, 8, 8},
      {"lying wholly outside", 30, 30, 20, 16, 0, 0, 10, 8},
      {"zero destination", 0, 0, 0, 16, 0, 0, 10, 8},
      {"negative source size", 0, 0, 10, 8, 0, 0, -10, 8},
  };
  for (const DrawCase& c : cases) {
    SCOPED_TRACE(c.name);
    Picture view(24, 20);
    view.Graphics().DrawPicture(*source, c.x, c.y, c.destWidth, c.destHeight, c.sourceX, c.sourceY,
                                c.sourceWidth, c.sourceHeight);
    int dw = c.destWidth == kOmit ? 10 : c.destWidth, dh = c.destHeight == kOmit ? 8 : c.destHeight;
    int sw = c.sourceWidth == kOmit ? 10 : c.sourceWidth, sh = c.sourceHeight == kOmit ? 8 : c.sourceHeight;
    ExpectPixels(view, [&](int x, int y) {
      int i = x - c.x, j = y - c.y;
      if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || i < 0 || j < 0 || i >= dw || j >= dh) return kWhite;
      int sx = c.sourceX + i * sw / dw, sy = c.sourceY + j * sh / dh;
      if (sx < 0 || sy < 0 || sx >= 10 || sy >= 8) return kWhite;
      return source->PixelAt(sx, sy).RGB();
    });
  }
}

TEST(Graphics, CaptureDrawnTwiceEnlargedPutsThePointerAtTheCentre) {
  // The capture tick's drawing: a 101 x 101 capture at twice its size, with
  // the offset 101 - 2 * 49 = 3 of a pointer at (49, 49).
  auto capture = Numbered(101, 101);
  Picture view(202, 202);
  view.Graphics().DrawPicture(*capture, 0, 0, 202, 202, 0, 0, 101, 101);
  EXPECT_EQ(view.Graphics().Pixel(100, 100), capture->PixelAt(50, 50));
  EXPECT_EQ(view.Graphics().Pixel(101, 101), capture->PixelAt(50, 50));
  EXPECT_EQ(view.Graphics().Pixel(201, 201), capture->PixelAt(100, 100));

  Picture shifted(202, 202);
  shifted.Graphics().DrawPicture(*capture, 3, 3, 202, 202, 0, 0, 101, 101);
  EXPECT_EQ(shifted.Graphics().Pixel(101, 101), capture->PixelAt(49, 49));
  EXPECT_EQ(shifted.Graphics().Pixel(2, 2).RGB(), kWhite);
}

TEST(Graphics, DrawPictureOntoItselfReadsTheOriginal) {
  auto picture = Numbered(6, 6);
  auto original = Numbered(6, 6);
  picture->Graphics().DrawPicture(*picture, 1, 1);
  ExpectPixels(*picture, [&](int x, int y) {
    return x >= 1 && y >= 1 ? original->PixelAt(x - 1, y - 1).RGB() : original->PixelAt(x, y).RGB();
  });
}

TEST(Png, RoundTripKeepsEveryBit) {
  // One stored block, two (a scale-2 capture), several, and the smallest.
  const std::pair<int, int> sizes[] = {{37, 23}, {202, 202}, {4000, 30}, {1, 1}};
  for (auto [width, height] : sizes) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    fwtest::ScratchFolder folder;
    Picture picture(width, height);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) picture.SetPixelAt(x, y, Color(random() & 0xFFFFFF));
    }
    std::string path = folder / "round trip.png";
    picture.Save(path);
    auto back = Picture::Open(fw::FolderItem(path));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->Width(), width);
    ASSERT_EQ(back->Height(), height);
    ExpectPixels(*back, [&](int x, int y) { return picture.PixelAt(x, y).RGB(); });
    // Nothing but the picture is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
  }
}

TEST(Png, SaveReplacesAnOldFileAndFailsCleanly) {
  fwtest::ScratchFolder folder;
  std::string path = folder / "p.png";
  fwtest::WriteFile(path, "old");
  Picture(2, 2).Save(path);
  EXPECT_TRUE(Picture::OpenPath(path));

  EXPECT_THROW(Picture(2, 2).Save(folder / "missing/p.png"), fw::IOException);
  EXPECT_THROW(Picture(0, 0).Save(folder / "empty.png"), fw::IOException);
  EXPECT_THROW(Picture(32769, 1).Save(folder / "too wide.png"), fw::IOException);
  EXPECT_THROW(fw::Png::Write(
                   4, 4, [](int32_t y, uint32_t*) { if (y == 2) throw std::runtime_error("no row"); },
                   folder / "failing rows.png"),
               std::runtime_error);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

// Writes a 3 x 2 PNG of the given colour type and depth from raw rows.
void WriteRawPng(const std::string& path, int colorType, int bitDepth, const std::vector<std::vector<uint8_t>>& rows,
                 bool interlaced = false, const std::vector<png_color>& palette = {},
                 const std::vector<uint8_t>& transparency = {}) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_TRUE(file);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, 3, png_uint_32(rows.size()), bitDepth, colorType,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
  if (!transparency.empty()) {
    png_set_tRNS(png, info, transparency.data(), int(transparency.size()), nullptr);
  }
  png_write_info(png, info);
  std::vector<png_bytep> pointers;
  for (const auto& row : rows) pointers.push_back(const_cast<png_bytep>(row.data()));
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

// Pixels come back whole: bits 24-31 hold 255 - alpha, 0 (opaque) where
// the file has no alpha.
TEST(Png, ReadsEveryColourTypeWithItsTransparency) {
  fwtest::ScratchFolder folder;
  struct Case {
    const char* name;
    int colorType, bitDepth;
    std::vector<std::vector<uint8_t>> rows;
    bool interlaced;
    std::vector<uint32_t> expected;  // 3 x 2, row by row
  };
  const std::vector<uint32_t> rgb = {0xFF0000, 0x00FF00, 0x0000FF, 0x010203, 0xFEFDFC, 0x808080};
  const Case cases[] = {
      {"rgb", PNG_COLOR_TYPE_RGB, 8,
       {{255, 0, 0, 0, 255, 0, 0, 0, 255}, {1, 2, 3, 254, 253, 252, 128, 128, 128}}, false, rgb},
      {"rgb interlaced", PNG_COLOR_TYPE_RGB, 8,
       {{255, 0, 0, 0, 255, 0, 0, 0, 255}, {1, 2, 3, 254, 253, 252, 128, 128, 128}}, true, rgb},
      {"rgba", PNG_COLOR_TYPE_RGBA, 8,
       {{255, 0, 0, 0, 0, 255, 0, 9, 0, 0, 255, 255}, {1, 2, 3, 255, 254, 253, 252, 1, 128, 128, 128, 0}},
       false, {0xFFFF0000, 0xF600FF00, 0x000000FF, 0x00010203, 0xFEFEFDFC, 0xFF808080}},
      {"16-bit rgb", PNG_COLOR_TYPE_RGB, 16,
       {{255, 255, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0, 0, 0, 255, 255},
        {1, 0, 2, 0, 3, 0, 254, 0, 253, 0, 252, 0, 128, 0, 128, 0, 128, 0}},
       false, rgb},
      {"grey", PNG_COLOR_TYPE_GRAY, 8, {{0, 128, 255}, {1, 2, 3}}, false,
       {0x000000, 0x808080, 0xFFFFFF, 0x010101, 0x020202, 0x030303}},
      {"2-bit grey", PNG_COLOR_TYPE_GRAY, 2, {{0b00011011}, {0b11100100}}, false,
       {0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF, 0xAAAAAA, 0x555555}},
      {"grey with alpha", PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{10, 0, 20, 128, 30, 255}, {40, 1, 50, 2, 60, 3}}, false,
       {0xFF0A0A0A, 0x7F141414, 0x001E1E1E, 0xFE282828, 0xFD323232, 0xFC3C3C3C}},
      {"16-bit grey with alpha", PNG_COLOR_TYPE_GRAY_ALPHA, 16,
       {{0, 0, 0, 0, 16, 0, 128, 0, 255, 255, 255, 255}, {0, 0, 1, 0, 0, 0, 255, 0, 0, 0, 0, 0}}, false,
       {0xFF000000, 0x7F101010, 0x00FFFFFF, 0xFE000000, 0x00000000, 0xFF000000}},
  };
  const auto expectWords = [](const Picture& picture, const std::vector<uint32_t>& expected) {
    ASSERT_EQ(picture.Width(), 3);
    ASSERT_EQ(picture.Height(), 2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(picture.PixelAt(i % 3, i / 3).value, expected[size_t(i)]) << "pixel " << i;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = folder / (std::string(c.name) + ".png");
    WriteRawPng(path, c.colorType, c.bitDepth, c.rows, c.interlaced);
    auto picture = Picture::OpenPath(path);
    ASSERT_TRUE(picture);
    expectWords(*picture, c.expected);
  }

  // Palette entries made transparent, wholly and in part, by tRNS; the
  // entries keep their own colours.
  std::string path = folder / "palette.png";
  WriteRawPng(path, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1, 2}, {2, 1, 0}}, false,
              {{255, 0, 0}, {0, 128, 0}, {9, 8, 7}}, {0, 64});
  auto picture = Picture::OpenPath(path);
  ASSERT_TRUE(picture);
  expectWords(*picture, {0xFFFF0000, 0xBF008000, 0x00090807, 0x00090807, 0xBF008000, 0xFFFF0000});

  // What the program draws is opaque.
  picture->Graphics().ForeColor = Color(0x123456);
  picture->Graphics().FillRect(0, 0, 1, 1);
  picture->Graphics().DrawLine(1, 0, 1, 1);
  expectWords(*picture, {0x00123456, 0x00123456, 0x00090807, 0x00090807, 0x00123456, 0xFFFF0000});
}

TEST(Png, DamagedFilesGiveNoPicture) {
  fwtest::ScratchFolder folder;
  Picture source(11, 7);
  source.Graphics().ForeColor = Color(kInk);
  source.Graphics().FillRect(2, 2, 5, 3);
  source.Save(folder / "good.png");
  const std::string good = fwtest::ReadFile(folder / "good.png");

  EXPECT_FALSE(Picture::OpenPath(folder / "missing.png"));
  EXPECT_FALSE(Picture::Open(fw::FolderItem(folder.Path())));  // a folder

  // Every shorter prefix of a good file, the empty file among them.
  for (size_t length = 0; length < good.size(); ++length) {
    std::string path = folder / "cut.png";
    fwtest::WriteFile(path, good.substr(0, length));
    EXPECT_FALSE(Picture::OpenPath(path)) << "cut at " << length << " of " << good.size();
  }

  std::string flipped = good;
  flipped[good.size() / 2] = char(flipped[good.size() / 2] ^ 0x40);
  // A valid header announcing 30000 x 30000 pixels: refused before anything
  // is allocated for it.
  std::string hugeHeader = good;
  for (int i : {16, 20}) hugeHeader.replace(size_t(i), 4, std::string("\0\0\x75\x30", 4));
  uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(hugeHeader.data() + 12), 17));
  for (int i = 0; i < 4; ++i) hugeHeader[size_t(29 + i)] = char(crc >> (24 - 8 * i));
  const std::pair<const char*, std::string> damaged[] = {
      {"garbage", std::string(300, '\x5A')},
      {"signature only", good.substr(0, 8) + std::string(100, '\0')},
      {"flipped bit in the image data", flipped},
      {"huge header", hugeHeader},
      {"text", "not a picture at all\n"},
  };
  for (const auto& [name, bytes] : damaged) {
    std::string path = folder / "damaged.png";
    fwtest::WriteFile(path, bytes);
    EXPECT_FALSE(Picture::OpenPath(path)) << name;
  }
}

// The limits refuse a picture from its header: a file that claims to be
// huge is refused as too large, not as damaged.
TEST(Picture, OpenWithLimitsRefusesALargerPictureBeforeDecodingIt) {
  fwtest::ScratchFolder folder;
  Numbered(20, 10)->Save(folder / "fits.png");
  std::string error;
  auto fits = Picture::Open(fw::FolderItem(folder / "fits.png"), 20, 10, error);
  ASSERT_TRUE(fits) << error;
  EXPECT_FALSE(Picture::Open(fw::FolderItem(folder / "fits.png"), 19, 10, error));
  EXPECT_EQ(error, "20 x 10 pixels, more than the 19 x 10 expected");
  EXPECT_FALSE(Picture::Open(fw::FolderItem(folder / "fits.png"), 20, 9, error));
  fwtest::WriteFile(folder / "huge.png", testfiles::ClaimedSizePng(8192, 8192));
  EXPECT_FALSE(Picture::Open(fw::FolderItem(folder / "huge.png"), 101, 101, error));
  EXPECT_EQ(error, "8192 x 8192 pixels, more than the 101 x 101 expected");
}

TEST(Png, RandomDamageNeverCrashes) {
  // Bytes changed anywhere: the reader refuses the file or gives a picture of
  // the size the header states; it never reads or writes out of bounds.
  fwtest::ScratchFolder folder;
  auto source = Numbered(13, 9);
  source->Save(folder / "good.png");
  const std::string good = fwtest::ReadFile(folder / "good.png");
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    std::string bytes = good;
    for (int k = 0; k < 1 + round % 4; ++k) bytes[random() % bytes.size()] = char(random());
    fwtest::WriteFile(folder / "mutated.png", bytes);
    if (auto picture = Picture::OpenPath(folder / "mutated.png")) {
      EXPECT_GT(picture->Width(), 0);
      EXPECT_GT(picture->Height(), 0);
    }
  }
}

}  // namespace
