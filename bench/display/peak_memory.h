#pragma once

#include <fstream>
#include <string>

// Peak resident memory of the calling process in kB (VmHWM), 0 when unknown.
// Each benchmarked program reports its own: a child's rusage would also count
// the memory of the launcher that spawned it.
inline long PeakResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}
