// What the suite's plug-ins say of themselves in common: vendor, product
// texts, version, and the answers to event capability questions.
#pragma once

#include <cstdint>
#include <cstring>

namespace suite {

inline constexpr const char* kVendor = "tovek @ quillfen";
inline constexpr const char* kProductLower = "tovek Stelloria";
inline constexpr const char* kProductUpper = "TOVEK Stelloria";
inline constexpr int32_t kVendorVersion = 1;

//! The matrix plug-ins (swap, balance, decoder) receive events but send none.
inline int32_t matrixCanDo(const char* text) {
  if (std::strcmp(text, "sendVstMidiEvent") == 0 || std::strcmp(text, "sendVstEvents") == 0)
    return -1;
  if (std::strcmp(text, "receiveVstEvents") == 0 || std::strcmp(text, "receiveVstMidiEvent") == 0)
    return 1;
  return 0;
}

//! The delay neither sends nor receives events.
inline int32_t delayCanDo(const char* text) {
  if (std::strcmp(text, "sendVstMidiEvent") == 0 || std::strcmp(text, "sendVstEvents") == 0 ||
      std::strcmp(text, "receiveVstEvents") == 0 || std::strcmp(text, "receiveVstMidiEvent") == 0)
    return -1;
  return 0;
}

}  // namespace suite
