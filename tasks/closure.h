#pragma once

#include <functional>

// A task: a copyable callable without arguments or result. Small trivially
// copyable callables (a captured pointer or two) are stored without allocation.
namespace nbase {

using Closure = std::function<void()>;

}  // namespace nbase
