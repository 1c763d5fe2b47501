#pragma once

#include <cstdint>
#include <string>

#include "platform/utf.h"

// Keyboard translation of the X11 backend: keysyms to the virtual-key numbers the
// window procedures see, and text to the UTF-16 units of character messages.
namespace platform {

// Virtual-key number of an unshifted keysym; 0 when the key has no number.
uint32_t KeysymToVirtualKey(unsigned long keysym);

// Unicode code point a keysym types on its own (used when no input method is
// available); 0 for keys that type nothing.
char32_t KeysymToCodePoint(unsigned long keysym);

}  // namespace platform
