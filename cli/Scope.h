// A picture of the stereo image before and after a plug-in, drawn with cairo:
// for input and output side by side, a vectorscope (mid up, side across) and
// the mid and side levels over time. Both halves share one scale, so a
// narrower or wider image shows as such.
#pragma once

#include <string>

#include "AudioFile.h"

namespace cli {

//! Writes a PNG, whole or not at all; throws CliError on failure.
void drawScope(const std::string& path, const Audio& input, const Audio& output,
               const std::string& title);

}  // namespace cli
