// skinart: draws the default skin's pictures and the program icon. The committed files in
// skin/DefaultSkin/res and app/res are this program's output; --check regenerates them in
// memory and compares (within a small tolerance), so pictures and drawing code never drift.
//   skinart <skin-res-folder> <icon-file>          write every picture
//   skinart --check <skin-res-folder> <icon-file>  compare, exit 1 on any difference
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "Raster.h"

using namespace skinart;

namespace {

const float kPi = 3.14159265358979f;

// The palette: an indigo accent on cool greys.
const uint32_t kAccent = 0x4F46E5, kAccentHover = 0x4338CA, kAccentPush = 0x3730A3;
const uint32_t kAccentLight = 0x6366F1;
const uint32_t kIcon = 0x4B5563, kIconHover = 0x4F46E5;
const uint32_t kToolHover = 0xE8EBF6, kToolPush = 0xDADFEE;

// A strip of equal blocks side by side, one drawing function per block.
Canvas Strip(int blockW, int blockH, int blocks, const std::function<void(Canvas&, int)>& draw) {
  Canvas strip(blockW * blocks, blockH);
  for (int i = 0; i < blocks; ++i) {
    Canvas block(blockW, blockH);
    draw(block, i);
    strip.Blit(block, i * blockW, 0);
  }
  return strip;
}

// The bookmark ribbon of the logo and icon, in a box of size s at (x, y).
Shape Ribbon(float x, float y, float s) {
  auto X = [&](float f) { return x + f * s; };
  auto Y = [&](float f) { return y + f * s; };
  Shape body = Polygon({X(0.30f), Y(0.20f), X(0.70f), Y(0.20f), X(0.70f), Y(0.82f), X(0.50f), Y(0.66f), X(0.30f), Y(0.82f)});
  // Rounded top corners: the body cut to a rounded box that ends below the notch.
  return Intersect(body, RoundRect(X(0.30f), Y(0.20f), X(0.70f), Y(0.90f), 0.07f * s));
}

// Header band: a soft vertical indigo gradient, stretched across the window.
Canvas Header() {
  Canvas c(8, 52);
  c.Fill(RoundRect(-1, -1, 9, 53, 0), VerticalGradient(0, Hex(kAccentLight), 52, Hex(kAccent)));
  return c;
}

Canvas Logo() {
  Canvas c(28, 28);
  c.Fill(RoundRect(0.5f, 0.5f, 27.5f, 27.5f, 7), Hex(0xFFFFFF, 0.18f));
  c.Fill(Ribbon(2, 2, 24), Hex(0xFFFFFF));
  return c;
}

Shape Cross(float cx, float cy, float half) {
  return Union(Segment(cx - half, cy - half, cx + half, cy + half), Segment(cx - half, cy + half, cx + half, cy - half));
}

// Close buttons: normal, hover, pushed. Light: white glyph for the header; dark: for dialogs.
Canvas CloseButton(bool onAccent) {
  return Strip(28, 28, 3, [&](Canvas& c, int state) {
    if (state > 0) {
      Color bg = onAccent ? Hex(0xFFFFFF, state == 1 ? 0.18f : 0.30f) : Hex(state == 1 ? kToolHover : kToolPush);
      c.Fill(Circle(14, 14, 12), bg);
    }
    Color glyph = onAccent ? Hex(0xFFFFFF, state == 0 ? 0.85f : 1.0f) : Hex(state == 0 ? 0x6B7280 : 0x1F2937);
    c.Fill(Stroke(Cross(14, 14, 4.5f), 1.8f), glyph);
  });
}

// Toolbar buttons: a rounded highlight behind a line icon, in three states.
Canvas ToolButton(const std::function<Shape()>& icon) {
  return Strip(32, 32, 3, [&](Canvas& c, int state) {
    if (state == 1) c.Fill(RoundRect(1, 1, 31, 31, 8), Hex(kToolHover));
    if (state == 2) c.Fill(RoundRect(1, 1, 31, 31, 8), Hex(kToolPush));
    c.Fill(icon(), Hex(state == 0 ? kIcon : kIconHover));
  });
}

const float kLine = 1.7f;

Shape DesktopIcon() {
  Shape screen = Stroke(RoundRect(8, 8.5f, 24, 20.5f, 2.2f), kLine);
  Shape stand = Stroke(Segment(16, 21, 16, 24), kLine);
  Shape base = Stroke(Segment(12.5f, 24.5f, 19.5f, 24.5f), kLine);
  // A small "down" chevron on the screen: everything goes to the taskbar.
  Shape chevron = Stroke(Union(Segment(13.2f, 13.2f, 16, 16), Segment(16, 16, 18.8f, 13.2f)), kLine);
  return Union(Union(screen, stand), Union(base, chevron));
}

Shape AddFolderIcon() {
  Shape folder = Polygon({7.5f, 10, 13, 10, 15, 12, 24.5f, 12, 24.5f, 23.5f, 7.5f, 23.5f});
  Shape outline = Stroke(Intersect(folder, RoundRect(7.5f, 10, 24.5f, 23.5f, 1.8f)), kLine);
  Shape plus = Stroke(Union(Segment(16, 14.6f, 16, 21), Segment(12.8f, 17.8f, 19.2f, 17.8f)), kLine);
  return Union(outline, plus);
}

Shape DeleteIcon() {
  Shape lid = Stroke(Segment(8.5f, 10.5f, 23.5f, 10.5f), kLine);
  Shape handle = Stroke(Intersect(RoundRect(13, 7, 19, 13, 1.5f), RoundRect(12, 6, 20, 10.5f, 0)), kLine);
  Shape body = Stroke(Intersect(Polygon({10.2f, 10.5f, 21.8f, 10.5f, 20.8f, 24.5f, 11.2f, 24.5f}),
                                RoundRect(9, 9, 23, 24.5f, 1.8f)),
                      kLine);
  Shape bars = Stroke(Union(Segment(14, 14.5f, 14, 20.5f), Segment(18, 14.5f, 18, 20.5f)), kLine);
  return Union(Union(lid, handle), Union(body, bars));
}

// A gear centred at (cx, cy); k scales it from its 32-pixel toolbar size.
Shape Gear(float cx, float cy, float k) {
  Shape gear = Circle(cx, cy, 6.2f * k);
  for (int i = 0; i < 8; ++i) {
    float a = i * kPi / 4;
    gear = Union(gear, RotatedBox(cx + 7.0f * k * std::cos(a), cy + 7.0f * k * std::sin(a), 2.0f * k, 1.7f * k,
                                  0.6f * k, a));
  }
  return Union(Stroke(gear, kLine), Stroke(Circle(cx, cy, 2.6f * k), kLine));
}

Shape GearIcon() { return Gear(16, 16, 1); }

// The header's settings button, beside its close button: the same states on the accent band.
// It keeps the settings (and with them the toolbar) within reach while the toolbar is hidden.
Canvas HeaderSettingButton() {
  return Strip(28, 28, 3, [&](Canvas& c, int state) {
    if (state > 0) c.Fill(Circle(14, 14, 12), Hex(0xFFFFFF, state == 1 ? 0.18f : 0.30f));
    c.Fill(Gear(14, 14, 1.0f), Hex(0xFFFFFF, state == 0 ? 0.85f : 1.0f));
  });
}

// The list's scrollbar: a track that shows where the bar is and a thumb dark enough to find
// at a glance on the white card (drawn three-part vertically).
Canvas Track() {
  Canvas c(10, 24);
  c.Fill(RoundRect(2, 0.5f, 8, 23.5f, 3), Hex(0xE2E6EE));
  return c;
}

Canvas Thumb(uint32_t color, float halfWidth) {
  Canvas c(10, 24);
  c.Fill(RoundRect(5 - halfWidth, 0.5f, 5 + halfWidth, 23.5f, halfWidth), Hex(color));
  return c;
}

// Switch strip for check buttons: three "off" frames, then three "on" frames drawn over them.
Canvas Switch() {
  return Strip(36, 20, 6, [&](Canvas& c, int block) {
    bool on = block >= 3;
    int state = block % 3;
    const uint32_t offTrack[3] = {0xC9D0DC, 0xBAC2D1, 0xAAB3C4};
    const uint32_t onTrack[3] = {kAccent, kAccentHover, kAccentPush};
    Shape track = RoundRect(1, 1, 35, 19, 9);
    c.Fill(track, Hex(on ? onTrack[state] : offTrack[state]));
    float knobX = on ? 26 : 10;
    c.Fill(Circle(knobX, 10.8f, 7.2f), Hex(0x1F2937, 0.18f));  // shadow
    c.Fill(Circle(knobX, 10, 7), Hex(0xFFFFFF));
  });
}

// Dialog buttons of 88 x 30: filled accent (primary) or outlined light (secondary).
Canvas DialogButton(bool primary) {
  return Strip(88, 32, 3, [&](Canvas& c, int state) {
    Shape box = RoundRect(1, 1, 87, 31, 7);
    if (primary) {
      const uint32_t fill[3] = {kAccent, kAccentHover, kAccentPush};
      c.Fill(box, Hex(fill[state]));
    } else {
      const uint32_t fill[3] = {0xFFFFFF, 0xF3F4F8, 0xE7EAF1};
      c.Fill(box, Hex(0xD3D8E2));
      c.Fill(RoundRect(2, 2, 86, 30, 6), Hex(fill[state]));
    }
  });
}

// The settings dialog's footer band with its top rule.
Canvas Footer() {
  Canvas c(8, 56);
  c.Fill(RoundRect(-1, -1, 9, 57, 0), Hex(0xF6F7FB));
  c.Fill(RoundRect(-1, 0, 9, 1, 0), Hex(0xE5E8EF));
  return c;
}

// The program icon at one size: the ribbon on an indigo tile.
Canvas AppIcon(int size) {
  Canvas c(size, size);
  float s = static_cast<float>(size);
  float inset = s <= 16 ? 0.5f : s * 0.04f;
  c.Fill(RoundRect(inset, inset, s - inset, s - inset, s * 0.22f), VerticalGradient(0, Hex(kAccentLight), s, Hex(kAccentPush)));
  c.Fill(Ribbon(0, s * 0.02f, s), Hex(0xFFFFFF));
  return c;
}

std::map<std::string, Canvas> SkinPictures() {
  std::map<std::string, Canvas> p;
  p.emplace("header.png", Header());
  p.emplace("logo.png", Logo());
  p.emplace("close.png", CloseButton(true));
  p.emplace("close_dark.png", CloseButton(false));
  p.emplace("setting.png", HeaderSettingButton());
  p.emplace("tb_desktop.png", ToolButton(DesktopIcon));
  p.emplace("tb_add.png", ToolButton(AddFolderIcon));
  p.emplace("tb_delete.png", ToolButton(DeleteIcon));
  p.emplace("tb_setting.png", ToolButton(GearIcon));
  p.emplace("scroll_track.png", Track());
  p.emplace("scroll_thumb.png", Thumb(0x98A2B3, 3.0f));
  p.emplace("scroll_thumb_hover.png", Thumb(0x6B7588, 4.0f));
  p.emplace("scroll_thumb_push.png", Thumb(0x4F5A6E, 4.0f));
  p.emplace("switch.png", Switch());
  p.emplace("btn_primary.png", DialogButton(true));
  p.emplace("btn_secondary.png", DialogButton(false));
  p.emplace("footer.png", Footer());
  return p;
}

std::vector<Canvas> IconSizes() {
  std::vector<Canvas> sizes;
  for (int s : {16, 20, 24, 32, 40, 48, 64}) sizes.push_back(AppIcon(s));
  return sizes;
}

bool ReadFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

// The pixels of one icon image (a bitmap entry or an embedded PNG), straight RGBA top-down.
bool IcoImage(const std::string& ico, size_t index, int& w, int& h, std::vector<uint8_t>& rgba) {
  auto le32 = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(ico[at])) | (static_cast<uint8_t>(ico[at + 1]) << 8) |
           (static_cast<uint8_t>(ico[at + 2]) << 16) | (static_cast<uint32_t>(static_cast<uint8_t>(ico[at + 3])) << 24);
  };
  size_t entry = 6 + 16 * index;
  if (entry + 16 > ico.size()) return false;
  uint32_t size = le32(entry + 8), offset = le32(entry + 12);
  if (offset > ico.size() || size > ico.size() - offset) return false;
  std::string blob = ico.substr(offset, size);
  if (blob.compare(0, 4, "\x89PNG") == 0) return DecodeOwnPng(blob, w, h, rgba);
  if (blob.size() < 40) return false;
  w = static_cast<int>(le32(offset + 4));
  h = static_cast<int>(le32(offset + 8)) / 2;
  if (w <= 0 || h <= 0 || w > 256 || h > 256 || blob.size() < 40 + static_cast<size_t>(w * h * 4)) return false;
  rgba.assign(static_cast<size_t>(w * h) * 4, 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const char* p = &blob[40 + (static_cast<size_t>(h - 1 - y) * w + x) * 4];
      uint8_t* q = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      q[0] = static_cast<uint8_t>(p[2]);
      q[1] = static_cast<uint8_t>(p[1]);
      q[2] = static_cast<uint8_t>(p[0]);
      q[3] = static_cast<uint8_t>(p[3]);
    }
  }
  return true;
}

