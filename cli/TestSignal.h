// The demo's default stimulus: a stereo signal with clearly separate mid and
// side content (a 220 Hz tone in the mid, a quieter 660 Hz tone in the side)
// and transients (short noise bursts every half second, alternately in the
// mid and in the side), so delays, swaps and gains are all easy to see.
#pragma once

#include "AudioFile.h"

namespace cli {

//! `seconds` of stereo test signal at `sampleRate`; deterministic.
Audio makeTestSignal(double seconds, int sampleRate);

//! The mid/side pair of a stereo recording, as two channels (mid, side).
Audio encodeMidSide(const Audio& stereo);

}  // namespace cli
