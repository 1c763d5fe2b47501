#pragma once

// The liveness token of an object that hands out weak callbacks. Only its shared
// ownership matters: the flag is alive while an owning reference exists.
namespace nbase {

class WeakFlag {};

}  // namespace nbase
