#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ui/markup/markup_document.h"
#include "ui/resources/global_resources.h"

namespace ui {

class Box;
class Control;
class WindowHost;

// Turns skin markup into controls: the "Window" and "Global" roots, the
// resource elements "Font", "TextColor" and "Class", "Include", the event
// elements "Event" and "BubbledEvent", and the element table from names to
// control classes. One builder serves one build.
//
// The source is the markup itself when it begins with "<", otherwise a file
// name relative to the resource folder (from the skin package when one is
// open and holds it, else from disk). Every build returns nothing when the
// markup cannot be loaded or a control is placed under a non-container.
class SkinBuilder {
 public:
  // Makes a control for an element name, or nothing.
  using Creator = std::function<std::unique_ptr<Control>()>;

  SkinBuilder() = default;
  SkinBuilder(const SkinBuilder&) = delete;
  SkinBuilder& operator=(const SkinBuilder&) = delete;

  // Builds a tree of its own: the first control at the top level, owned by
  // the caller (further top-level controls are discarded).
  std::unique_ptr<Control> Build(std::u16string_view source, const ControlFactory& factory, WindowHost* window);
  // Builds into `parent`, which owns what is created; returns the first control.
  Control* BuildInto(std::u16string_view source, const ControlFactory& factory, WindowHost* window, Box* parent);
  // Applies the first control element's attributes to `target` and builds
  // its children inside it; returns `target`, or null on failure.
  Box* BuildIntoTarget(std::u16string_view source, const ControlFactory& factory, WindowHost* window, Box* target);

  // Applies a "Global" root's attributes and resource children (fonts,
  // colours, classes) from `source` to the global resources.
  bool LoadGlobal(std::u16string_view source);

  const MarkupDocument& Document() const { return document_; }

  // Adds a name to the element table (for control classes that live in
  // other parts of the framework).
  static void RegisterElement(std::u16string_view name, Creator creator);
  // The control class of `name` in the element table, or nothing.
  static std::unique_ptr<Control> CreateBuiltIn(std::u16string_view name);

  // Makes GlobalResources::Initialize load "global.xml" through this builder.
  static void InstallGlobalStyleLoader();

 private:
  bool Load(std::u16string_view source);
  // Root attributes and resource children; then the controls.
  Control* Run(std::u16string_view source, WindowHost* window, Box* parent, Box* target,
               std::unique_ptr<Control>* top);
  Control* CreateControls(MarkupNode first, Control* parent, std::unique_ptr<Control>* top);
  void ApplyRootAttributes(MarkupNode root);
  void ApplyResourceChildren(MarkupNode root);
  void AttachEventElement(MarkupNode node, Control* parent, bool bubbled);

  MarkupDocument document_;
  ControlFactory factory_;
  WindowHost* window_ = nullptr;
  bool failed_ = false;
};

}  // namespace ui
