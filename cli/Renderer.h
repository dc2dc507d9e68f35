// Offline rendering: runs a whole file through a plug-in block by block with
// processReplacing (or process on zeroed outputs for a plug-in that cannot
// replace), then keeps feeding silence for the tail so echoes ring out.
// A mono file feeds both inputs; further plug-in inputs get silence.
#pragma once

#include <cstdint>

#include "AudioFile.h"

namespace host {
class VstPlugin;
}

namespace cli {

struct RenderSettings {
  int32_t blockFrames = 512;
  double tailSeconds = 0.0;
  bool showProgress = true;
};

//! Switches the plug-in on, renders, switches it off. The output has the
//! plug-in's first two outputs (one, for a mono plug-in), input length plus tail.
Audio render(host::VstPlugin& plugin, const Audio& input, const RenderSettings& settings);

}  // namespace cli
