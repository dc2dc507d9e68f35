// The five display-text helpers of the effect base, row by row against their
// tables. Each text must also leave the caller's buffer untouched past the
// ninth byte.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "EffectExtended.h"

namespace {

// The helpers live on the effect base; a do-nothing effect reaches them.
class TextEffect : public EffectExtended {
 public:
  TextEffect() : EffectExtended(nullptr, 1, 0) {}
  void process(float**, float**, int32_t) override {}
};

constexpr size_t kBufferSize = 32;
constexpr size_t kWritable = 9;

template <class Format>
std::string formatted(Format format) {
  char buffer[kBufferSize];
  std::memset(buffer, '#', sizeof buffer);
  format(buffer);
  for (size_t i = kWritable; i < kBufferSize; ++i) EXPECT_EQ(buffer[i], '#') << "byte " << i;
  return std::string(buffer, strnlen(buffer, kWritable));
}

struct FloatRow {
  float value;
  const char* text;
};

struct LongRow {
  int32_t value;
  const char* text;
};

constexpr float kInfinity = std::numeric_limits<float>::infinity();

TEST(ParameterText, FormatFloat) {
  const FloatRow rows[] = {
      {0.0f, "0.000000"},
      {-0.0f, "0.000000"},
      {1.5f, "1.500000"},
      {0.7f, "0.699999"},
      {0.00001f, "0.000009"},
      {12.34f, "12.34000"},
      {-12.34f, "-12.3400"},
      {40.0f, "40.00000"},
      {-40.0f, "-40.0000"},
      {123.456f, "123.4560"},
      {10000.0f, "10000.00"},
      {1234567.0f, "1234567."},
      {-123456.0f, "-123456."},
      {-0.001f, "-0.00100"},
      {-0.000001f, "-0.00000"},
      {-1e-30f, "-0.00000"},
      {9999999.0f, "9999999."},
      {-999999.0f, "-999999."},
      {99999999.0f, "Huge!"},
      {1e9f, "Huge!"},
      {kInfinity, "Huge!"},
      {-10000000.0f, "Huge!"},
      {-1e9f, "Huge!"},
      {-kInfinity, "Huge!"},
      // Integer parts wider than the eight characters hold.
      {10000000.0f, "Huge!"},
      {-1000000.0f, "Huge!"},
      {std::nanf(""), "NaN"},
  };
  TextEffect effect;
  for (const FloatRow& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(formatted([&](char* text) { effect.formatFloat(row.value, text); }), row.text);
  }
}

TEST(ParameterText, FormatLong) {
  const LongRow rows[] = {
      {0, "      0"},
      {42, "     42"},
      {-5, "     -5"},
      {12345678, "12345678"},
      {99999999, "99999999"},
      {100000000, "Huge!"},
      {std::numeric_limits<int32_t>::max(), "Huge!"},
      {-12345678, "-1234567"},
      {std::numeric_limits<int32_t>::min(), "-2147483"},
  };
  TextEffect effect;
  for (const LongRow& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(formatted([&](char* text) { effect.formatLong(row.value, text); }), row.text);
  }
}

TEST(ParameterText, FormatDecibels) {
  const FloatRow rows[] = {
      {1.0f, "0.000000"},  {0.5f, "-6.02059"}, {2.0f, "6.020599"},
      {10.0f, "20.00000"}, {0.1f, "-20.0000"}, {0.0f, "-oo"},
      {-0.0f, "-oo"},      {-1.0f, "-oo"},     {-kInfinity, "-oo"},
  };
  TextEffect effect;
  for (const FloatRow& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(formatted([&](char* text) { effect.formatDecibels(row.value, text); }), row.text);
  }
}

TEST(ParameterText, FormatHertz) {
  const FloatRow rows[] = {
      {441.0f, "100.0000"},
      {1.0f, "44100.00"},
      {0.0f, "0.000000"},
      {-0.0f, "0.000000"},
  };
  TextEffect effect;
  ASSERT_EQ(effect.getSampleRate(), 44100.0f);
  for (const FloatRow& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(formatted([&](char* text) { effect.formatHertz(row.value, text); }), row.text);
  }
}

TEST(ParameterText, FormatMilliseconds) {
  const FloatRow rows[] = {
      {44100.0f, "1000.000"},
      {441.0f, "10.00000"},
      {1.0f, "0.022675"},
  };
  TextEffect effect;
  for (const FloatRow& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(formatted([&](char* text) { effect.formatMilliseconds(row.value, text); }), row.text);
  }
}

}  // namespace
