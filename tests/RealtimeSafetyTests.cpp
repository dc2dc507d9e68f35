// The audio path of every plug-in allocates nothing, takes no lock and calls
// no host service. This program replaces the allocation functions and
// pthread_mutex_lock with counting ones; the plug-ins, loaded with dlopen,
// bind to them like to any other global symbol. Host calls are counted by the
// recording host. Under valgrind (run it with --soname-synonyms=somalloc=NONE)
// the allocator is valgrind's own and the counting tests are skipped.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <valgrind/valgrind.h>

#include <atomic>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#include "PluginTestSupport.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<int> allocations{0};
std::atomic<int> locks{0};

void noteAllocation() {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1);
}

void* allocate(std::size_t size) {
  noteAllocation();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
  noteAllocation();
  void* block = nullptr;
  if (posix_memalign(&block, static_cast<std::size_t>(alignment), size == 0 ? 1 : size) == 0)
    return block;
  throw std::bad_alloc();
}

}  // namespace

// Never inlined, so that valgrind, which replaces them by name, sees every call.
[[gnu::noinline]] void* operator new(std::size_t size) { return allocate(size); }
[[gnu::noinline]] void* operator new[](std::size_t size) { return allocate(size); }
[[gnu::noinline]] void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  noteAllocation();
  return std::malloc(size == 0 ? 1 : size);
}
[[gnu::noinline]] void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  noteAllocation();
  return std::malloc(size == 0 ? 1 : size);
}
[[gnu::noinline]] void* operator new(std::size_t size, std::align_val_t alignment) {
  return allocateAligned(size, alignment);
}
[[gnu::noinline]] void* operator new[](std::size_t size, std::align_val_t alignment) {
  return allocateAligned(size, alignment);
}
[[gnu::noinline]] void operator delete(void* block) noexcept { std::free(block); }
[[gnu::noinline]] void operator delete[](void* block) noexcept { std::free(block); }
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept { std::free(block); }
[[gnu::noinline]] void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
[[gnu::noinline]] void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
[[gnu::noinline]] void operator delete[](void* block, std::align_val_t) noexcept {
  std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
  std::free(block);
}
[[gnu::noinline]] void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
  std::free(block);
}

// The C allocator is replaced too, except under AddressSanitizer, which owns it.
#if !defined(__SANITIZE_ADDRESS__)
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);

void* malloc(std::size_t size) {
  noteAllocation();
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
  noteAllocation();
  return __libc_calloc(count, size);
}
void* realloc(void* block, std::size_t size) {
  noteAllocation();
  return __libc_realloc(block, size);
}
void* memalign(std::size_t alignment, std::size_t size) {
  noteAllocation();
  return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
  noteAllocation();
  return __libc_memalign(alignment, size);
}
int posix_memalign(void** block, std::size_t alignment, std::size_t size) {
  noteAllocation();
  *block = __libc_memalign(alignment, size);
  return *block == nullptr ? ENOMEM : 0;
}
}
#endif

extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex) {
  using Lock = int (*)(pthread_mutex_t*);
  static const Lock next = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
  if (counting.load(std::memory_order_relaxed)) locks.fetch_add(1);
  return next(mutex);
}

namespace {

const char* const kPlugins[] = {"Lindle", "Ombrel", "Quorra", "Tessik"};

struct Counts {
  int allocations;
  int locks;
  size_t hostCalls;
};

//! Runs `audioWork` with the counters armed and returns what it did.
template <class Work>
Counts countDuring(host::VstPlugin& plugin, Work audioWork) {
  plugin.clearCalls();
  allocations = 0;
  locks = 0;
  counting = true;
  audioWork();
  counting = false;
  return {allocations.load(), locks.load(), plugin.calls().size()};
}

class RealtimeSafety : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (RUNNING_ON_VALGRIND) GTEST_SKIP() << "the allocator is valgrind's";
    plugin = loadPlugin(GetParam());
    ASSERT_NE(plugin, nullptr);
    plugin->open();
    plugin->setSampleRate(48000.0f);
    plugin->setBlockSize(kFrames);
    plugin->mainsChanged(true);
    for (size_t i = 0; i < left.size(); ++i) {
      left[i] = std::sin(0.01f * static_cast<float>(i));
      right[i] = std::cos(0.013f * static_cast<float>(i));
    }
  }

  static constexpr int32_t kFrames = 4096;
  std::unique_ptr<host::VstPlugin> plugin;
  std::vector<float> left = std::vector<float>(kFrames), right = left;
  std::vector<float> outLeft = left, outRight = left;
  float* inputs[2] = {left.data(), right.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};
};

