#include "VstPlugin.h"

#include <dlfcn.h>

#include <cstring>
#include <utility>

namespace host {
namespace {

// The instance whose `main` is running: the plug-in has no record to call with yet.
thread_local VstPlugin* instanceBeingCreated = nullptr;

}  // namespace

std::shared_ptr<PluginLibrary> PluginLibrary::open(const std::string& path, std::string* error) {
  // A bare name would make dlopen search the library path instead of the file.
  const std::string target = path.find('/') == std::string::npos ? "./" + path : path;
  void* handle = dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    if (error) *error = path + ": cannot load: " + (reason ? reason : "unknown error");
    return nullptr;
  }
  void* symbol = dlsym(handle, "VSTPluginMain");
  if (symbol == nullptr) symbol = dlsym(handle, "main");
  if (symbol == nullptr) {
    dlclose(handle);
    if (error) *error = path + ": not a VST 2 plug-in (no VSTPluginMain or main)";
    return nullptr;
  }
  return std::shared_ptr<PluginLibrary>(
      new PluginLibrary(handle, reinterpret_cast<MainFunction>(symbol), path));
}

PluginLibrary::PluginLibrary(void* handle, MainFunction entryPoint, std::string path)
    : handle(handle), entryPoint(entryPoint), libraryPath(std::move(path)) {}

PluginLibrary::~PluginLibrary() { dlclose(handle); }

VstPlugin::VstPlugin(std::shared_ptr<PluginLibrary> library, Answers answers)
    : pluginLibrary(std::move(library)), answers(std::move(answers)) {
  this->answers.emplace(audioMasterVersion, 2400);
}

std::unique_ptr<VstPlugin> VstPlugin::create(std::shared_ptr<PluginLibrary> library,
                                             std::string* error, Answers answers) {
  std::unique_ptr<VstPlugin> plugin(new VstPlugin(library, std::move(answers)));
  instanceBeingCreated = plugin.get();
  AEffect* record = library->entry()(&VstPlugin::hostCallback);
  instanceBeingCreated = nullptr;
  if (record == nullptr) {
    if (error) *error = library->path() + ": the plug-in returned no effect record";
    return nullptr;
  }
  if (record->magic != kEffectMagic) {
    if (error) *error = library->path() + ": not a VST 2 effect record (wrong magic)";
    return nullptr;
  }
  plugin->record = record;
  record->user = plugin.get();
  return plugin;
}

std::unique_ptr<VstPlugin> VstPlugin::load(const std::string& path, std::string* error,
                                           Answers answers) {
  auto library = PluginLibrary::open(path, error);
  if (!library) return nullptr;
  return create(std::move(library), error, std::move(answers));
}

VstPlugin::~VstPlugin() {
  if (record != nullptr) close();
}

intptr_t VstPlugin::close() {
  if (record == nullptr) return 0;
  AEffect* closing = record;
  record = nullptr;
  return closing->dispatcher(closing, effClose, 0, 0, nullptr, 0.0f);
}

intptr_t VstPlugin::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  return record->dispatcher(record, opcode, index, value, ptr, opt);
}

std::string VstPlugin::dispatchText(int32_t opcode, int32_t index, intptr_t value,
                                    size_t bufferSize) {
  std::vector<char> buffer(bufferSize + 1, '\0');
  dispatch(opcode, index, value, buffer.data());
  buffer[bufferSize] = '\0';
  return buffer.data();
}

void VstPlugin::setProgramName(const std::string& name) {
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  dispatch(effSetProgramName, 0, 0, buffer.data());
}

intptr_t VstPlugin::canDo(const std::string& capability) {
  std::vector<char> buffer(capability.begin(), capability.end());
  buffer.push_back('\0');
  return dispatch(effCanDo, 0, 0, buffer.data());
}

intptr_t VstPlugin::hostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                 void* ptr, float opt) {
  VstPlugin* plugin = effect != nullptr && effect->user != nullptr
                          ? static_cast<VstPlugin*>(effect->user)
                          : instanceBeingCreated;
  const HostCall call{effect != nullptr, opcode, index, value, ptr, opt};
  if (plugin == nullptr) return opcode == audioMasterVersion ? 2400 : 0;
  plugin->hostCalls.push_back(call);
  return plugin->answerCall(call);
}

intptr_t VstPlugin::answerCall(const HostCall& call) {
  const auto found = answers.find(call.opcode);
  return found == answers.end() ? 0 : found->second;
}

std::string fourCharText(int32_t code) {
  std::string text(4, '.');
  for (int i = 0; i < 4; ++i) {
    const char c = static_cast<char>((static_cast<uint32_t>(code) >> (24 - 8 * i)) & 0xFF);
    if (c >= 32 && c < 127) text[static_cast<size_t>(i)] = c;
  }
  return text;
}

}  // namespace host
