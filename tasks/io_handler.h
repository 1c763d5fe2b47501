#pragma once

#include <cstdint>

// Receives the completions of its I/O operations; its address is the completion key.
namespace nbase {

struct IOContext;

class IOHandler {
 public:
  virtual ~IOHandler() = default;
  virtual void OnIOCompleted(IOContext* context, uint32_t bytes_transferred, uint32_t error) = 0;
};

}  // namespace nbase
