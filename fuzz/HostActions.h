// HostActions: plays a string of bytes as a hostile host would drive one
// plug-in: dispatcher calls with any opcode, index, value and opt, parameters
// with any float bit pattern and any index, blocks of any length up to the
// announced block size on buffers of any float bit patterns, in place or
// separate, sample rates and program changes of any value, names of any
// length, suspend and resume, and effClose followed by a fresh instance.
//
// The bytes are read as a plain sequence of actions rather than a structured
// format, so every input is valid and a fuzzer's mutations stay meaningful;
// the price is that an action's meaning shifts when a byte before it changes.
// Used by the fuzz targets and by the hostile-input tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "VstPlugin.h"

class HostActions {
 public:
  //! Longest block ever passed, whatever block size was announced.
  static constexpr int32_t kMaxFrames = 4096;

  //! Creates the first instance from library; throws std::runtime_error when it cannot.
  explicit HostActions(std::shared_ptr<host::PluginLibrary> library);

  //! Runs the actions the bytes describe, until they are used up.
  void play(const uint8_t* data, size_t size);

  //! Puts the instance back on finite ground: every parameter in 0..1 (from
  //! `seed`), a valid sample rate and block size, parameter 0 set once more,
  //! a suspend and a resume.
  void restoreFiniteSettings(uint32_t seed);
  //! Processes blocks of finite noise, in place and separate; true when every
  //! output sample is finite. `thorough` runs long enough to finish any ramp.
  bool finiteInGivesFiniteOut(uint32_t seed, bool thorough = true);

  host::VstPlugin& plugin() { return *instance; }
  //! Instances made so far, the first one included.
  int instancesMade() const { return made; }

 private:
  class Reader;

  void newInstance();
  void dispatch(Reader& in);
  void processBlock(Reader& in, bool replacing);
  void setProgramName(Reader& in);

  std::shared_ptr<host::PluginLibrary> library;
  std::unique_ptr<host::VstPlugin> instance;
  int32_t announcedBlockSize = 1024;
  int made = 0;
};
