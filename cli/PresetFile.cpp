#include "PresetFile.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "CliError.h"
#include "PendingFile.h"
#include "VstPlugin.h"

namespace cli {
namespace {

constexpr int32_t kChunkMagic = fourCharCode("CcnK");
constexpr int32_t kProgramMagic = fourCharCode("FxCk");
constexpr int32_t kBankMagic = fourCharCode("FxBk");
constexpr size_t kNameBytes = 28;
constexpr size_t kReservedBytes = 128;
constexpr size_t kProgramHeaderBytes = 7 * 4 + kNameBytes;  // up to the first value

void putInt(std::vector<uint8_t>& bytes, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(bits >> shift));
}

void putFloat(std::vector<uint8_t>& bytes, float value) {
  int32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  putInt(bytes, bits);
}

void putProgram(std::vector<uint8_t>& bytes, const Preset& preset, const PresetProgram& program) {
  putInt(bytes, kChunkMagic);
  putInt(bytes, static_cast<int32_t>(kProgramHeaderBytes - 8 + 4 * program.values.size()));
  putInt(bytes, kProgramMagic);
  putInt(bytes, 1);
  putInt(bytes, preset.uniqueID);
  putInt(bytes, preset.pluginVersion);
  putInt(bytes, static_cast<int32_t>(program.values.size()));
  char name[kNameBytes] = {};
  std::strncpy(name, program.name.c_str(), kNameBytes - 1);
  bytes.insert(bytes.end(), name, name + kNameBytes);
  for (float value : program.values) putFloat(bytes, value);
}

// Reads big-endian fields and reports a short or malformed file by its name.
class Reader {
 public:
  Reader(const std::vector<uint8_t>& bytes, const std::string& path) : bytes(bytes), path(path) {}
  int32_t getInt(const char* field) {
    need(4, field);
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits = (bits << 8) | bytes[position++];
    return static_cast<int32_t>(bits);
  }
  float getFloat(const char* field) {
    const int32_t bits = getInt(field);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  std::string getName() {
    need(kNameBytes, "program name");
    const char* start = reinterpret_cast<const char*>(bytes.data() + position);
    position += kNameBytes;
    return std::string(start, strnlen(start, kNameBytes));
  }
  void skip(size_t count, const char* field) {
    need(count, field);
    position += count;
  }
  size_t remaining() const { return bytes.size() - position; }

 private:
  void need(size_t count, const char* field) {
    if (bytes.size() - position < count)
      throw CliError(path + ": damaged preset file (ends inside the " + field + ")");
  }
  const std::vector<uint8_t>& bytes;
  const std::string& path;
  size_t position = 0;
};

PresetProgram readProgram(Reader& reader, Preset& preset, const std::string& path, bool inBank) {
  if (reader.getInt("header") != kChunkMagic)
    throw CliError(path + ": not a VST preset file (no 'CcnK' at the start" +
                   std::string(inBank ? " of a program" : "") + ")");
  reader.getInt("byte size");
  const int32_t magic = reader.getInt("header");
  if (magic != kProgramMagic) {
    if (magic == fourCharCode("FPCh") || magic == fourCharCode("FBCh"))
      throw CliError(path + ": holds a plug-in's private chunk, which stelloria cannot load");
    throw CliError(path + ": not a VST program in parameter form (no 'FxCk')");
  }
  reader.getInt("format version");
  const int32_t uniqueID = reader.getInt("unique ID");
  const int32_t version = reader.getInt("plug-in version");
  if (!inBank) {
    preset.uniqueID = uniqueID;
    preset.pluginVersion = version;
  }
  const int32_t count = reader.getInt("parameter count");
  if (count < 0 || static_cast<size_t>(count) > reader.remaining() / 4)
    throw CliError(path + ": damaged preset file (parameter count " + std::to_string(count) + ")");
  PresetProgram program;
  program.name = reader.getName();
  for (int32_t i = 0; i < count; ++i) program.values.push_back(reader.getFloat("parameters"));
  return program;
}

}  // namespace

bool isBankPath(const std::string& path) {
  auto endsWith = [&](const char* suffix) {
    const size_t length = std::strlen(suffix);
    return path.size() >= length && strcasecmp(path.c_str() + path.size() - length, suffix) == 0;
  };
  if (endsWith(".fxb")) return true;
  if (endsWith(".fxp")) return false;
  throw CliError(path + ": a preset file must end in .fxp (one program) or .fxb (a bank)", true);
}

Preset readPreset(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  if (!stream) throw CliError(path + ": no such file or not readable");
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                   std::istreambuf_iterator<char>());
  Reader reader(bytes, path);
  Preset preset;
  if (bytes.size() >= 12 && std::memcmp(bytes.data() + 8, "FxBk", 4) == 0) {
    preset.bank = true;
    reader.getInt("header");
    reader.getInt("byte size");
    reader.getInt("header");
    reader.getInt("format version");
    preset.uniqueID = reader.getInt("unique ID");
    preset.pluginVersion = reader.getInt("plug-in version");
    const int32_t count = reader.getInt("program count");
    if (count < 0 || static_cast<size_t>(count) > bytes.size() / kProgramHeaderBytes)
      throw CliError(path + ": damaged bank file (program count " + std::to_string(count) + ")");
    reader.skip(kReservedBytes, "reserved bytes");
    for (int32_t i = 0; i < count; ++i) {
      Preset inner;
      preset.programs.push_back(readProgram(reader, inner, path, true));
    }
  } else {
    preset.programs.push_back(readProgram(reader, preset, path, false));
  }
  return preset;
}

