#include "ui/render/render_factory_cairo.h"

#include "ui/render/render_context_cairo.h"

namespace ui {

std::unique_ptr<IRenderContext> RenderFactory_Cairo::CreateRenderContext() {
  auto context = std::make_unique<RenderContext_Cairo>();
  context->Resize(0, 0);
  return context;
}

}  // namespace ui
