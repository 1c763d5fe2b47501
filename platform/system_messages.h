#pragma once

#include <cstdint>
#include <string>

// Texts for the result codes the platform layer hands out.
namespace platform {

// The system's message for `code`, in English, without line breaks:
// - HRESULT-style codes (negative as int32) from a table of the ones this
//   layer returns (transfer failures, COM-style E_ codes, Win32 errors wrapped
//   as 0x8007xxxx);
// - registry results of registry_store.h above the errno range;
// - other non-negative codes as errno values (strerror).
// An unknown code gives the empty text.
std::string SystemMessageText(int32_t code);

}  // namespace platform
