// EffectCore: the VST 1 effect base. Owns the effect record the host sees,
// keeps the host callback and the bookkeeping of the VST 1 opcodes, and turns
// dispatcher opcodes 0 to 24 into virtual calls. No audio processing here:
// every plug-in class supplies its own process().
//
// Unless a comment says otherwise, operations run on whichever host thread
// calls; one instance is never called from two threads at once.
#pragma once

#include "VstInterface.h"

class EffectCore {
 public:
  //! Clears and fills the effect record; numPrograms and numParams are what the host is told.
  EffectCore(audioMasterCallback hostCallback, int32_t numPrograms, int32_t numParams);
  virtual ~EffectCore();

  EffectCore(const EffectCore&) = delete;
  EffectCore& operator=(const EffectCore&) = delete;

  //! Parameter values are normalised (0..1 when the host behaves). Thread: any.
  virtual void setParameter(int32_t index, float value);
  virtual float getParameter(int32_t index);
  //! Sets the parameter locally, then tells the host (audioMasterAutomate).
  virtual void automate(int32_t index, float value);

  //! Adds one block of processed audio to the outputs. Thread: audio.
  virtual void process(float** inputs, float** outputs, int32_t sampleFrames) = 0;
  //! Overwrites the outputs with one block of processed audio. Thread: audio.
  virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames);

  //! The VST 1 opcodes 0 to 24; every other opcode answers 0.
  virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

  virtual void open();
  virtual void close();

  virtual int32_t getProgram();
  //! program is within 0..numPrograms-1: the dispatcher has checked it.
  virtual void setProgram(int32_t program);
  virtual void setProgramName(char* name);
  virtual void getProgramName(char* name);
  virtual void getParamLabel(int32_t index, char* label);
  virtual void getParamDisplay(int32_t index, char* text);
  virtual void getParamName(int32_t index, char* text);
  virtual float getVu();
  virtual int32_t getChunk(void** data, bool isPreset);
  virtual int32_t setChunk(void* data, int32_t byteSize, bool isPreset);
  //! Hz, stored as given.
  virtual void setSampleRate(float sampleRate);
  //! Largest block the host will pass, in sample frames.
  virtual void setBlockSize(int32_t blockSize);
  virtual void suspend();
  virtual void resume();

  virtual void setUniqueID(int32_t uniqueID);
  virtual void setNumInputs(int32_t inputs);
  virtual void setNumOutputs(int32_t outputs);
  virtual void setHasVu(bool state);
  virtual void setHasClip(bool state);
  virtual void setCanMono(bool state);
  virtual void setCanReplacing(bool state);
  virtual void setProgramChunks(bool state);
  virtual void setRealQualities(int32_t qualities);
  virtual void setOffQualities(int32_t qualities);
  virtual void setInitialDelay(int32_t delay);

  //! The stored values; the host is not asked.
  virtual float getSampleRate();
  virtual int32_t getBlockSize();

  // VST 1 host services: each answers a fixed default when there is no callback.
  virtual int32_t hostVersion();
  virtual int32_t currentId();
  virtual void hostIdle();
  virtual bool inputPinConnected(int32_t index);
  virtual bool outputPinConnected(int32_t index);

  // Display texts of at most eight characters; `text` holds at least nine bytes.
  //! Linear gain shown in decibels, "-oo" for 0 and below.
  virtual void formatDecibels(float value, char* text);
  //! A period in samples shown as a frequency in Hz.
  virtual void formatHertz(float samples, char* text);
  //! A length in samples shown in milliseconds.
  virtual void formatMilliseconds(float samples, char* text);
  virtual void formatFloat(float value, char* text);
  virtual void formatLong(int32_t value, char* text);

  AEffect* getEffectRecord() { return &effectRecord; }

 protected:
  void setFlag(int32_t flag, bool state);
  intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);

  float sampleRate;
  AEffEditor* editor;
  audioMasterCallback hostCallback;
  int32_t numPrograms;
  int32_t numParams;
  int32_t currentProgram;
  int32_t blockSize;
  AEffect effectRecord;
};
