#include "ui/resources/global_resources.h"

#include <algorithm>
#include <filesystem>

#include "platform/display/native_window.h"
#include "ui/markup/utf.h"
#include "ui/render/font.h"
#include "ui/render/image_decoder.h"
#include "ui/render/image_info.h"
#include "ui/render/render_factory_cairo.h"

namespace ui {

namespace {

constexpr char16_t kSeparator = u'/';
constexpr int kDefaultDensity = 96;
constexpr std::u16string_view kLanguageFileName = u"gdstrings.ini";
constexpr std::u16string_view kSystemFace = u"system";

std::u16string WithSeparator(std::u16string_view folder) {
  std::u16string result(folder);
  if (result.empty() || (result.back() != u'/' && result.back() != u'\\')) result.push_back(kSeparator);
  return result;
}

}  // namespace

std::u16string GlobalResources::NativePath(std::u16string_view path) {
  std::u16string result;
  result.reserve(path.size());
  for (char16_t c : path) {
    if (c == u'\\') c = u'/';
    if (c == u'/' && !result.empty() && result.back() == u'/') continue;
    result.push_back(c);
  }
  return result;
}

GlobalResources& GlobalResources::Instance() {
  static GlobalResources* instance = new GlobalResources();  // lives as long as the process
  return *instance;
}

GlobalResources::GlobalResources()
    : default_text_color_(u"textdefaultcolor"), default_disabled_text_color_(u"textdefaultdisablecolor") {}

GlobalResources::~GlobalResources() = default;

void GlobalResources::Initialize(std::u16string_view root, ControlFactory factory, std::u16string_view theme,
                                 std::u16string_view language) {
  // 1. The render factory every window and offscreen target draws through.
  render_factory_ = std::make_unique<RenderFactory_Cairo>();
  // 2. The theme's resource folder.
  std::u16string root_folder = WithSeparator(root);
  SetResourceFolder(root_folder + std::u16string(theme));
  // 3. The application's control factory.
  control_factory_ = std::move(factory);
  // 4-5. The process always reads the display density itself, so it is aware.
  if (!dpi_.Aware()) dpi_.SetAware(true);
  // The display's density (Xft.dpi) unless a test or caller supplied one.
  int density = density_source_ ? density_source_() : platform::DisplayDpi();
  if (density <= 0) density = kDefaultDensity;
  if (dpi_.Aware()) dpi_.SetScaleFromDensity(density);
  // 6. The global style sheet, through the skin builder.
  if (style_loader_) style_loader_(u"global.xml");
  // 7. The language strings: root + language folder + "gdstrings.ini", from
  // the package when one is open (where the language folders lie beside the
  // themes), else from disk.
  std::u16string language_file = WithSeparator(root_folder + std::u16string(language));
  language_file.append(kLanguageFileName);
  if (HasPackage()) {
    if (std::optional<std::string> block = ReadPackageFile(language_file)) LoadLanguageBlock(*block, strings_);
  } else {
    LoadLanguageFile(Utf16ToUtf8(NativePath(language_file)), strings_);
  }
}

void GlobalResources::Reset() {
  render_factory_.reset();
  resource_folder_.clear();
  package_.Close();
  dpi_ = DpiScaler();
  control_factory_ = nullptr;
  fonts_.clear();
  colors_.clear();
  classes_.clear();
  default_text_color_ = u"textdefaultcolor";
  default_disabled_text_color_ = u"textdefaultdisablecolor";
  strings_.clear();
  images_.Clear();
}

void GlobalResources::SetResourceFolder(std::u16string_view folder) { resource_folder_ = WithSeparator(folder); }

bool GlobalResources::OpenPackage(const void* data, size_t size) { return package_.Open(data, size); }

void GlobalResources::ClosePackage() { package_.Close(); }

std::optional<std::string> GlobalResources::ReadPackageFile(std::u16string_view path) const {
  return package_.ReadFile(path);
}

bool GlobalResources::RegisterFont(std::u16string_view face, int size, bool bold, bool underline, bool italic) {
  std::u16string used_face(face == kSystemFace ? std::u16string_view(kSystemUiFontFace) : face);
  int pixels = ScaleValue(size);
  std::unique_ptr<Font> font = Font::Create(used_face, pixels, bold, underline, italic);
  if (!font) return false;
  fonts_.push_back(FontEntry{std::move(font), std::move(used_face), pixels, bold, underline, italic});
  return true;
}

const FontEntry* GlobalResources::FontInfo(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= fonts_.size()) return nullptr;
  return &fonts_[static_cast<size_t>(index)];
}

const Font* GlobalResources::FontHandle(int index) const {
  const FontEntry* entry = FontInfo(index);
  return entry == nullptr ? nullptr : entry->font.get();
}

void GlobalResources::RegisterColor(std::u16string_view name, uint32_t argb) {
  colors_.insert_or_assign(std::u16string(name), argb);
}

uint32_t GlobalResources::LookupColor(std::u16string_view name) {
  auto it = colors_.find(name);
  if (it != colors_.end()) return it->second;
  colors_.emplace(std::u16string(name), 0u);
  return 0;
}

void GlobalResources::RegisterClassStyle(std::u16string_view name, std::u16string_view attribute_list) {
  classes_.insert_or_assign(std::u16string(name), std::u16string(attribute_list));
}

std::u16string GlobalResources::LookupClassStyle(std::u16string_view name) const {
  auto it = classes_.find(name);
  return it == classes_.end() ? std::u16string() : it->second;
}

std::u16string GlobalResources::LookupString(std::u16string_view id) const {
  auto it = strings_.find(id);
  if (it == strings_.end()) return {};
  const std::u16string& text = it->second;
  std::u16string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 1 < text.size() && (text[i + 1] == u'r' || text[i + 1] == u'n')) {
      result.push_back(text[i + 1] == u'r' ? u'\r' : u'\n');
      ++i;
    } else {
      result.push_back(text[i]);
    }
  }
  return result;
}

std::shared_ptr<ImageInfo> GlobalResources::LoadImageShared(std::u16string_view path) {
  std::u16string native = NativePath(path);
  std::u16string key = HasPackage() ? SkinPackage::NormalizePath(native) : native;
  if (std::shared_ptr<ImageInfo> cached = images_.Find(key)) return cached;

  std::unique_ptr<ImageInfo> image;
  if (HasPackage()) {
    if (std::optional<std::string> bytes = package_.ReadFile(key)) {
      image = DecodeImage(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size());
    }
  }
  if (!image) image = DecodeImageFile(std::filesystem::path(Utf16ToUtf8(native)));
  if (!image) return nullptr;
  image->cached = true;
  return images_.Insert(key, std::move(image));
}

}  // namespace ui
