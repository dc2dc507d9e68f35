// EffectExtended: the VST 2 layer of the effect base and the direct base of
// every plug-in class. Answers dispatcher opcodes 25 to 76 with one virtual
// call each (defaults are the answers of a plug-in with nothing to say) and
// hands every other opcode to EffectCore. Also wraps the VST 2 host services
// and builds, releases and copies speaker arrangements.
#pragma once

#include "EffectCore.h"

//! The vocabulary of effCanDo questions a plug-in may be asked.
extern const char* const plugCanDoStrings[26];
//! The vocabulary of audioMasterCanDo questions a plug-in may put to its host.
extern const char* const hostCanDoStrings[17];

class EffectExtended : public EffectCore {
 public:
  EffectExtended(audioMasterCallback hostCallback, int32_t numPrograms, int32_t numParams);
  ~EffectExtended() override;

  //! Opcodes 25 to 76 here; everything else goes to EffectCore::dispatcher.
  intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                      float opt) override;

  virtual AEffEditor* getEditor();
  // Host services (audioMaster opcodes); without a callback each answers its default.
  virtual void wantMidi(int32_t filter = 1);
  virtual VstTimeInfo* getTime(int32_t filter);
  virtual int32_t tempoAt(int32_t position);
  //! Events the host sends; the default ignores them.
  virtual int32_t processEvents(VstEvents* events);
  virtual int32_t getNumAutomatableParameters();
  virtual int32_t getParameterQuantization();
  virtual bool canBeAutomated(int32_t index);
  virtual bool string2Parameter(int32_t index, char* text);
  virtual int32_t getNumProgramCategories();
  virtual bool getProgramNameIndexed(int32_t category, int32_t index, char* text);
  virtual bool copyProgram(int32_t destination);
  virtual bool ioChanged();
  virtual bool needIdle();
  virtual bool sizeWindow(int32_t width, int32_t height);
  //! Asks the host; a positive answer replaces the stored sample rate.
  virtual float hostGetSampleRate();
  //! Asks the host; a positive answer replaces the stored block size.
  virtual int32_t hostGetBlockSize();
  virtual int32_t getInputLatency();
  virtual int32_t getOutputLatency();
  virtual AEffect* getPreviousPlug(int32_t pin);
  virtual AEffect* getNextPlug(int32_t pin);
  virtual void connectInput(int32_t index, bool connected);
  virtual void connectOutput(int32_t index, bool connected);
  virtual bool getInputProperties(int32_t index, VstPinProperties* properties);
  virtual bool getOutputProperties(int32_t index, VstPinProperties* properties);
  virtual int32_t getPlugCategory();
  virtual int32_t willReplaceOrAccumulate();
  virtual int32_t getCurrentProcessLevel();
  virtual int32_t getAutomationState();
  virtual void setExtIsAsync(bool state);
  virtual void setExtHasBuffer(bool state);
  virtual int32_t getCurrentPosition();
  virtual float* getDestinationBuffer();
  virtual bool offlineRead(VstOfflineTask* task, int32_t option, bool readSource = true);
  virtual bool offlineWrite(VstOfflineTask* task, int32_t option);
  virtual bool offlineStart(VstAudioFile* audioFiles, int32_t numAudioFiles,
                            int32_t numNewAudioFiles);
  virtual int32_t offlineGetCurrentPass();
  virtual int32_t offlineGetCurrentMetaPass();
  virtual bool offlineNotify(VstAudioFile* audioFiles, int32_t numAudioFiles, bool start);
  virtual bool offlinePrepare(VstOfflineTask* tasks, int32_t count);
  virtual bool offlineRun(VstOfflineTask* tasks, int32_t count);
  virtual void setOutputSampleRate(float rate);
  virtual VstSpeakerArrangement* getInputSpeakerArrangement();
  virtual VstSpeakerArrangement* getOutputSpeakerArrangement();
  virtual bool hostGetVendorString(char* text);
  virtual bool hostGetProductString(char* text);
  virtual int32_t hostGetVendorVersion();
  virtual intptr_t hostVendorSpecific(int32_t arg1, intptr_t arg2, void* ptrArg, float floatArg);
  virtual int32_t hostCanDo(char* text);
  virtual void setIsSynth(bool state);
  virtual void setNoSoundInStop(bool state);
  virtual int32_t getLanguage();
  virtual void* openWindow(VstWindow* window);
  virtual bool closeWindow(VstWindow* window);
  virtual void* getDirectory();
  virtual bool updateDisplay();
  virtual bool processVarIo(VstVariableIo* varIo);
  virtual bool setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output);
  //! Writes null into each holder given; answers false.
  virtual bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output);
  //! Stores the block size, then the sample rate, without the EffectCore setters.
  virtual void setBlockSizeAndSampleRate(int32_t newBlockSize, float newSampleRate);
  virtual bool setBypass(bool on);
  virtual bool getEffectName(char* name);
  virtual bool getErrorText(char* text);
  virtual bool getVendorString(char* text);
  virtual bool getProductString(char* text);
  virtual int32_t getVendorVersion();
  virtual intptr_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt);
  //! 1 can, -1 cannot, 0 no answer.
  virtual int32_t canDo(char* text);
  virtual void* getIcon();
  virtual bool setViewPosition(int32_t x, int32_t y);
  virtual int32_t getTailSize();
  virtual int32_t idle();
  virtual bool getParameterProperties(int32_t index, VstParameterProperties* properties);
  virtual bool keysRequired();
  virtual int32_t getVstVersion();
  virtual int32_t getMidiProgramName(int32_t channel, MidiProgramName* name);
  virtual int32_t getCurrentMidiProgram(int32_t channel, MidiProgramName* current);
  virtual int32_t getMidiProgramCategory(int32_t channel, MidiProgramCategory* category);
  virtual bool hasMidiProgramsChanged(int32_t channel);
  virtual bool getMidiKeyName(int32_t channel, MidiKeyName* keyName);
  virtual bool beginSetProgram();
  virtual bool endSetProgram();
  virtual bool beginEdit(int32_t index);
  virtual bool endEdit(int32_t index);
  virtual bool openFileSelector(VstFileSelect* selector);
  virtual int32_t setTotalSampleToProcess(int32_t value);
  virtual int32_t shellGetNextPlugin(char* name);
  virtual int32_t startProcess();
  virtual int32_t stopProcess();
  virtual bool setPanLaw(int32_t type, float gain);
  virtual int32_t beginLoadBank(VstPatchChunkInfo* info);
  virtual int32_t beginLoadProgram(VstPatchChunkInfo* info);

  // Speaker arrangements. A holder owns at most one block made here.
  //! A zeroed block of 8 + 112 * count bytes with numChannels = count.
  virtual bool allocateSpeakerArrangement(VstSpeakerArrangement** holder, int32_t count);
  virtual bool freeSpeakerArrangement(VstSpeakerArrangement** holder);
  virtual bool copySpeakerProperties(VstSpeakerProperties* to, const VstSpeakerProperties* from);
  virtual bool copySpeakerArrangement(VstSpeakerArrangement** toHolder,
                                      const VstSpeakerArrangement* from);

  bool hostProcessEvents(VstEvents* events);
  bool closeFileSelector(VstFileSelect* selector);
  bool getChunkFile(void* nativePath);
};
