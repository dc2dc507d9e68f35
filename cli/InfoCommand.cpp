// stelloria info: everything a host can ask a plug-in about itself, as text
// or as JSON for scripts.
#include <cstdio>
#include <sstream>

#include "Arguments.h"
#include "CliError.h"
#include "Commands.h"
#include "PluginSession.h"

namespace cli {
namespace {

const char* const kCapabilities[] = {
    "sendVstEvents",      "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent",
    "receiveVstTimeInfo", "offline",          "midiProgramNames", "bypass"};

const char* categoryName(intptr_t category) {
  static const char* const names[] = {"unknown",     "effect",         "synth",   "analysis",
                                      "mastering",   "spacializer",    "room fx", "surround fx",
                                      "restoration", "offline process", "shell",  "generator"};
  return category >= 0 && category < 12 ? names[category] : "unknown";
}

std::string flagNames(int32_t flags) {
  static const std::pair<int32_t, const char*> known[] = {
      {effFlagsHasEditor, "editor"},         {effFlagsCanMono, "can mono"},
      {effFlagsCanReplacing, "can replacing"}, {effFlagsProgramChunks, "program chunks"},
      {effFlagsIsSynth, "synth"},            {effFlagsNoSoundInStop, "no sound in stop"}};
  std::string names;
  for (const auto& [bit, name] : known)
    if (flags & bit) names += (names.empty() ? "" : ", ") + std::string(name);
  return names.empty() ? "none" : names;
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string capabilityAnswer(intptr_t answer) {
  return answer > 0 ? "yes" : answer < 0 ? "no" : "?";
}

struct Parameter {
  std::string name, label, display;
  float value;
};

std::vector<std::string> programNames(host::VstPlugin& plugin) {
  std::vector<std::string> names;
  const int32_t current = plugin.getProgram();
  for (int32_t i = 0; i < plugin.numPrograms(); ++i) {
    std::vector<char> buffer(256, '\0');
    if (plugin.dispatch(effGetProgramNameIndexed, i, -1, buffer.data()) != 0) {
      names.emplace_back(buffer.data());
    } else {
      // Not every plug-in answers by index; selecting each program always works.
      plugin.setProgram(i);
      names.push_back(plugin.programName());
    }
  }
  if (plugin.getProgram() != current) plugin.setProgram(current);
  return names;
}

}  // namespace

int runInfo(const CommandArguments& args) {
  const Arguments arguments(args, {{"json", false}});
  if (arguments.helpRequested()) {
    std::puts(
        "usage: stelloria info PLUGIN [--json]\n"
        "Shows the plug-in's identity, its answers to the usual capability\n"
        "questions, every parameter (index, name, label, value, display text)\n"
        "and every program name. PLUGIN is a path or a name on the search path.");
    return 0;
  }
  if (arguments.positionals().size() != 1)
    throw CliError("info needs one PLUGIN (see stelloria info --help)", true);

  PluginSession session(arguments.positionals()[0]);
  host::VstPlugin& plugin = session.plugin();
  const AEffect* record = plugin.effect();
  std::vector<Parameter> parameters;
  for (int32_t i = 0; i < plugin.numParams(); ++i)
    parameters.push_back({plugin.paramName(i), plugin.paramLabel(i), plugin.paramDisplay(i),
                          plugin.getParameter(i)});
  std::vector<std::pair<std::string, intptr_t>> capabilities;
  for (const char* capability : kCapabilities)
    capabilities.emplace_back(capability, plugin.canDo(capability));
  const std::vector<std::string> programs = programNames(plugin);
  const intptr_t category = plugin.category();

  std::ostringstream out;
  if (arguments.has("json")) {
    out << "{\n  \"path\": " << quoted(session.path())
        << ",\n  \"effectName\": " << quoted(plugin.effectName())
        << ",\n  \"vendor\": " << quoted(plugin.vendor())
        << ",\n  \"product\": " << quoted(plugin.product())
        << ",\n  \"vendorVersion\": " << plugin.vendorVersion()
        << ",\n  \"uniqueID\": " << quoted(host::fourCharText(plugin.uniqueID()))
        << ",\n  \"uniqueIDNumber\": " << plugin.uniqueID() << ",\n  \"category\": " << category
        << ",\n  \"categoryName\": " << quoted(categoryName(category))
        << ",\n  \"vstVersion\": " << plugin.vstVersion() << ",\n  \"flags\": " << record->flags
        << ",\n  \"initialDelay\": " << record->initialDelay
        << ",\n  \"inputs\": " << plugin.numInputs() << ",\n  \"outputs\": " << plugin.numOutputs()
        << ",\n  \"canDo\": {";
    for (size_t i = 0; i < capabilities.size(); ++i)
      out << (i ? ", " : "") << quoted(capabilities[i].first) << ": " << capabilities[i].second;
    out << "},\n  \"parameters\": [";
    for (size_t i = 0; i < parameters.size(); ++i)
      out << (i ? "," : "") << "\n    {\"index\": " << i
          << ", \"name\": " << quoted(parameters[i].name)
          << ", \"label\": " << quoted(parameters[i].label)
          << ", \"value\": " << parameters[i].value
          << ", \"display\": " << quoted(parameters[i].display) << "}";
    out << (parameters.empty() ? "]" : "\n  ]") << ",\n  \"programs\": [";
    for (size_t i = 0; i < programs.size(); ++i) out << (i ? ", " : "") << quoted(programs[i]);
    out << "]\n}\n";
  } else {
    out << "plug-in        " << session.path() << "\n"
        << "effect name    " << plugin.effectName() << "\n"
        << "vendor         " << plugin.vendor() << "\n"
        << "product        " << plugin.product() << "\n"
        << "vendor version " << plugin.vendorVersion() << "\n"
        << "unique ID      '" << host::fourCharText(plugin.uniqueID()) << "' ("
        << plugin.uniqueID() << ")\n"
        << "category       " << category << " (" << categoryName(category) << ")\n"
        << "VST version    " << plugin.vstVersion() << "\n"
        << "flags          " << flagNames(record->flags) << "\n"
        << "initial delay  " << record->initialDelay << " samples\n"
        << "inputs/outputs " << plugin.numInputs() << "/" << plugin.numOutputs() << "\n"
        << "can do        ";
    for (const auto& [name, answer] : capabilities)
      out << " " << name << "=" << capabilityAnswer(answer);
    out << "\nparameters     " << parameters.size() << "\n";
    for (size_t i = 0; i < parameters.size(); ++i) {
      char line[256];
      std::snprintf(line, sizeof line, "  %3zu  %-16s %-8s %-10g %s\n", i,
                    parameters[i].name.c_str(), parameters[i].label.c_str(),
                    static_cast<double>(parameters[i].value), parameters[i].display.c_str());
      out << line;
    }
    out << "programs       " << programs.size() << "\n";
    for (size_t i = 0; i < programs.size(); ++i) out << "  " << i << "  " << programs[i] << "\n";
  }
  std::fputs(out.str().c_str(), stdout);
  return 0;
}

}  // namespace cli
