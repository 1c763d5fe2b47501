#include "tools/skin/skin_layout.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/skin/skin_command.h"
#include "ui/builder/skin_builder.h"
#include "ui/core/attribute_value.h"
#include "ui/markup/utf.h"
#include "ui/resources/global_resources.h"

namespace skin_tool {

namespace {

// "PACKAGE.zip" and "PATH" of "PACKAGE.zip:PATH" (letter case of ".zip" ignored).
bool SplitPackage(const std::string& source, std::string* archive, std::string* entry) {
  std::string lower(source);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  const size_t at = lower.find(".zip:");
  if (at == std::string::npos) return false;
  *archive = source.substr(0, at + 4);
  *entry = source.substr(at + 5);
  return true;
}

// The folder part of a path with "/" separators, ending with "/" (or empty).
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

int BuildLaidOutSkin(const std::vector<std::string>& args, const std::vector<std::string>& extra_options,
                     LaidOutSkin* skin, std::vector<std::pair<std::string, std::string>>* extra) {
  // Pass 1: the arguments.
  std::string source;
  std::string global;
  std::string size_text;
  int scale = 100;
  std::vector<std::pair<bool, std::string>> visibility;  // (show, name) in order
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (arg == "--size" && has_value) {
      size_text = args[++i];
    } else if (arg == "--scale" && has_value) {
      scale = std::atoi(args[++i].c_str());
      if (scale != 100 && scale != 125 && scale != 150) return kExitUsage;
    } else if (arg == "--global" && has_value) {
      global = args[++i];
    } else if ((arg == "--show" || arg == "--hide") && has_value) {
      visibility.emplace_back(arg == "--show", args[++i]);
    } else if (has_value && std::find(extra_options.begin(), extra_options.end(), arg) != extra_options.end()) {
      extra->emplace_back(arg, args[++i]);
    } else if (source.empty() && !arg.starts_with("--")) {
      source = arg;
    } else {
      return kExitUsage;
    }
  }
  if (source.empty() || size_text.empty()) return kExitUsage;
  skin->size = ui::ParsePair(ui::Utf8ToUtf16(size_text));
  if (skin->size.cx <= 0 || skin->size.cy <= 0) return kExitUsage;

  // Pass 2: the theme folder, from the package or the disk.
  ui::GlobalResources& res = ui::GlobalResources::Instance();
  res.Reset();
  res.SetStyleLoader(nullptr);  // the style sheet is loaded below, from wherever it is
  res.SetDensitySource([scale] { return scale * 96 / 100; });
  std::string archive;
  std::string entry;
  std::string skin_name;  // relative to the theme folder
  std::string skin_folder;
  if (SplitPackage(source, &archive, &entry)) {
    std::ifstream in(archive, std::ios::binary);
    skin->package_bytes.assign(std::istreambuf_iterator<char>(in), {});
    const std::string folder = FolderOf(entry);
    const std::string theme = FolderOf(folder.empty() ? folder : folder.substr(0, folder.size() - 1));
    res.Initialize(ui::Utf8ToUtf16(theme), nullptr, u"", u"lang");
    if (!in || !res.OpenPackage(skin->package_bytes.data(), skin->package_bytes.size())) {
      std::printf("cannot open package %s\n", archive.c_str());
      return kExitParseError;
    }
    skin_name = entry.substr(theme.size());
    skin_folder = folder.substr(theme.size());
  } else {
    const std::filesystem::path file = std::filesystem::absolute(source);
    const std::filesystem::path theme = file.parent_path().parent_path();
    res.Initialize(ui::Utf8ToUtf16(theme.string()), nullptr, u"", u"lang");
    skin_name = std::filesystem::relative(file, theme).generic_string();
    skin_folder = FolderOf(skin_name);
  }

  // Pass 3: the global style sheet (a missing one leaves the tables empty).
  if (global.empty()) {
    global = "global.xml";
  } else if (SplitPackage(global, &archive, &entry)) {
    // Read from the skin's own package, relative to its theme folder.
    global = entry;
    const std::string theme = ui::Utf16ToUtf8(res.ResourceFolder());
    if (global.starts_with(theme)) global = global.substr(theme.size());
  } else {
    global = std::filesystem::absolute(global).string();
  }
  ui::SkinBuilder global_builder;
  if (!global_builder.LoadGlobal(ui::Utf8ToUtf16(global))) {
    std::fprintf(stderr, "warning: no global style sheet %s\n", global.c_str());
  }

  // Pass 4: the skin, laid out.
  skin->window = std::make_unique<ui::HeadlessWindow>();
  skin->window->SetResourcePath(ui::Utf8ToUtf16(skin_folder));
  ui::SkinBuilder builder;
  std::unique_ptr<ui::Control> root = builder.Build(ui::Utf8ToUtf16(skin_name), nullptr, skin->window.get());
  if (!root) {
    const std::string message = ui::Utf16ToUtf8(builder.Document().LastErrorMessage());
    std::printf("%s\n", message.empty() ? "no control built" : message.c_str());
    return kExitParseError;
  }
  skin->window->AttachRoot(std::move(root));
  for (const auto& [show, name] : visibility) {
    ui::Control* control = skin->window->FindControl(ui::Utf8ToUtf16(name));
    if (!control) {
      std::printf("no control named %s\n", name.c_str());
      return kExitParseError;
    }
    control->SetVisible(show);
  }
  skin->window->Arrange(skin->size);
  return kExitOk;
}

}  // namespace skin_tool
