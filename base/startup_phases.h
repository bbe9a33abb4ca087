// Phase marks for the start-up benchmark: a program built with STARTUP_PHASES
// notes the performance counter at each named phase of its start-up and, on its
// way out, writes "name count" lines to the file that the environment variable
// STARTUP_PHASES_FILE names. The driver started it a moment after reading the same
// counter, so each mark tells how long after CreateProcess that phase was reached.
// Without STARTUP_PHASES every call is an empty inline function: the shipped build
// does and links nothing of it.
#pragma once

#ifdef STARTUP_PHASES

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace startup_phases {

struct Mark {
    const char* name;
    LONGLONG count;
};

inline Mark marks[32];
inline int markCount = 0;

} // namespace startup_phases

// Only a phase's first mark counts: a paint handler marks every paint, and the
// first one is the one the start-up ends with.
inline void markPhase(const char* name) {
    using namespace startup_phases;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    for (int i = 0; i < markCount; ++i)
        if (std::strcmp(marks[i].name, name) == 0)
            return;
    if (markCount < static_cast<int>(sizeof marks / sizeof marks[0]))
        marks[markCount++] = {name, now.QuadPart};
}

// The first of the program's own code to run: the loader and the C runtime are
// done by then, the program's other static objects not yet made.
struct RuntimeStartedMark {
    RuntimeStartedMark() { markPhase("runtime-started"); }
};
inline RuntimeStartedMark runtimeStarted __attribute__((init_priority(101)));

inline void writePhases() {
    using namespace startup_phases;
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("STARTUP_PHASES_FILE", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    if (std::FILE* file = std::fopen(path, "w")) {
        for (int i = 0; i < markCount; ++i)
            std::fprintf(file, "%s %lld\n", marks[i].name, marks[i].count);
        std::fclose(file);
    }
}

#else

inline void markPhase(const char*) {}

inline void writePhases() {}

#endif
