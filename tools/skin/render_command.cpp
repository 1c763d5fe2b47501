#include <cstdio>

#include "ui/render/png_writer.h"
#include "tools/skin/skin_command.h"
#include "tools/skin/skin_layout.h"
#include "ui/render/render_context.h"
#include "ui/resources/global_resources.h"

namespace skin_tool {
namespace {

int RunRender(const std::vector<std::string>& args) {
  LaidOutSkin skin;
  std::vector<std::pair<std::string, std::string>> extra;
  if (int code = BuildLaidOutSkin(args, {"--out"}, &skin, &extra); code != kExitOk) return code;
  if (extra.empty()) return kExitUsage;
  const std::string& out = extra.back().second;

  ui::IRenderFactory* factory = ui::GlobalResources::Instance().RenderFactory();
  std::unique_ptr<ui::IRenderContext> render = factory->CreateRenderContext();
  render->Resize(skin.size.cx, skin.size.cy);
  render->Clear();
  const ui::UiRect whole{0, 0, skin.size.cx, skin.size.cy};
  skin.window->SetRenderContext(render.get());
  skin.window->Paint(render.get(), whole);
  if (!ui::WritePng(*render, out)) {
    std::printf("cannot write %s\n", out.c_str());
    return kExitParseError;
  }
  return kExitOk;
}

const SkinCommandRegistration kRender(
    {"render", "render FILE --size W,H --out FILE.png [--scale 100|125|150] [--global FILE] [--show|--hide NAME]...",
     "lay the skin out as the layout command does and paint it off-screen to a PNG", &RunRender});

}  // namespace
}  // namespace skin_tool
