#include "AudioFile.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>

#include "CliError.h"
#include "PendingFile.h"

namespace cli {
namespace {

int formatFor(const std::string& path) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return 0;
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "wav") return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  if (extension == "aif" || extension == "aiff") return SF_FORMAT_AIFF | SF_FORMAT_FLOAT;
  if (extension == "caf") return SF_FORMAT_CAF | SF_FORMAT_FLOAT;
  if (extension == "flac") return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
  if (extension == "ogg" || extension == "oga") return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
  return 0;
}

// libsndfile reads a file cut short without complaint, but notes in its log
// that a chunk is shorter than its header says ("data : 38400 (should be 9912)").
bool cutShort(SNDFILE* file) {
  char log[8192] = {};
  sf_command(file, SFC_GET_LOG_INFO, log, sizeof log);
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("data :", 0) != 0 && line.rfind("SSND :", 0) != 0) continue;
    unsigned long long declared = 0;
    unsigned long long actual = 0;
    if (std::sscanf(line.c_str() + 6, "%llu (should be %llu)", &declared, &actual) == 2 &&
        declared > actual && declared < 0xFFFFFFFFull)
      return true;
  }
  return false;
}

}  // namespace

Audio readAudio(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) throw CliError(path + ": no such file");
  if (S_ISDIR(status.st_mode)) throw CliError(path + ": is a folder, not an audio file");

  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr)
    throw CliError(path + ": not an audio file that can be read (" + sf_strerror(nullptr) + ")");
  if (info.channels < 1 || info.channels > 2) {
    sf_close(file);
    throw CliError(path + ": has " + std::to_string(info.channels) +
                   " channels; only mono and stereo files can be rendered");
  }
  if (info.samplerate <= 0) {
    sf_close(file);
    throw CliError(path + ": damaged (sample rate " + std::to_string(info.samplerate) + ")");
  }
  if (cutShort(file)) {
    sf_close(file);
    throw CliError(path + ": damaged (the file ends before its audio data does)");
  }

  // Read in pieces rather than trusting the header's frame count: a damaged
  // file may claim more than it holds.
  const int channelCount = info.channels;
  Audio audio;
  audio.sampleRate = info.samplerate;
  audio.channels.assign(static_cast<size_t>(channelCount), {});
  std::vector<float> interleaved(4096 * static_cast<size_t>(channelCount));
  for (;;) {
    const sf_count_t got = sf_readf_float(file, interleaved.data(), 4096);
    if (got <= 0) break;
    for (sf_count_t frame = 0; frame < got; ++frame)
      for (int channel = 0; channel < channelCount; ++channel)
        audio.channels[static_cast<size_t>(channel)].push_back(
            interleaved[static_cast<size_t>(frame * channelCount + channel)]);
  }
  const int failure = sf_error(file);
  const std::string reason = sf_strerror(file);
  sf_close(file);
  if (failure != SF_ERR_NO_ERROR) throw CliError(path + ": damaged (" + reason + ")");
  if (info.frames > 0 && static_cast<sf_count_t>(audio.frames()) < info.frames)
    throw CliError(path + ": damaged (holds " + std::to_string(audio.frames()) + " of " +
                   std::to_string(info.frames) + " frames)");
  return audio;
}

void requireWritableFormat(const std::string& path) {
  if (formatFor(path) == 0)
    throw CliError(path + ": unknown output format (use .wav, .flac, .aiff, .caf or .ogg)");
}

void writeAudio(const std::string& path, const Audio& audio) {
  requireWritableFormat(path);
  PendingFile pending(path);
  SF_INFO info{};
  info.samplerate = audio.sampleRate;
  info.channels = static_cast<int>(audio.channels.size());
  info.format = formatFor(path);
  if (!sf_format_check(&info))
    throw CliError(path + ": this format cannot hold " + std::to_string(info.channels) +
                   " channels at " + std::to_string(info.samplerate) + " Hz");
  SNDFILE* file = sf_open(pending.temporaryPath().c_str(), SFM_WRITE, &info);
  if (file == nullptr) throw CliError(path + ": cannot write (" + sf_strerror(nullptr) + ")");
  // Integer formats clip instead of wrapping around.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);

  const size_t channelCount = audio.channels.size();
  const size_t frames = audio.frames();
  std::vector<float> interleaved(4096 * channelCount);
  bool failed = false;
  for (size_t start = 0; start < frames && !failed; start += 4096) {
    const size_t count = std::min<size_t>(4096, frames - start);
    for (size_t frame = 0; frame < count; ++frame)
      for (size_t channel = 0; channel < channelCount; ++channel)
        interleaved[frame * channelCount + channel] = audio.channels[channel][start + frame];
    failed = sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(count)) !=
             static_cast<sf_count_t>(count);
  }
  const std::string reason = sf_strerror(file);
  if (sf_close(file) != 0 || failed) throw CliError(path + ": cannot write (" + reason + ")");
  pending.commit();
}

}  // namespace cli
