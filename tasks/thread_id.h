#pragma once

// Identifiers of the well-known threads in the ThreadManager.
namespace nbase {

enum ThreadId {
  kThreadUI = 0,
  kThreadGlobalMisc = 2,
  kThreadHttp = 6,
};

}  // namespace nbase
