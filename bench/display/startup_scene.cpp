#include "bench/display/startup_scene.h"

#include "platform/display/native_window.h"
#include "ui/render/font.h"
#include "ui/render/image_decoder.h"
#include "ui/render/render_factory_cairo.h"

bool StartupScene::Load(const std::string& shadow_png) {
  shadow_ = ui::DecodeImageFile(shadow_png);
  ui::RenderFactory_Cairo factory;
  context_ = factory.CreateRenderContext();
  return shadow_ && shadow_->Frame(0);
}

void StartupScene::Paint(platform::WindowHandle window) {
  ui::IRenderContext& c = *context_;
  c.Resize(kWidth, kHeight);
  const ui::UiRect all{0, 0, kWidth, kHeight};
  c.ClearRect(all);
  c.DrawImage(all, shadow_->Frame(0), shadow_->has_alpha, all, {0, 0, shadow_->width, shadow_->height},
              {30, 30, 30, 30});
  const ui::UiRect panel{14, 14, kWidth - 14, kHeight - 14};
  c.FillRect(panel, 0xFFFFFFFF);
  c.FillRect({14, 14, kWidth - 14, 60}, 0xFF2D8CF0);
  c.DrawText({30, 14, 400, 60}, u"Verimo图片转换器", 0xFFFFFFFF, 0, ui::kTextSingleLine | ui::kTextVCenter);
  c.DrawText({40, 150, kWidth - 40, 190}, u"安装位置：/opt/zorv/lumora", 0xFF333333, 0,
             ui::kTextSingleLine | ui::kTextVCenter | ui::kTextEndEllipsis);
  c.FillRect({214, 320, 414, 368}, 0xFF2D8CF0);
  c.DrawText({214, 320, 414, 368}, u"立即安装", 0xFFFFFFFF, 0,
             ui::kTextSingleLine | ui::kTextCenter | ui::kTextVCenter);
  c.RestoreAlpha(panel, {}, 0);
  platform::UpdateLayeredWindow(window, c.GetBits(), c.GetStride(), {kWidth, kHeight}, 255, nullptr);
}
