#pragma once

#include <cstdint>

// One I/O operation in flight: the operation record, then its handler. A handler
// that goes away first nulls the pointer; the pump then frees the context.
namespace nbase {

class IOHandler;

struct IOContext {
  struct Operation {
    uint64_t offset = 0;
    uint64_t reserved[3] = {0, 0, 0};
  };
  Operation operation;
  IOHandler* handler = nullptr;
};

}  // namespace nbase
