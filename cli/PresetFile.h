// VST 2 program (.fxp) and bank (.fxb) files in the parameter form hosts save
// for plug-ins without chunks. Big-endian throughout. A program file is
// 'CcnK', byte size, 'FxCk', version 1, unique ID, plug-in version, parameter
// count, a 28-byte name, one float per parameter; a bank file is 'CcnK', byte
// size, 'FxBk', version, unique ID, plug-in version, program count, 128
// reserved bytes, then that many whole program files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace host {
class VstPlugin;
}

namespace cli {

struct PresetProgram {
  std::string name;
  std::vector<float> values;  // normalised, in parameter order
};

struct Preset {
  bool bank = false;  // a .fxb holds every program, a .fxp one
  int32_t uniqueID = 0;
  int32_t pluginVersion = 0;
  std::vector<PresetProgram> programs;
};

//! Reads and checks a file; throws CliError naming the file and what is wrong.
Preset readPreset(const std::string& path);
//! Writes the file whole or not at all; a bank if `path` ends in .fxb.
void writePreset(const std::string& path, const Preset& preset);
//! True when `path` ends in .fxb (a bank); throws CliError unless .fxp or .fxb.
bool isBankPath(const std::string& path);

//! The plug-in's current program, or with `bank` all its programs (selecting
//! each in turn and coming back to the current one).
Preset capturePreset(host::VstPlugin& plugin, bool bank);
//! Loads `preset` into the plug-in; throws CliError (naming `path`) when it is
//! for another plug-in or another parameter or program count.
void applyPreset(host::VstPlugin& plugin, const Preset& preset, const std::string& path);

}  // namespace cli
