#pragma once

#include "tasks/message_loop.h"

// A loop whose pump is the completion-port pump.
namespace nbase {

class IOMessageLoop : public MessageLoop {};

}  // namespace nbase
