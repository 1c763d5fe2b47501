#include "platform/system_messages.h"

#include <cstring>

namespace platform {

namespace {

struct Message {
  uint32_t code;
  const char* text;
};

// The codes this layer returns that are not errno values.
constexpr Message kMessages[] = {
    {0x80004001u, "Not implemented."},
    {0x80004002u, "No such interface supported."},
    {0x80004004u, "Operation aborted."},
    {0x80004005u, "Unspecified error."},
    {0x8007000Eu, "Not enough memory resources are available to complete this operation."},
    {0x80070005u, "Access is denied."},
    {0x80070002u, "The system cannot find the file specified."},
    {0x80070003u, "The system cannot find the path specified."},
    {0x80070057u, "The parameter is incorrect."},
    {0x80070070u, "There is not enough space on the disk."},
    {0x80010109u, "Retry the operation."},
    {0x800C0002u, "Invalid URL."},
    {0x800C0003u, "No Internet session has been established."},
    {0x800C0004u, "Unable to connect to the target server."},
    {0x800C0005u, "The system cannot locate the resource specified."},
    {0x800C0006u, "The system cannot locate the object specified."},
    {0x800C0007u, "No data is available for the requested resource."},
    {0x800C0008u, "The download of the specified resource has failed."},
    {0x800C0009u, "Authentication is required to access this resource."},
    {0x800C000Bu, "The operation timed out."},
    {0x800C000Cu, "The server returned an invalid or unrecognized response."},
    {0x800C000Eu, "A security problem occurred."},
    {0x800C0014u, "A redirection problem occurred."},
    {1016u, "An I/O operation initiated by the registry failed unrecoverably."},
};

}  // namespace

std::string SystemMessageText(int32_t code) {
  uint32_t bits = static_cast<uint32_t>(code);
  for (const Message& m : kMessages) {
    if (m.code == bits) return m.text;
  }
  if (code < 0) return {};
  char buffer[256];
  // The GNU strerror_r returns the text, which may not be in the buffer.
  const char* text = strerror_r(code, buffer, sizeof(buffer));
  if (text == nullptr || std::strncmp(text, "Unknown error", 13) == 0) return {};
  std::string result;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p != '\r' && *p != '\n') result += *p;
  }
  return result;
}

}  // namespace platform
