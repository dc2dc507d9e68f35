// Fixed-width display texts for parameter values. Digits are cut, never
// rounded, so a host shows what the plug-in would compute with the value.
// Every function writes at most eight characters and the terminator.
#pragma once

#include <cstdint>

namespace parameterText {

//! Eight characters: optional "-", integer digits, ".", fraction digits;
//! "Huge!" when the integer part does not fit, "NaN" for a NaN.
void formatFloat(float value, char* text);
//! Right-aligned in seven characters, cut after eight; "Huge!" from 100000000.
void formatLong(int32_t value, char* text);

//! Copies at most maxChars characters and always terminates.
void copyText(char* destination, const char* source, int32_t maxChars);

//! Truncates toward zero, saturating at the int32 limits; a NaN gives 0.
int32_t truncateToInt32(double value);

}  // namespace parameterText
