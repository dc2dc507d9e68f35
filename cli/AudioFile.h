// Audio files through libsndfile: reads anything it reads (WAV, FLAC, AIFF,
// Ogg...) into one float buffer per channel, and writes the format the output
// name's extension asks for. Whole files are held in memory: simple, and fine
// for the lengths people render from a shell.
#pragma once

#include <string>
#include <vector>

namespace cli {

struct Audio {
  int sampleRate = 48000;
  std::vector<std::vector<float>> channels;  // one buffer per channel, equal lengths

  size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

//! Reads a whole file; throws CliError naming the file for a missing,
//! unreadable, non-audio or damaged file.
Audio readAudio(const std::string& path);

//! Throws CliError unless `path`'s extension names a format we write.
void requireWritableFormat(const std::string& path);

//! Writes the file in full or not at all: 32-bit float for .wav, .aif(f) and
//! .caf, 24-bit for .flac, Vorbis for .ogg.
void writeAudio(const std::string& path, const Audio& audio);

}  // namespace cli
