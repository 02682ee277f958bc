#include "operation_log.h"

#include <windows.h>

#include <cstdio>

namespace {

const OperationLog* crashLog = nullptr;

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception)
{
    std::fprintf(stderr, "\nUnhandled exception 0x%08lX at %p\n%s", exception->ExceptionRecord->ExceptionCode,
                 exception->ExceptionRecord->ExceptionAddress, crashLog ? crashLog->Describe().c_str() : "");
    std::fflush(stderr);
    // Ended here, the test fails at once instead of waiting for a debugger.
    TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void OperationLog::InstallCrashReport()
{
    crashLog = this;
    SetUnhandledExceptionFilter(ReportCrash);
}

void OperationLog::BeginSequence(uint64_t seed, uint64_t index)
{
    runSeed = seed;
    sequence = index;
    recorded = 0;
    if (trace) std::fprintf(stderr, "sequence %llu\n", static_cast<unsigned long long>(index));
}

void OperationLog::Record(const char* name, std::initializer_list<double> arguments)
{
    Entry& entry = entries[recorded % kCapacity];
    entry.name = name;
    entry.count = 0;
    for (double argument : arguments) {
        if (entry.count == kMaxArguments) break;
        entry.arguments[entry.count++] = argument;
    }
    ++recorded;
    if (trace) {
        std::fprintf(stderr, "  %s\n", Line(entry).c_str());
        std::fflush(stderr);
    }
}

void OperationLog::Note(double milliseconds, const std::string& detail) const
{
    if (!trace) return;
    std::fprintf(stderr, "    %.1f ms%s%s\n", milliseconds, detail.empty() ? "" : "; ", detail.c_str());
    std::fflush(stderr);
}

std::string OperationLog::Line(const Entry& entry)
{
    std::string line = entry.name;
    line += '(';
    for (int i = 0; i < entry.count; ++i) {
        char value[40];
        std::snprintf(value, sizeof(value), "%s%.17g", i ? ", " : "", entry.arguments[i]);
        line += value;
    }
    line += ')';
    return line;
}

std::string OperationLog::Describe() const
{
    char header[160];
    std::snprintf(header, sizeof(header), "seed %llu, sequence %llu, operation %llu; the last operations:\n",
                  static_cast<unsigned long long>(runSeed), static_cast<unsigned long long>(sequence),
                  static_cast<unsigned long long>(recorded));
    std::string text = header;
    const uint64_t first = recorded > kCapacity ? recorded - kCapacity : 0;
    for (uint64_t i = first; i < recorded; ++i) {
        text += "  ";
        text += Line(entries[i % kCapacity]);
        text += '\n';
    }
    return text;
}
