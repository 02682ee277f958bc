// The randomised library test: thousands of random but interface-valid call
// sequences over images and the window. After every call each image's storage
// must match its size; after every sequence no GDI object may be left over and
// the window's thread must still answer.
//
// By default it runs a fixed number of sequences from a fixed seed. Settings
// from the environment:
//   FIREWORKS_FUZZ_SECONDS=n    run for n seconds, from a seed taken from the clock
//   FIREWORKS_FUZZ_SEED=s       run from seed s (to replay a reported failure)
//   FIREWORKS_FUZZ_FIRST=k      start at sequence k of that seed
//   FIREWORKS_FUZZ_SEQUENCES=n  run n sequences
//   FIREWORKS_FUZZ_SHARD=k/n    run the k-th of n equal parts of those sequences,
//                               so that n processes share them (not in the timed mode)
//   FIREWORKS_FUZZ_TRACE=1      print every call before it runs
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "graphics_state.h"
#include "health_checks.h"
#include "library_fuzzer.h"

namespace {

constexpr uint64_t kFixedSeed = 0x46495245574F524Bull;
constexpr uint64_t kFixedSequences = 2400;
constexpr uint64_t kWarmUpSeed = 7;
constexpr int kWarmUpSequences = 40;
constexpr int kMaxOperations = 80;

struct RunSettings {
    uint64_t seed = kFixedSeed;
    uint64_t first = 0;
    uint64_t sequences = kFixedSequences;
    double seconds = 0;
    bool trace = false;
    std::string error;
};

const char* Setting(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

RunSettings SettingsFromEnvironment()
{
    RunSettings settings;
    if (const char* seconds = Setting("FIREWORKS_FUZZ_SECONDS")) {
        settings.seconds = std::strtod(seconds, nullptr);
        settings.sequences = UINT64_MAX;
        LARGE_INTEGER now = {};
        QueryPerformanceCounter(&now);
        settings.seed = static_cast<uint64_t>(now.QuadPart) ^ (static_cast<uint64_t>(GetCurrentProcessId()) << 40);
    }
    if (const char* seed = Setting("FIREWORKS_FUZZ_SEED")) settings.seed = std::strtoull(seed, nullptr, 0);
    if (const char* first = Setting("FIREWORKS_FUZZ_FIRST")) settings.first = std::strtoull(first, nullptr, 0);
    if (const char* count = Setting("FIREWORKS_FUZZ_SEQUENCES")) settings.sequences = std::strtoull(count, nullptr, 0);
    settings.trace = Setting("FIREWORKS_FUZZ_TRACE") != nullptr;
    if (const char* shard = Setting("FIREWORKS_FUZZ_SHARD")) {
        unsigned index = 0;
        unsigned count = 0;
        if (std::sscanf(shard, "%u/%u", &index, &count) != 2 || index < 1 || index > count) {
            settings.error = std::string("FIREWORKS_FUZZ_SHARD is not k/n with 1 <= k <= n: ") + shard;
        } else if (settings.seconds <= 0) {
            const uint64_t begin = settings.sequences * (index - 1) / count;
            settings.first += begin;
            settings.sequences = settings.sequences * index / count - begin;
        }
    }
    return settings;
}

// Each sequence has a seed of its own, so that one can be replayed alone.
uint64_t SequenceSeed(uint64_t runSeed, uint64_t sequence)
{
    uint64_t value = runSeed + (sequence + 1) * 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

double Seconds()
{
    LARGE_INTEGER now = {};
    LARGE_INTEGER frequency = {};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Device contexts of windows come with a region each, and the platform's
// cache of them grows whenever more are in use at once than ever before. So
// these two kinds are held to a small bound over the whole run; every other
// kind of object must come back to its count after each sequence exactly.
constexpr int kWindowContextCacheGrowth = 4;

bool IsWindowContextType(size_t type) { return type == OBJ_DC || type == OBJ_REGION; }

bool CensusAsExpected(const GdiCensus& now, const GdiCensus& previous, const GdiCensus& start)
{
    for (size_t type = 0; type < now.byType.size(); ++type) {
        if (!IsWindowContextType(type)) {
            if (now.byType[type] != previous.byType[type]) return false;
        } else if (now.byType[type] - start.byType[type] > kWindowContextCacheGrowth) {
            return false;
        }
    }
    return true;
}

// The census once the window's thread has finished what it was doing: a
// paint in progress holds objects for a moment, a leaked object stays.
GdiCensus SettledCensus(const GdiCensus& previous, const GdiCensus& start)
{
    GdiCensus now = GdiCensus::Take();
    for (int attempt = 0; attempt < 100 && !CensusAsExpected(now, previous, start); ++attempt) {
        WindowAnswers(Tovax::Graphics().window.hwnd, 2000);
        Sleep(attempt < 10 ? 0 : 5);
        now = GdiCensus::Take();
    }
    return now;
}

// A census that two looks in a row agree on, with the window's thread idle
// in between.
GdiCensus QuietCensus()
{
    GdiCensus census = GdiCensus::Take();
    for (int attempt = 0; attempt < 20; ++attempt) {
        WindowAnswers(Tovax::Graphics().window.hwnd, 2000);
        Sleep(5);
        const GdiCensus again = GdiCensus::Take();
        if (again == census) break;
        census = again;
    }
    return census;
}

class LibraryFuzz : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_NE(OpenGraphWindow(LibraryFuzzer::kWindowWidth, LibraryFuzzer::kWindowHeight, 0), nullptr);
    }
    static void TearDownTestSuite() { CloseGraphWindow(); }
};

TEST_F(LibraryFuzz, RandomCallSequencesLeakNothingAndKeepEveryImageWhole)
{
    const RunSettings settings = SettingsFromEnvironment();
    ASSERT_TRUE(settings.error.empty()) << settings.error;
    std::printf("library fuzz: seed %llu, first sequence %llu\n", static_cast<unsigned long long>(settings.seed),
                static_cast<unsigned long long>(settings.first));
    std::fflush(stdout);

    static OperationLog log;
    log.InstallCrashReport();
    log.SetTrace(settings.trace);
    LibraryFuzzer fuzzer(log);

    // The platform fills its caches (fonts, the picture decoder, device
    // contexts of windows) during the first sequences.
    for (int i = 0; i < kWarmUpSequences; ++i) {
        const uint64_t sequence = static_cast<uint64_t>(i);
        log.BeginSequence(kWarmUpSeed, sequence);
        const std::string problem = fuzzer.RunSequence(SequenceSeed(kWarmUpSeed, sequence), kMaxOperations);
        ASSERT_TRUE(problem.empty()) << problem;
    }
    const GdiCensus initial = QuietCensus();
    const int windowsAtStart = fuzzer.WindowsOpened();
    GdiCensus previous = initial;

    const double start = Seconds();
    uint64_t sequence = settings.first;
    uint64_t completed = 0;
    for (; completed < settings.sequences; ++completed, ++sequence) {
        if (settings.seconds > 0 && Seconds() - start >= settings.seconds) break;
        const uint64_t seed = SequenceSeed(settings.seed, sequence);
        const int operations = static_cast<int>(FuzzRandom(seed ^ 0x5A5A5A5Aull).Between(1, kMaxOperations));

        log.BeginSequence(settings.seed, sequence);
        const std::string problem = fuzzer.RunSequence(seed, operations);
        ASSERT_TRUE(problem.empty()) << problem;
        ASSERT_TRUE(WindowAnswers(Tovax::Graphics().window.hwnd, 5000)) << "the window's thread no longer answers\n"
                                                                        << log.Describe();

        const GdiCensus now = SettledCensus(previous, initial);
        ASSERT_TRUE(CensusAsExpected(now, previous, initial))
            << "GDI objects before: " << previous.Describe() << "\nafter: " << now.Describe()
            << "\nat the start: " << initial.Describe() << ", " << fuzzer.WindowsOpened() - windowsAtStart
            << " windows opened since\n"
            << log.Describe();
        previous = now;

        if (settings.seconds > 0 && completed % 1000 == 999) {
            std::printf("library fuzz: %llu sequences, %.0f s\n", static_cast<unsigned long long>(completed + 1),
                        Seconds() - start);
            std::fflush(stdout);
        }
    }
    std::printf(
        "library fuzz: seed %llu: %llu sequences (%llu to %llu), %llu calls, %llu shapes left out, "
        "%d windows opened, %.1f s\n",
        static_cast<unsigned long long>(settings.seed), static_cast<unsigned long long>(completed),
        static_cast<unsigned long long>(settings.first), static_cast<unsigned long long>(sequence),
        static_cast<unsigned long long>(fuzzer.OperationsRun()),
        static_cast<unsigned long long>(fuzzer.OperationsSkipped()), fuzzer.WindowsOpened(), Seconds() - start);
    if (settings.seconds <= 0) {
        EXPECT_EQ(completed, settings.sequences);
    }
}

}  // namespace
