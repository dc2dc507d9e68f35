// Peak and RMS of left, right, mid and side: what the demo prints so a reader
// sees at a glance what a plug-in did to the stereo image.
#pragma once

#include <string>

#include "AudioFile.h"

namespace cli {

struct Level {
  double peak = 0.0;  // linear, 0..
  double rms = 0.0;
};

struct StereoLevels {
  Level left, right, mid, side;
};

//! Levels of a mono or stereo recording (mono counts as both channels).
StereoLevels measureLevels(const Audio& audio);

//! A table with one row per signal and peak and RMS in and out, in dBFS.
std::string levelTable(const StereoLevels& in, const StereoLevels& out);

//! dBFS with one decimal, "-inf" for silence.
std::string decibelText(double linear);

}  // namespace cli
