#include "ParameterText.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace parameterText {
namespace {

constexpr double kPowersOfTen[] = {1.0, 10.0, 100.0, 1000.0, 10000.0, 100000.0, 1000000.0,
                                   10000000.0, 100000000.0};

// The digit of the remainder of value / 10, cut toward zero. value is finite,
// non-negative and below 10^9, so the conversion is always defined.
char lastDigit(double value) { return static_cast<char>('0' + static_cast<int>(std::fmod(value, 10.0))); }

}  // namespace

void copyText(char* destination, const char* source, int32_t maxChars) {
  int32_t length = 0;
  while (length < maxChars && source[length] != '\0') ++length;
  std::memcpy(destination, source, static_cast<size_t>(length));
  destination[length] = '\0';
}

int32_t truncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

void formatFloat(float value, char* text) {
  double v = value;
  if (std::isnan(v)) {
    copyText(text, "NaN", 8);
    return;
  }
  int c = 0;
  const bool negative = v < 0.0;
  // The eight characters hold seven integer digits, six after a sign; larger
  // integer parts would lose their leading digits, so they count as too large.
  if (negative) {
    v = -v;
    c = 1;
    if (v >= 1000000.0) {
      copyText(text, "Huge!", 8);
      return;
    }
  } else if (v >= 10000000.0) {
    copyText(text, "Huge!", 8);
    return;
  }

  // Built from right to left in a scratch buffer.
  char scratch[32];
  int start = 31;
  scratch[start] = '\0';
  scratch[--start] = '.';
  ++c;
  double i = std::floor(v);
  scratch[--start] = lastDigit(i);
  i /= 10.0;
  ++c;
  while (i >= 1.0 && c < 8) {
    scratch[--start] = lastDigit(i);
    i /= 10.0;
    ++c;
  }
  if (negative) scratch[--start] = '-';
  std::strcpy(text, scratch + start);
  if (c >= 8) return;

  const int n = 8 - c;
  double m = std::fmod(v, 1.0) * kPowersOfTen[n];
  char fraction[9];
  fraction[n] = '\0';
  for (int k = n - 1; k >= 0; --k) {
    if (m <= 0.0) {
      fraction[k] = '0';
    } else {
      fraction[k] = lastDigit(m);
      m /= 10.0;
    }
  }
  std::strcat(text, fraction);
}

void formatLong(int32_t value, char* text) {
  if (value >= 100000000) {
    copyText(text, "Huge!", 8);
    return;
  }
  char scratch[16];
  std::snprintf(scratch, sizeof scratch, "%7d", static_cast<int>(value));
  copyText(text, scratch, 8);
}

}  // namespace parameterText
