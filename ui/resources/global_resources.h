#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/core/geometry.h"
#include "ui/resources/dpi_scaler.h"
#include "ui/resources/language_file.h"
#include "ui/resources/skin_package.h"
#include "ui/resources/weak_cache.h"

namespace ui {

class Control;
class Font;
class IRenderFactory;
struct ImageInfo;

// Makes a control for an element name the framework does not know, or nothing.
using ControlFactory = std::function<std::unique_ptr<Control>(std::u16string_view element_name)>;

// One registered font; controls refer to fonts by their position in the table.
struct FontEntry {
  std::unique_ptr<Font> font;
  std::u16string face;  // the face actually used ("system" already replaced)
  int size = 0;         // character height in pixels, after scaling
  bool bold = false;
  bool underline = false;
  bool italic = false;
};

// The process-wide store every window and control draws on: the resource
// folder of the current theme, the skin package, the display scale, the fonts,
// colours and classes of "global.xml", the language strings and the shared
// image cache. UI thread only. Nothing here reports errors to the user: what is
// missing reads as nothing (colour 0, empty class, empty string, no image).
class GlobalResources {
 public:
  // Builds "global.xml" (a path relative to the resource folder) into this
  // store; provided by the skin builder.
  using StyleLoader = std::function<void(std::u16string_view file_name)>;
  // The display density in dots per inch (96 when unknown); by default the
  // display's own (platform::DisplayDpi).
  using DensitySource = std::function<int()>;

  static GlobalResources& Instance();

  GlobalResources();
  ~GlobalResources();
  GlobalResources(const GlobalResources&) = delete;
  GlobalResources& operator=(const GlobalResources&) = delete;

  // Start-up, in order: render factory, resource folder = root + theme, the
  // control factory, display awareness and scale, "global.xml" (through the
  // style loader, when one is set), then the language file (root + language
  // folder + "/gdstrings.ini", from the package when one is open).
  void Initialize(std::u16string_view root, ControlFactory factory, std::u16string_view theme,
                  std::u16string_view language);
  // Empties every table and closes the package (shutdown, tests).
  void Reset();

  void SetStyleLoader(StyleLoader loader) { style_loader_ = std::move(loader); }
  void SetDensitySource(DensitySource source) { density_source_ = std::move(source); }
  IRenderFactory* RenderFactory() const { return render_factory_.get(); }
  const ControlFactory& GetControlFactory() const { return control_factory_; }

  // The platform's form of a skin path: "\" becomes "/" and doubled
  // separators collapse.
  static std::u16string NativePath(std::u16string_view path);

  // Always ends with a separator: "/" is appended unless it ends with "/" or "\".
  const std::u16string& ResourceFolder() const { return resource_folder_; }
  void SetResourceFolder(std::u16string_view folder);

  // The package's bytes must outlive it. Replaces any open package.
  bool OpenPackage(const void* data, size_t size);
  void ClosePackage();
  bool HasPackage() const { return package_.IsOpen(); }
  const SkinPackage& Package() const { return package_; }
  std::optional<std::string> ReadPackageFile(std::u16string_view path) const;

  DpiScaler& Dpi() { return dpi_; }
  const DpiScaler& Dpi() const { return dpi_; }
  int ScaleValue(int value) const { return dpi_.ScaleValue(value); }
  UiRect ScaleRect(UiRect rect) const { return dpi_.ScaleRect(rect); }

  // "system" stands for the platform's Chinese UI face. The size is scaled;
  // only a font that could be made is appended (later numbers shift).
  bool RegisterFont(std::u16string_view face, int size, bool bold, bool underline, bool italic);
  // Null for an index outside the table.
  const Font* FontHandle(int index) const;
  const FontEntry* FontInfo(int index) const;
  size_t FontCount() const { return fonts_.size(); }

  void RegisterColor(std::u16string_view name, uint32_t argb);
  // 0 (draw nothing) for a name never registered.
  uint32_t LookupColor(std::u16string_view name);

  void RegisterClassStyle(std::u16string_view name, std::u16string_view attribute_list);
  std::u16string LookupClassStyle(std::u16string_view name) const;

  const std::u16string& DefaultTextColorName() const { return default_text_color_; }
  void SetDefaultTextColorName(std::u16string_view name) { default_text_color_ = name; }
  const std::u16string& DefaultDisabledTextColorName() const { return default_disabled_text_color_; }
  void SetDefaultDisabledTextColorName(std::u16string_view name) { default_disabled_text_color_ = name; }

  // The text of `id` with the two-character sequences \r and \n turned into
  // carriage return and line feed; empty for an unknown id.
  std::u16string LookupString(std::u16string_view id) const;
  StringTable& Strings() { return strings_; }

  // A shared decoded picture, or nothing. From the package when one is open
  // and holds the file, else from disk. The cache never keeps a picture alive.
  std::shared_ptr<ImageInfo> LoadImageShared(std::u16string_view path);
  size_t CachedImageCount() const { return images_.Size(); }

 private:
  std::unique_ptr<IRenderFactory> render_factory_;
  std::u16string resource_folder_;
  SkinPackage package_;
  DpiScaler dpi_;
  ControlFactory control_factory_;
  StyleLoader style_loader_;
  DensitySource density_source_;
  std::vector<FontEntry> fonts_;
  std::map<std::u16string, uint32_t, std::less<>> colors_;
  std::map<std::u16string, std::u16string, std::less<>> classes_;
  std::u16string default_text_color_;
  std::u16string default_disabled_text_color_;
  StringTable strings_;
  WeakCache<std::u16string, ImageInfo> images_;
};

}  // namespace ui
