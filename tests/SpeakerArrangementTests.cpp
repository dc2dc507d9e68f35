// Building, releasing and copying speaker arrangements. Run under
// AddressSanitizer, these also show that no block is read or written past its
// end and that every released block stays released.
#include <gtest/gtest.h>

#include <malloc.h>

#include <cstring>

#include "TestEffect.h"

namespace {

constexpr size_t kHeader = offsetof(VstSpeakerArrangement, speakers);

const unsigned char* bytesOf(const VstSpeakerArrangement* arrangement) {
  return reinterpret_cast<const unsigned char*>(arrangement);
}

VstSpeakerProperties* speaker(VstSpeakerArrangement* arrangement, int i) {
  return reinterpret_cast<VstSpeakerProperties*>(reinterpret_cast<char*>(arrangement) + kHeader) +
         i;
}

class SpeakerArrangementTest : public ::testing::Test {
 protected:
  void TearDown() override { effect.freeSpeakerArrangement(&holder); }
  TestEffect effect;
  VstSpeakerArrangement* holder = nullptr;
};

TEST_F(SpeakerArrangementTest, AllocatesAZeroedBlockOfExactSize) {
  for (int32_t count : {2, 0, 11}) {
    ASSERT_TRUE(effect.allocateSpeakerArrangement(&holder, count));
    ASSERT_NE(holder, nullptr);
    const size_t size = kHeader + sizeof(VstSpeakerProperties) * static_cast<size_t>(count);
    EXPECT_GE(malloc_usable_size(holder), size);
    EXPECT_EQ(holder->numChannels, count);
    EXPECT_EQ(holder->type, 0);
    for (size_t i = 0; i < size; ++i) {
      if (i >= 4 && i < 8) continue;  // numChannels
      ASSERT_EQ(bytesOf(holder)[i], 0) << "byte " << i;
    }
  }
  EXPECT_EQ(kHeader + 2 * sizeof(VstSpeakerProperties), 232u);
}

TEST_F(SpeakerArrangementTest, RefusesNegativeAndOversizedCountsWithAnEmptyHolder) {
  for (int32_t count : {-1, INT32_MIN, INT32_MAX, (INT32_MAX - 8) / 112 + 1}) {
    ASSERT_TRUE(effect.allocateSpeakerArrangement(&holder, 1));
    EXPECT_FALSE(effect.allocateSpeakerArrangement(&holder, count)) << count;
    EXPECT_EQ(holder, nullptr) << count;
  }
  EXPECT_FALSE(effect.allocateSpeakerArrangement(nullptr, 2));
}

TEST_F(SpeakerArrangementTest, FreeEmptiesTheHolderAndAlwaysSucceeds) {
  ASSERT_TRUE(effect.allocateSpeakerArrangement(&holder, 3));
  EXPECT_TRUE(effect.freeSpeakerArrangement(&holder));
  EXPECT_EQ(holder, nullptr);
  EXPECT_TRUE(effect.freeSpeakerArrangement(&holder));
  EXPECT_TRUE(effect.freeSpeakerArrangement(nullptr));
}

TEST_F(SpeakerArrangementTest, CopiesSpeakerPropertiesNameAsText) {
  VstSpeakerProperties from{}, to{};
  from.azimuth = 0.5f;
  from.elevation = -0.25f;
  from.radius = 2.0f;
  from.reserved = 7.0f;
  from.type = 3;
  std::strcpy(from.name, "Left");
  std::memset(from.future, 0x5A, sizeof from.future);
  std::memset(to.name, 'x', sizeof to.name);

  EXPECT_TRUE(effect.copySpeakerProperties(&to, &from));
  EXPECT_STREQ(to.name, "Left");
  EXPECT_EQ(to.name[5], 'x');  // bytes after the terminator keep their contents
  EXPECT_EQ(to.azimuth, 0.5f);
  EXPECT_EQ(to.elevation, -0.25f);
  EXPECT_EQ(to.radius, 2.0f);
  EXPECT_EQ(to.reserved, 7.0f);
  EXPECT_EQ(to.type, 3);
  EXPECT_EQ(std::memcmp(to.future, from.future, sizeof to.future), 0);

  // A name that fills its whole field is copied without running past it.
  std::memset(from.name, 'n', sizeof from.name);
  EXPECT_TRUE(effect.copySpeakerProperties(&to, &from));
  EXPECT_EQ(std::memcmp(to.name, from.name, sizeof to.name), 0);
}

TEST_F(SpeakerArrangementTest, CopySpeakerPropertiesRefusesNull) {
  VstSpeakerProperties properties{};
  properties.type = 9;
  EXPECT_FALSE(effect.copySpeakerProperties(nullptr, &properties));
  EXPECT_FALSE(effect.copySpeakerProperties(&properties, nullptr));
  EXPECT_EQ(properties.type, 9);
}

TEST_F(SpeakerArrangementTest, CopyArrangementRefusesNullAndKeepsTheHolder) {
  ASSERT_TRUE(effect.allocateSpeakerArrangement(&holder, 1));
  VstSpeakerArrangement* before = holder;
  EXPECT_FALSE(effect.copySpeakerArrangement(&holder, nullptr));
  EXPECT_EQ(holder, before);
}

TEST_F(SpeakerArrangementTest, CopiesAWholeArrangement) {
  // Twelve speakers: more than the interface's declared eight.
  for (int32_t count : {2, 12}) {
    VstSpeakerArrangement* source = nullptr;
    ASSERT_TRUE(effect.allocateSpeakerArrangement(&source, count));
    source->type = 5;
    for (int i = 0; i < count; ++i) {
      speaker(source, i)->azimuth = static_cast<float>(i);
      speaker(source, i)->type = i + 100;
      std::snprintf(speaker(source, i)->name, 64, "speaker %d", i);
    }
    ASSERT_TRUE(effect.copySpeakerArrangement(&holder, source));
    ASSERT_NE(holder, source);
    EXPECT_EQ(holder->type, 5);
    EXPECT_EQ(holder->numChannels, count);
    for (int i = 0; i < count; ++i) {
      EXPECT_EQ(speaker(holder, i)->azimuth, static_cast<float>(i));
      EXPECT_EQ(speaker(holder, i)->type, i + 100);
      EXPECT_STREQ(speaker(holder, i)->name, speaker(source, i)->name);
    }
    effect.freeSpeakerArrangement(&source);
  }
}

// A plug-in's replacement of one utility is what the copy uses.
class RefusingEffect : public TestEffect {
 public:
  bool copySpeakerProperties(VstSpeakerProperties*, const VstSpeakerProperties*) override {
    return false;
  }
};

TEST(SpeakerArrangementOverride, CopyStopsAtTheFirstRefusedSpeaker) {
  RefusingEffect effect;
  VstSpeakerArrangement* source = nullptr;
  VstSpeakerArrangement* holder = nullptr;
  ASSERT_TRUE(effect.allocateSpeakerArrangement(&source, 2));
  source->type = 4;
  EXPECT_FALSE(effect.copySpeakerArrangement(&holder, source));
  ASSERT_NE(holder, nullptr);  // keeps the partly filled block
  EXPECT_EQ(holder->type, 4);
  effect.freeSpeakerArrangement(&holder);
  effect.freeSpeakerArrangement(&source);
}

}  // namespace
