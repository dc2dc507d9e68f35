// When any allocation of a new instance fails, `main` answers null and leaves
// nothing behind. The test program replaces the global allocation functions,
// which the plug-ins' libraries use too, and fails them one at a time. Under
// valgrind the allocator is valgrind's own, so the test is skipped there.
#include <gtest/gtest.h>
#include <valgrind/valgrind.h>

#include <cstdlib>
#include <new>

#include "PluginTestSupport.h"

namespace {

// Allocations left before the next one fails; negative: none fails.
long allocationsBeforeFailure = -1;
long liveBlocks = 0;

void* allocate(std::size_t size) {
  if (allocationsBeforeFailure == 0) return nullptr;
  if (allocationsBeforeFailure > 0) --allocationsBeforeFailure;
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block != nullptr) ++liveBlocks;
  return block;
}

void release(void* block) {
  if (block == nullptr) return;
  --liveBlocks;
  std::free(block);
}

}  // namespace

[[gnu::noinline]] void* operator new(std::size_t size) {
  if (void* block = allocate(size)) return block;
  throw std::bad_alloc();
}
[[gnu::noinline]] void* operator new[](std::size_t size) { return operator new(size); }
[[gnu::noinline]] void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
[[gnu::noinline]] void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
[[gnu::noinline]] void operator delete(void* block) noexcept { release(block); }
[[gnu::noinline]] void operator delete[](void* block) noexcept { release(block); }
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept { release(block); }
[[gnu::noinline]] void operator delete[](void* block, std::size_t) noexcept { release(block); }

namespace {

class AllocationFailureTest : public ::testing::TestWithParam<const char*> {};

TEST_P(AllocationFailureTest, MainAnswersNullAndLeaksNothing) {
  if (RUNNING_ON_VALGRIND) GTEST_SKIP() << "valgrind supplies the allocator";
  std::string error;
  auto library = host::PluginLibrary::open(pluginPath(GetParam()), &error);
  ASSERT_NE(library, nullptr) << error;

  int failures = 0;
  for (long allowed = 0; allowed < 1000; ++allowed) {
    const long liveBefore = liveBlocks;
    allocationsBeforeFailure = allowed;
    AEffect* effect = library->entry()(&host::VstPlugin::hostCallback);
    allocationsBeforeFailure = -1;
    if (effect != nullptr) {
      EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
      EXPECT_EQ(liveBlocks, liveBefore) << "after a complete instance was closed";
      break;
    }
    ++failures;
    EXPECT_EQ(liveBlocks, liveBefore) << "allocation " << allowed << " failed";
  }
  EXPECT_GT(failures, 0) << "the instance allocates nothing?";
}

INSTANTIATE_TEST_SUITE_P(Deliverables, AllocationFailureTest,
                         ::testing::Values("Lindle", "Ombrel", "Quorra", "Tessik"));

}  // namespace
