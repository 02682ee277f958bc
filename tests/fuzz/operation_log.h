// The most recent operations of the randomised test, so that a failed check or
// a crash names the sequence and the calls that led to it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

class OperationLog {
public:
    static constexpr int kCapacity = 40;
    static constexpr int kMaxArguments = 10;

    // Installs an unhandled-exception report that prints the log and ends the
    // process; the log must outlive the process's use of it.
    void InstallCrashReport();
    // With tracing on, every operation is printed before it runs, which also
    // names the call when the process dies without an exception.
    void SetTrace(bool on) { trace = on; }
    bool Tracing() const { return trace; }
    // With tracing on, prints how long the last operation took, with details
    // such as the GDI census after it.
    void Note(double milliseconds, const std::string& detail) const;

    void BeginSequence(uint64_t runSeed, uint64_t sequence);
    // Arguments as doubles: every 32-bit value, float and angle is exact.
    void Record(const char* name, std::initializer_list<double> arguments);
    std::string Describe() const;

private:
    struct Entry {
        const char* name;
        int count;
        double arguments[kMaxArguments];
    };

    static std::string Line(const Entry& entry);

    Entry entries[kCapacity] = {};
    uint64_t recorded = 0;
    uint64_t runSeed = 0;
    uint64_t sequence = 0;
    bool trace = false;
};
