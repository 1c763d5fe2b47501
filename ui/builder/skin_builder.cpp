#include "ui/builder/skin_builder.h"

#include <cstdlib>
#include <map>

#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/label.h"
#include "ui/controls/option.h"
#include "ui/controls/progress.h"
#include "ui/core/attribute_value.h"
#include "ui/core/box.h"
#include "ui/core/control.h"
#include "ui/core/h_layout.h"
#include "ui/core/headless_window.h"
#include "ui/core/tile_layout.h"
#include "ui/core/v_layout.h"
#include "ui/core/window_host.h"
#include "ui/markup/utf.h"

namespace ui {

namespace {

// "Include" sources longer than this are cut.
constexpr size_t kMaxIncludeSource = 499;

GlobalResources& Res() { return GlobalResources::Instance(); }

template <typename T>
SkinBuilder::Creator Make() {
  return [] { return std::make_unique<T>(); };
}

template <typename L>
SkinBuilder::Creator MakeBox() {
  return [] { return std::make_unique<Box>(std::make_unique<L>()); };
}

std::map<std::u16string, SkinBuilder::Creator, std::less<>>& ElementTable() {
  static auto* table = new std::map<std::u16string, SkinBuilder::Creator, std::less<>>{
      {u"Control", Make<Control>()},
      {u"Box", MakeBox<Layout>()},
      {u"HBox", MakeBox<HLayout>()},
      {u"VBox", MakeBox<VLayout>()},
      {u"TileBox", MakeBox<TileLayout>()},
      {u"Label", Make<Label>()},
      {u"LabelBox", Make<LabelBox>()},
      {u"Button", Make<Button>()},
      {u"ButtonBox", Make<ButtonBox>()},
      {u"CheckBox", Make<CheckBox>()},
      {u"CheckBoxBox", Make<CheckBoxBox>()},
      {u"Option", Make<Option>()},
      {u"OptionBox", Make<OptionBox>()},
      {u"Progress", Make<Progress>()},
  };
  return *table;
}

bool IsResourceElement(std::u16string_view name) {
  return name == u"Image" || name == u"Font" || name == u"Class" || name == u"TextColor";
}

// Hexadecimal digits up to the first other character; none gives 0.
uint32_t ParseHex(std::u16string_view text) {
  uint32_t value = 0;
  for (char16_t c : text) {
    int digit;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    else break;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  return value;
}

// The leading decimal fraction of a text ("0.8"); 0 when there is none.
double ParseFraction(std::u16string_view text) {
  std::string narrow;
  for (char16_t c : SkipBlanks(text)) {
    if (c > 0x7F) break;
    narrow.push_back(static_cast<char>(c));
  }
  return std::strtod(narrow.c_str(), nullptr);
}

UiSize ScalePair(UiSize pair) { return {Res().ScaleValue(pair.cx), Res().ScaleValue(pair.cy)}; }

}  // namespace

void SkinBuilder::RegisterElement(std::u16string_view name, Creator creator) {
  ElementTable()[std::u16string(name)] = std::move(creator);
}

std::unique_ptr<Control> SkinBuilder::CreateBuiltIn(std::u16string_view name) {
  auto& table = ElementTable();
  auto it = table.find(name);
  if (it == table.end()) return nullptr;
  return it->second();
}

void SkinBuilder::InstallGlobalStyleLoader() {
  Res().SetStyleLoader([](std::u16string_view file_name) {
    SkinBuilder builder;
    builder.LoadGlobal(file_name);
  });
}

// Builds that use the global style sheet get its loader without further wiring.
[[maybe_unused]] static const bool kStyleLoaderInstalled = [] {
  SkinBuilder::InstallGlobalStyleLoader();
  return true;
}();

bool SkinBuilder::Load(std::u16string_view source) {
  if (!source.empty() && source[0] == u'<') return document_.LoadFromText(source);
  if (Res().HasPackage()) {
    std::u16string path = Res().ResourceFolder();
    path.append(source);
    if (std::optional<std::string> bytes = Res().ReadPackageFile(path)) {
      const size_t zero = bytes->find('\0');
      if (zero != std::string::npos) bytes->resize(zero);
      return document_.LoadFromUtf8(*bytes);
    }
  }
  return document_.LoadFromFile(source);
}

std::unique_ptr<Control> SkinBuilder::Build(std::u16string_view source, const ControlFactory& factory,
                                            WindowHost* window) {
  factory_ = factory;
  std::unique_ptr<Control> top;
  Run(source, window, nullptr, nullptr, &top);
  if (failed_) return nullptr;
  return top;
}

Control* SkinBuilder::BuildInto(std::u16string_view source, const ControlFactory& factory, WindowHost* window,
                                Box* parent) {
  factory_ = factory;
  std::unique_ptr<Control> top;
  Control* first = Run(source, window, parent, nullptr, &top);
  return failed_ ? nullptr : first;
}

Box* SkinBuilder::BuildIntoTarget(std::u16string_view source, const ControlFactory& factory, WindowHost* window,
                                  Box* target) {
  factory_ = factory;
  std::unique_ptr<Control> top;
  Control* result = Run(source, window, nullptr, target, &top);
  return failed_ || !result ? nullptr : target;
}

bool SkinBuilder::LoadGlobal(std::u16string_view source) {
  HeadlessWindow style_window;
  std::unique_ptr<Control> top;
  if (!Load(source)) return false;
  window_ = &style_window;
  MarkupNode root = document_.GetRoot();
  ApplyRootAttributes(root);
  ApplyResourceChildren(root);
  window_ = nullptr;
  return true;
}

Control* SkinBuilder::Run(std::u16string_view source, WindowHost* window, Box* parent, Box* target,
                          std::unique_ptr<Control>* top) {
  if (!Load(source)) {
    failed_ = true;
    return nullptr;
  }
  window_ = window;
  MarkupNode root = document_.GetRoot();
  if (!root.IsValid()) return nullptr;
  if (window_) {
    ApplyRootAttributes(root);
    ApplyResourceChildren(root);
  }

  // The first child that is not a resource element decides.
  MarkupNode first = root.FirstChild();
  while (first.IsValid() && IsResourceElement(first.Name())) first = first.NextSibling();
  if (!first.IsValid()) return nullptr;

  if (!target) return CreateControls(root.FirstChild(), parent, top);
  for (size_t i = 0; i < first.AttributeCount(); ++i) target->SetAttribute(first.AttributeName(i), first.AttributeValue(i));
  CreateControls(first.FirstChild(), target, nullptr);
  return failed_ ? nullptr : target;
}

void SkinBuilder::ApplyRootAttributes(MarkupNode root) {
  const std::u16string_view kind = root.Name();
  if (kind == u"Global") {
    for (size_t i = 0; i < root.AttributeCount(); ++i) {
      const std::u16string_view name = root.AttributeName(i);
      const std::u16string_view value = root.AttributeValue(i);
      if (name == u"disabledfontcolor") Res().SetDefaultDisabledTextColorName(value);
      else if (name == u"defaultfontcolor") Res().SetDefaultTextColorName(value);
    }
    return;
  }
  if (kind != u"Window" || !window_->HasNativeWindow()) return;
  // In document order: "size" sees the shadow settings read before it.
  for (size_t i = 0; i < root.AttributeCount(); ++i) {
    const std::u16string_view name = root.AttributeName(i);
    const std::u16string_view value = root.AttributeValue(i);
    if (name == u"size") {
      const UiSize size = ScalePair(ParsePair(value));
      window_->SetInitSize(size.cx, size.cy);
    } else if (name == u"heightpercent") {
      window_->SetHeightPercent(ParseFraction(value));
    } else if (name == u"sizebox") {
      window_->SetSizeBox(ParseFrame(value));
    } else if (name == u"caption") {
      window_->SetCaptionRect(Res().ScaleRect(ParseFrame(value)));
    } else if (name == u"textid") {
      window_->SetTextId(value);
    } else if (name == u"roundcorner") {
      const UiSize round = ScalePair(ParsePair(value));
      window_->SetRoundCorner(round.cx, round.cy);
    } else if (name == u"mininfo") {
      const UiSize size = ScalePair(ParsePair(value));
      window_->SetMinInfo(size.cx, size.cy);
    } else if (name == u"maxinfo") {
      const UiSize size = ScalePair(ParsePair(value));
      window_->SetMaxInfo(size.cx, size.cy);
    } else if (name == u"shadowattached") {
      window_->SetShadowAttached(ParseBool(value));
    } else if (name == u"shadowimage") {
      window_->SetShadowImage(value);
    } else if (name == u"shadowcorner") {
      window_->SetShadowCorner(ParseFrame(value));
    } else if (name == u"alphafixcorner" || name == u"custom_shadow") {
      window_->SetAlphaFixCorner(Res().ScaleRect(ParseFrame(value)));
    }
  }
}

void SkinBuilder::ApplyResourceChildren(MarkupNode root) {
  const bool global = root.Name() == u"Global";
  if (!global && root.Name() != u"Window") return;
  for (MarkupNode node = root.FirstChild(); node.IsValid(); node = node.NextSibling()) {
    const std::u16string_view kind = node.Name();
    // The last occurrence of an attribute wins.
    auto attribute = [&node](std::u16string_view wanted, std::u16string_view fallback) {
      std::u16string_view found = fallback;
      for (size_t i = 0; i < node.AttributeCount(); ++i) {
        if (node.AttributeName(i) == wanted) found = node.AttributeValue(i);
      }
      return found;
    };
    if (kind == u"Class") {
      const std::u16string_view name = attribute(u"name", {});
      if (name.empty()) continue;
      if (global) {
        Res().RegisterClassStyle(name, attribute(u"value", {}));
      } else {
        window_->AddClass(name, attribute(u"value", {}));
      }
      continue;
    }
    if (!global) continue;
    if (kind == u"Font") {
      const std::u16string_view name = attribute(u"name", {});
      if (name.empty()) continue;
      const std::u16string_view size = attribute(u"size", {});
      Res().RegisterFont(name, size.empty() ? 12 : ParseInt(size), ParseBool(attribute(u"bold", {})),
                         ParseBool(attribute(u"underline", {})), ParseBool(attribute(u"italic", {})));
    } else if (kind == u"TextColor") {
      const std::u16string_view name = attribute(u"name", {});
      const std::u16string_view value = attribute(u"value", {});
      if (name.empty() || value.empty()) continue;
      Res().RegisterColor(name, ParseHex(value.substr(1)));
    }
  }
}

Control* SkinBuilder::CreateControls(MarkupNode node, Control* parent, std::unique_ptr<Control>* top) {
  Control* first = nullptr;
  for (; node.IsValid() && !failed_; node = node.NextSibling()) {
    const std::u16string_view kind = node.Name();
    // Pass 1: resource elements were read with the root.
    if (IsResourceElement(kind)) continue;

    // Pass 2: includes put their controls straight into the parent.
    if (kind == u"Include") {
      int count = 1;
      if (auto text = node.FindAttribute(u"count")) count = ParseInt(*text);
      std::u16string source;
      if (!node.FindAttribute(u"source", source, kMaxIncludeSource) || count < 1) continue;
      Box* box = dynamic_cast<Box*>(parent);
      for (int i = 0; i < count; ++i) {
        SkinBuilder builder;
        if (box) {
          builder.BuildInto(source, factory_, window_, box);
        } else {
          builder.Build(source, factory_, window_);  // nowhere to put them
        }
      }
      continue;
    }

    // Pass 3: the element table, then the event elements, then the factories.
    std::unique_ptr<Control> control = CreateBuiltIn(kind);
    if (!control) {
      if (kind == u"Event" || kind == u"BubbledEvent") {
        if (parent) AttachEventElement(node, parent, kind == u"BubbledEvent");
        continue;
      }
      if (const ControlFactory& global = Res().GetControlFactory()) control = global(kind);
      if (!control && factory_) control = factory_(kind);
      if (!control) continue;  // unknown: skipped with its subtree
    }

    // Pass 4: the window first, then the attributes in document order.
    control->SetElementName(kind);
    control->SetWindow(window_);
    for (size_t i = 0; i < node.AttributeCount(); ++i) {
      control->SetAttribute(node.AttributeName(i), node.AttributeValue(i));
    }

    // Pass 5: children, then into the parent.
    if (node.HasChildren()) {
      CreateControls(node.FirstChild(), control.get(), nullptr);
      if (failed_) return nullptr;
    }
    Control* raw = control.get();
    if (parent) {
      Box* box = dynamic_cast<Box*>(parent);
      if (!box) {
        failed_ = true;  // controls only go into containers
        return nullptr;
      }
      if (!box->AddChild(std::move(control))) continue;
    } else if (top && !*top) {
      *top = std::move(control);
    }
    if (!first) first = raw;
  }
  return first;
}

void SkinBuilder::AttachEventElement(MarkupNode node, Control* parent, bool bubbled) {
  Box* box = dynamic_cast<Box*>(parent);
  if (bubbled && !box) return;
  const std::u16string types = std::u16string(node.FindAttribute(u"type").value_or(u""));
  const std::u16string receivers = std::u16string(node.FindAttribute(u"receiver").value_or(u""));
  const std::u16string apply = std::u16string(node.FindAttribute(u"applyattribute").value_or(u""));
  for (std::u16string_view type_name : SplitWords(types)) {
    const EventType type = EventTypeFromName(type_name);
    for (std::u16string_view receiver_view : SplitWords(receivers)) {
      std::u16string receiver(receiver_view);
      auto handler = [parent, receiver, apply](EventArgs*) {
        Control* target = nullptr;
        if (receiver.size() >= 2 && receiver[0] == u'.' && (receiver[1] == u'/' || receiver[1] == u'\\')) {
          if (Box* scope = dynamic_cast<Box*>(parent)) target = scope->FindSubControl(receiver.substr(2));
        } else if (WindowHost* window = parent->GetWindow()) {
          target = window->FindControl(receiver);
        }
        if (target) target->ApplyAttributeText(apply);
        return true;
      };
      EventCallback callback = parent->ToWeakCallback(handler);
      if (bubbled) {
        box->AttachXmlBubbledEvent(type, std::move(callback));
      } else {
        parent->AttachXmlEvent(type, std::move(callback));
      }
    }
  }
}

}  // namespace ui
