// Stand-ins for broken third-party plug-ins, one per FAKE_* definition: no
// entry point, a null record, a record with a wrong magic, a crash and a hang
// in the entry point.
#include <csignal>
#include <cstring>

#include <unistd.h>

#include "VstInterface.h"

#ifndef FAKE_NOMAIN
extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback) {
#if defined(FAKE_NULL)
  return nullptr;
#elif defined(FAKE_MAGIC)
  static AEffect record;
  std::memset(&record, 0, sizeof record);
  record.magic = fourCharCode("Nope");
  return &record;
#elif defined(FAKE_CRASH)
  std::raise(SIGSEGV);
  return nullptr;
#elif defined(FAKE_HANG)
  for (;;) pause();
#endif
}
#else
extern "C" __attribute__((visibility("default"))) int notAPlugin() { return 0; }
#endif