void writePreset(const std::string& path, const Preset& preset) {
  std::vector<uint8_t> bytes;
  if (preset.bank) {
    std::vector<uint8_t> body;
    for (const PresetProgram& program : preset.programs) putProgram(body, preset, program);
    putInt(bytes, kChunkMagic);
    putInt(bytes, static_cast<int32_t>(5 * 4 + kReservedBytes + body.size()));
    putInt(bytes, kBankMagic);
    putInt(bytes, 1);
    putInt(bytes, preset.uniqueID);
    putInt(bytes, preset.pluginVersion);
    putInt(bytes, static_cast<int32_t>(preset.programs.size()));
    bytes.insert(bytes.end(), kReservedBytes, 0);
    bytes.insert(bytes.end(), body.begin(), body.end());
  } else {
    putProgram(bytes, preset, preset.programs.at(0));
  }

  PendingFile pending(path);
  std::FILE* file = std::fopen(pending.temporaryPath().c_str(), "wb");
  if (file == nullptr) throw CliError(path + ": cannot write");
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) throw CliError(path + ": cannot write");
  pending.commit();
}

Preset capturePreset(host::VstPlugin& plugin, bool bank) {
  Preset preset;
  preset.bank = bank;
  preset.uniqueID = plugin.uniqueID();
  preset.pluginVersion = plugin.effect()->version;
  auto captureCurrent = [&plugin] {
    PresetProgram program;
    program.name = plugin.programName();
    for (int32_t i = 0; i < plugin.numParams(); ++i) program.values.push_back(plugin.getParameter(i));
    return program;
  };
  if (!bank) {
    preset.programs.push_back(captureCurrent());
    return preset;
  }
  const int32_t current = plugin.getProgram();
  for (int32_t i = 0; i < plugin.numPrograms(); ++i) {
    plugin.setProgram(i);
    preset.programs.push_back(captureCurrent());
  }
  plugin.setProgram(current);
  return preset;
}

void applyPreset(host::VstPlugin& plugin, const Preset& preset, const std::string& path) {
  const std::string pluginName = plugin.effectName().empty() ? plugin.library()->path()
                                                             : plugin.effectName();
  if (preset.uniqueID != plugin.uniqueID())
    throw CliError(path + ": preset is for the plug-in with unique ID '" +
                   host::fourCharText(preset.uniqueID) + "', not " + pluginName + " ('" +
                   host::fourCharText(plugin.uniqueID()) + "')");
  for (const PresetProgram& program : preset.programs)
    if (program.values.size() != static_cast<size_t>(plugin.numParams()))
      throw CliError(path + ": preset holds " + std::to_string(program.values.size()) +
                     " parameters, " + pluginName + " has " + std::to_string(plugin.numParams()));
  if (preset.bank && preset.programs.size() > static_cast<size_t>(plugin.numPrograms()))
    throw CliError(path + ": bank holds " + std::to_string(preset.programs.size()) +
                   " programs, " + pluginName + " has " + std::to_string(plugin.numPrograms()));

  auto load = [&plugin](const PresetProgram& program) {
    // Hosts keep program names within the VST limit; plug-ins copy without a check.
    plugin.setProgramName(program.name.substr(0, kVstMaxProgNameLen - 1));
    for (size_t i = 0; i < program.values.size(); ++i)
      plugin.setParameter(static_cast<int32_t>(i), program.values[i]);
  };
  if (!preset.bank) {
    load(preset.programs[0]);
    return;
  }
  for (size_t i = 0; i < preset.programs.size(); ++i) {
    plugin.setProgram(static_cast<intptr_t>(i));
    load(preset.programs[i]);
  }
  plugin.setProgram(0);
}

}  // namespace cli
