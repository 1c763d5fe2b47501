#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "ui/builder/skin_builder.h"
#include "ui/core/box.h"
#include "ui/core/headless_window.h"
#include "ui/markup/utf.h"
#include "ui/resources/global_resources.h"

namespace ui::testing {

// Global resources over a fresh temporary theme folder, and a headless
// window to build skins into.
class SkinFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("lumora_skin_" + std::to_string(::getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "theme");
    Res().Reset();
    Res().SetDensitySource(nullptr);
    Res().Initialize(Utf8ToUtf16(root_.string()), nullptr, u"theme", u"lang");
    window_ = std::make_unique<HeadlessWindow>();
  }

  void TearDown() override {
    window_.reset();
    Res().Reset();
    Res().SetDensitySource(nullptr);
    std::filesystem::remove_all(root_);
  }

  static GlobalResources& Res() { return GlobalResources::Instance(); }

  // Writes a file under the theme folder.
  void WriteThemeFile(const std::string& relative, const std::string& bytes) {
    const auto path = root_ / "theme" / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

  void SetScale(int percent) {
    Res().Dpi().SetAware(true);
    Res().Dpi().SetScale(percent);
  }

  // Builds markup (text) into the window as its root; false when nothing was built.
  bool BuildRoot(const std::u16string& markup) {
    SkinBuilder builder;
    std::unique_ptr<Control> root = builder.Build(markup, nullptr, window_.get());
    if (!root) return false;
    window_->AttachRoot(std::move(root));
    return true;
  }

  // Builds and lays out at the client size.
  bool Layout(const std::u16string& markup, UiSize client) {
    if (!BuildRoot(markup)) return false;
    window_->Arrange(client);
    return true;
  }

  Control* Find(const char* name) const { return window_->FindControl(Utf8ToUtf16(name)); }

  // "l,t,r,b" of a named control, or "missing".
  std::string PosOf(const char* name) const {
    const Control* c = Find(name);
    if (!c) return "missing";
    const UiRect r = c->Pos();
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
  }

  std::filesystem::path root_;
  std::unique_ptr<HeadlessWindow> window_;
};

// A 24-bit BMP of one colour (0xRRGGBB), which the picture decoder reads.
inline std::string SolidBmp(int width, int height, uint32_t rgb) {
  const int row = (width * 3 + 3) / 4 * 4;
  const uint32_t data_size = static_cast<uint32_t>(row * height);
  std::string bmp(54 + data_size, '\0');
  auto put32 = [&bmp](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto put16 = [&bmp](size_t at, uint16_t v) {
    bmp[at] = static_cast<char>(v & 0xFF);
    bmp[at + 1] = static_cast<char>(v >> 8);
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, 54 + data_size);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  put16(26, 1);
  put16(28, 24);
  put32(34, data_size);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t at = 54 + static_cast<size_t>(y * row + x * 3);
      bmp[at] = static_cast<char>(rgb & 0xFF);
      bmp[at + 1] = static_cast<char>((rgb >> 8) & 0xFF);
      bmp[at + 2] = static_cast<char>((rgb >> 16) & 0xFF);
    }
  }
  return bmp;
}

}  // namespace ui::testing
