#include "installer/shell/misc_thread.h"

#include "tasks/thread_manager.h"

MiscThread::MiscThread(const char* name, int identifier)
    : nbase::FrameworkThread(name), identifier_(identifier) {}

// Joins here, while Cleanup is still this class's.
MiscThread::~MiscThread() { Stop(); }

void MiscThread::Init() {
  if (identifier_ >= 0) nbase::ThreadManager::RegisterThread(identifier_);
}

void MiscThread::Cleanup() { nbase::ThreadManager::UnregisterThread(); }