// Pixels equal within 2 levels per channel (floating-point drawing may differ slightly
// between compilers); transparent pixels compare by alpha only.
bool SamePixels(int w, int h, const std::vector<uint8_t>& got, const Canvas& expected) {
  if (w != expected.Width() || h != expected.Height()) return false;
  std::vector<uint8_t> want = expected.Rgba();
  if (got.size() != want.size()) return false;
  for (size_t i = 0; i < want.size(); i += 4) {
    int channels = (want[i + 3] == 0 && got[i + 3] == 0) ? 0 : 3;
    for (int k = 0; k < channels; ++k)
      if (std::abs(want[i + k] - got[i + k]) > 2) return false;
    if (std::abs(want[i + 3] - got[i + 3]) > 2) return false;
  }
  return true;
}

bool SamePicture(const std::string& file, const Canvas& expected) {
  std::string bytes;
  int w = 0, h = 0;
  std::vector<uint8_t> got;
  return ReadFile(file, bytes) && DecodeOwnPng(bytes, w, h, got) && SamePixels(w, h, got, expected);
}

bool SameIcon(const std::string& file, const std::vector<Canvas>& expected) {
  std::string bytes;
  if (!ReadFile(file, bytes) || bytes.size() < 6 || static_cast<uint8_t>(bytes[4]) != expected.size()) return false;
  for (size_t i = 0; i < expected.size(); ++i) {
    int w = 0, h = 0;
    std::vector<uint8_t> got;
    if (!IcoImage(bytes, i, w, h, got) || !SamePixels(w, h, got, expected[i])) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  bool check = argc == 4 && std::string(argv[1]) == "--check";
  if (argc != 3 && !check) {
    std::cerr << "usage: skinart [--check] <skin-res-folder> <icon-file>\n";
    return 2;
  }
  std::string folder = argv[check ? 2 : 1], icon = argv[check ? 3 : 2];
  int failures = 0;
  for (const auto& entry : SkinPictures()) {
    std::string path = folder + "/" + entry.first;
    const Canvas& c = entry.second;
    if (check) {
      if (!SamePicture(path, c)) {
        std::cerr << "skinart: " << path << " differs from its drawing\n";
        ++failures;
      }
    } else if (!WriteFile(path, EncodePng(c.Width(), c.Height(), c.Rgba()))) {
      std::cerr << "skinart: cannot write " << path << "\n";
      ++failures;
    }
  }
  std::vector<Canvas> sizes = IconSizes();
  if (check) {
    if (!SameIcon(icon, sizes)) {
      std::cerr << "skinart: " << icon << " differs from its drawing\n";
      ++failures;
    }
  } else {
    std::vector<const Canvas*> images;
    for (const Canvas& c : sizes) images.push_back(&c);
    if (!WriteFile(icon, EncodeIco(images))) {
      std::cerr << "skinart: cannot write " << icon << "\n";
      ++failures;
    }
  }
  return failures ? 1 : 0;
}