// Block lengths a host may send, odd ones and the full announced block included.
const int32_t kBlocks[] = {1, 2, 63, 64, 333, 512, 1024, 4096};

TEST_P(RealtimeSafety, ProcessingAllocatesLocksAndCallsNothing) {
  const Counts counts = countDuring(*plugin, [&] {
    for (const int32_t frames : kBlocks) {
      plugin->processReplacing(inputs, outputs, frames);
      plugin->process(inputs, outputs, frames);
      plugin->processReplacing(inputs, inputs, frames);
      plugin->process(inputs, inputs, frames);
    }
  });
  EXPECT_EQ(counts.allocations, 0);
  EXPECT_EQ(counts.locks, 0);
  EXPECT_EQ(counts.hostCalls, 0u);
}

TEST_P(RealtimeSafety, SetParameterAllocatesLocksAndCallsNothing) {
  const float values[] = {0.0f,
                          0.25f,
                          0.5f,
                          1.0f,
                          -1.0f,
                          2.0f,
                          1e-40f,
                          FLT_MAX,
                          std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN()};
  const Counts counts = countDuring(*plugin, [&] {
    for (const float value : values) {
      for (int32_t index = -1; index <= plugin->numParams(); ++index)
        plugin->setParameter(index, value);
      // A parameter change is followed by audio, which plays out any ramp it started.
      plugin->processReplacing(inputs, outputs, kFrames);
    }
  });
  EXPECT_EQ(counts.allocations, 0);
  EXPECT_EQ(counts.locks, 0);
  EXPECT_EQ(counts.hostCalls, 0u);
}

// The counters themselves work: what they must not see, they can see.
TEST(RealtimeSafetyCounters, SeeAllocationsLocksAndHostCalls) {
  if (RUNNING_ON_VALGRIND) GTEST_SKIP() << "the allocator is valgrind's";
  auto plugin = loadPlugin("Lindle");
  ASSERT_NE(plugin, nullptr);
  pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
  static std::unique_ptr<int> kept;
  const Counts counts = countDuring(*plugin, [&] {
    kept = std::make_unique<int>(1);
    pthread_mutex_lock(&mutex);
    pthread_mutex_unlock(&mutex);
    plugin->mainsChanged(true);  // asks the host for MIDI
  });
  EXPECT_GE(counts.allocations, 1);
  EXPECT_EQ(counts.locks, 1);
  EXPECT_EQ(counts.hostCalls, 1u);
}

// An allocation inside a plug-in binds to the counting functions too: building
// an instance (its program bank) is seen.
TEST(RealtimeSafetyCounters, SeeAllocationsInsideAPlugin) {
  if (RUNNING_ON_VALGRIND) GTEST_SKIP() << "the allocator is valgrind's";
  std::string error;
  auto library = host::PluginLibrary::open(pluginPath("Lindle"), &error);
  ASSERT_NE(library, nullptr) << error;
  const audioMasterCallback quietHost = [](AEffect*, int32_t opcode, int32_t, intptr_t, void*,
                                           float) -> intptr_t {
    return opcode == audioMasterVersion ? 2400 : 0;
  };
  allocations = 0;
  counting = true;
  AEffect* effect = library->entry()(quietHost);
  counting = false;
  ASSERT_NE(effect, nullptr);
  EXPECT_GE(allocations.load(), 1);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(EveryPlugin, RealtimeSafety, testing::ValuesIn(kPlugins),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
