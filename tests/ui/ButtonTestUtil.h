// Pictures of the button and image tests, packed with the scene into one skin package that
// every test of the program loads (the package is process-wide), and small helpers around
// the framework's posted click messages.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "ButtonScene.h"
#include "ITessaly.h"
#include "PictureBytes.h"

namespace uitest {

constexpr DWORD kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00, kWhite = 0xFFFFFF;

// w x h of solid columns, each blockWidth wide, in the colours in turn (opaque).
inline std::string Columns(int blockWidth, int h, const std::vector<DWORD>& colors) {
  const int w = blockWidth * static_cast<int>(colors.size());
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px[static_cast<size_t>(y) * w + x] = 0xFF000000u | colors[x / blockWidth];
  return xtest::MakePng(w, h, px);
}

// The test pictures:
//   t\red40.png      40 x 20 red
//   t\strip4.png     64 x 16: four 16-pixel blocks red, green, blue, yellow
//   t\blocks3.png    30 x 10: three 10-pixel blocks red, green, blue
//   t\nine.png       12 x 12 of 4-pixel cells (xtest::Cell)
//   t\Red40.PNG      another path (case differs) with the same picture
//   t\red.bmp, t\red.gif, t\red.jpg (a JPEG in the file: the picture's signature decides)
//   t\red.txt        PNG bytes under an extension that is no picture
//   t\broken.png     not a picture
inline std::vector<skinpack::Entry> TestPictures() {
  const std::string red40 = Columns(40, 20, {kRed});
  std::vector<uint32_t> red(16 * 16, kRed);
  std::vector<uint8_t> indices(16 * 16, 1);
  return {
      {"t\\red40.png", red40},
      {"t\\Red40.PNG", red40},
      {"t\\strip4.png", Columns(16, 16, {kRed, kGreen, kBlue, kYellow})},
      {"t\\blocks3.png", Columns(10, 10, {kRed, kGreen, kBlue})},
      {"t\\nine.png", xtest::NineCellPng(4)},
      {"t\\red.bmp", xtest::MakeBmp(16, 16, red)},
      {"t\\red.gif", xtest::MakeGif(16, 16, {kWhite, kRed}, indices, -1)},
      {"t\\red.jpg", xtest::SampleJpeg()},
      {"t\\red.txt", red40},
      {"t\\broken.png", "\x89PNG but nothing more"},
  };
}

// Loads the scene and the test pictures as the skin package, once per process, and the
// scene's fonts and root class.
inline void LoadTestSkin() {
  static const bool loaded = [] {
    std::vector<skinpack::Entry> entries = SceneEntries();
    for (auto& e : TestPictures()) entries.push_back(e);
    AddSceneFonts();
    RegisterSceneRoot();
    return LoadSkinEntries(entries);
  }();
  ASSERT_TRUE(loaded);
}

// Click messages (494) among posted messages.
inline int Clicks(const std::vector<MSG>& posted) {
  int n = 0;
  for (const MSG& m : posted) n += m.message == XWM_LBUTTONCLICK;
  return n;
}

}  // namespace uitest
