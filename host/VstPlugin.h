// The host side of the VST 2 interface: loads a plug-in shared library the way
// a DAW does (dlopen, then `main` or `VSTPluginMain`), answers its host
// callback, records every call the plug-in makes to its host, and wraps the
// dispatcher, parameters and processing in a typed interface.
//
// No test-framework code here: tests, the command-line host and the
// benchmarks all use it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "VstInterface.h"

namespace host {

//! One call a plug-in made to its host.
struct HostCall {
  bool hadEffect;  // false for the calls `main` makes before the record exists
  int32_t opcode;
  int32_t index;
  intptr_t value;
  void* ptr;
  float opt;
};

//! A loaded plug-in library. Instances made from it must be closed before it goes.
class PluginLibrary {
 public:
  //! Loads the library; on failure returns null and says why in `error`.
  static std::shared_ptr<PluginLibrary> open(const std::string& path, std::string* error);
  ~PluginLibrary();

  using MainFunction = AEffect* (*)(audioMasterCallback);
  MainFunction entry() const { return entryPoint; }
  const std::string& path() const { return libraryPath; }

 private:
  PluginLibrary(void* handle, MainFunction entryPoint, std::string path);
  void* handle;
  MainFunction entryPoint;
  std::string libraryPath;
};

//! One plug-in instance and the host it talks to.
class VstPlugin {
 public:
  //! Answers the host gives to the plug-in, by host opcode. audioMasterVersion
  //! answers 2400 unless changed; everything else 0.
  using Answers = std::map<int32_t, intptr_t>;

  //! Calls the library's entry; null (with `error` set) when it returns no record
  //! or a record with a wrong magic.
  static std::unique_ptr<VstPlugin> create(std::shared_ptr<PluginLibrary> library,
                                           std::string* error, Answers answers = {});
  //! Loads the library and creates one instance.
  static std::unique_ptr<VstPlugin> load(const std::string& path, std::string* error,
                                         Answers answers = {});
  //! Sends effClose unless close() was called.
  ~VstPlugin();

  VstPlugin(const VstPlugin&) = delete;
  VstPlugin& operator=(const VstPlugin&) = delete;

  AEffect* effect() const { return record; }
  const std::shared_ptr<PluginLibrary>& library() const { return pluginLibrary; }

  //! The raw dispatcher.
  intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
  //! A text opcode: a zeroed buffer of `bufferSize` bytes is passed and read back.
  std::string dispatchText(int32_t opcode, int32_t index = 0, intptr_t value = 0,
                           size_t bufferSize = 256);

  void open() { dispatch(effOpen); }
  //! effClose; the record is invalid afterwards. Answers what the plug-in answered.
  intptr_t close();
  void setSampleRate(float rate) { dispatch(effSetSampleRate, 0, 0, nullptr, rate); }
  void setBlockSize(int32_t frames) { dispatch(effSetBlockSize, 0, frames); }
  void mainsChanged(bool on) { dispatch(effMainsChanged, 0, on ? 1 : 0); }
  void setProgram(intptr_t program) { dispatch(effSetProgram, 0, program); }
  int32_t getProgram() { return static_cast<int32_t>(dispatch(effGetProgram)); }
  void setProgramName(const std::string& name);
  std::string programName() { return dispatchText(effGetProgramName); }
  std::string paramName(int32_t index) { return dispatchText(effGetParamName, index); }
  std::string paramLabel(int32_t index) { return dispatchText(effGetParamLabel, index); }
  std::string paramDisplay(int32_t index) { return dispatchText(effGetParamDisplay, index); }
  std::string effectName() { return dispatchText(effGetEffectName); }
  std::string vendor() { return dispatchText(effGetVendorString); }
  std::string product() { return dispatchText(effGetProductString); }
  intptr_t vendorVersion() { return dispatch(effGetVendorVersion); }
  intptr_t vstVersion() { return dispatch(effGetVstVersion); }
  intptr_t category() { return dispatch(effGetPlugCategory); }
  intptr_t canDo(const std::string& capability);

  void setParameter(int32_t index, float value) { record->setParameter(record, index, value); }
  float getParameter(int32_t index) { return record->getParameter(record, index); }

  void processReplacing(float** inputs, float** outputs, int32_t frames) {
    record->processReplacing(record, inputs, outputs, frames);
  }
  void process(float** inputs, float** outputs, int32_t frames) {
    record->process(record, inputs, outputs, frames);
  }

  int32_t numParams() const { return record->numParams; }
  int32_t numPrograms() const { return record->numPrograms; }
  int32_t numInputs() const { return record->numInputs; }
  int32_t numOutputs() const { return record->numOutputs; }
  int32_t uniqueID() const { return record->uniqueID; }
  int32_t flags() const { return record->flags; }

  //! Every call the plug-in made to this host, `main`'s included.
  const std::vector<HostCall>& calls() const { return hostCalls; }
  void clearCalls() { hostCalls.clear(); }
  //! Answers from now on.
  void setAnswer(int32_t opcode, intptr_t answer) { answers[opcode] = answer; }

  //! The host callback given to every plug-in loaded through this class.
  static intptr_t hostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                               void* ptr, float opt);

 private:
  VstPlugin(std::shared_ptr<PluginLibrary> library, Answers answers);
  intptr_t answerCall(const HostCall& call);

  std::shared_ptr<PluginLibrary> pluginLibrary;
  AEffect* record = nullptr;
  Answers answers;
  std::vector<HostCall> hostCalls;
};

//! Four-character code as text ("Lind"); non-printable bytes become '.'.
std::string fourCharText(int32_t code);

}  // namespace host
