#pragma once

#include "platform/utf.h"

// The UI's wide text is UTF-16; the conversions are the platform's.
namespace ui {

using platform::AppendUtf8ToUtf16;
using platform::ConvertUtf8ToUtf16;
using platform::Utf16ToUtf8;
using platform::Utf8ToUtf16;

}  // namespace ui
