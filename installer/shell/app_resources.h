#pragma once

#include <string>

// The distribution channel carried by the executable ("CHANNEL" 138), decoded
// from UTF-8 (at most 260 bytes; malformed bytes become U+FFFD). False, with
// `text` untouched, when the executable carries no channel; a present but empty
// channel gives true and an empty text.
bool ReadChannelResource(std::u16string& text);

// The executable's file version as "major.minor.build.revision", "1.0.0.0" when
// it carries none. Computed by the first call and returned by every later one,
// whatever path is passed; an empty path means the running executable, and the
// version of any other file is not readable here, so it gives "1.0.0.0".
std::u16string GetFileVersionText(const std::u16string& path);
