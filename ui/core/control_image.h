#pragma once

#include <memory>

#include "ui/core/image_spec.h"

namespace ui {

struct ImageInfo;

// An image attribute of a control: its spec, the shared picture once loaded
// and the frame state of an animated picture.
struct ControlImage {
  ImageSpec spec;
  std::shared_ptr<ImageInfo> image;
  int current_frame = 0;
  bool playing = false;
  int played = 0;  // completed loops of an animated picture

  void SetImageString(std::u16string_view text) {
    spec.SetImageString(text);
    ClearCache();
  }
  void ClearCache() {
    image.reset();
    current_frame = 0;
    playing = false;
    played = 0;
  }
  bool HasFile() const { return !spec.file_name.empty(); }
};

}  // namespace ui
