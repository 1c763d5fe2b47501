#pragma once

// Something that removes its null entries when nobody is walking it.
namespace nbase {

class LazyEraser {
 public:
  virtual ~LazyEraser() = default;
  // Does nothing while a notification pass is under way.
  virtual void Erase() = 0;
};

}  // namespace nbase
