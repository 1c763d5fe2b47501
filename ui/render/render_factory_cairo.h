#pragma once

#include <memory>

#include "ui/render/render_context.h"

namespace ui {

// Makes render contexts over Cairo image surfaces, with Pango text. Creating
// it is cheap: the program's font configuration is loaded on first text use.
class RenderFactory_Cairo : public IRenderFactory {
 public:
  std::unique_ptr<IRenderContext> CreateRenderContext() override;
};

}  // namespace ui
