// The body of a deliverable's exported `main`: checks the host, builds one
// plug-in object and hands out its effect record. Nothing thrown while
// building (a failed allocation) reaches the host: it gets null instead.
#pragma once

#include <new>

#include "VstInterface.h"

template <class Plugin>
AEffect* createEffect(audioMasterCallback hostCallback) {
  if (hostCallback == nullptr) return nullptr;
  if (hostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  try {
    return (new Plugin(hostCallback))->getEffectRecord();
  } catch (...) {
    return nullptr;
  }
}

// Defines the one symbol a deliverable exports. A C++ function may not be
// called main, so the symbol name is given as an assembler label.
#define STELLORIA_PLUGIN_MAIN(Plugin)                                                    \
  extern "C" __attribute__((visibility("default"))) AEffect* stelloriaPluginMain(       \
      audioMasterCallback hostCallback) __asm__("main");                                \
  extern "C" AEffect* stelloriaPluginMain(audioMasterCallback hostCallback) {           \
    return createEffect<Plugin>(hostCallback);                                           \
  }
