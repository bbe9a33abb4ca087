// Start-up benchmark driver: starts the launcher, the reference it is judged
// against and any further programs in turn, each from a fresh launch directory,
// and reports how long each takes to show its window and to be ready for input,
// how much memory it peaks at and, for a program built to mark them, when it
// reached each phase of its start-up.
//
// Usage: startup.exe REPORT.txt RUNS LAUNCHER.exe REFERENCE.exe [OTHER.exe...]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdarg>
#include <fstream>
#include <map>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// What the launcher is held to, against the reference.
constexpr double startupRatioTarget = 1.10;
constexpr double workingSetRatioTarget = 1.05;
constexpr unsigned long long sizeTarget = 256 * 1024;
constexpr DWORD settleMs = 300;    // after the window shows, before memory is read
constexpr double giveUpMs = 30000; // a program that shows nothing by then has failed
constexpr DWORD exitWaitMs = 10000;

class Handle {
  public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    ~Handle() {
        if (handle_)
            CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

class Clock {
  public:
    Clock() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double elapsedMs() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return sinceStartMs(now.QuadPart);
    }
    // The counter is the machine's, so a count another process read converts too.
    double sinceStartMs(LONGLONG count) const {
        return 1000.0 * static_cast<double>(count - start_.QuadPart) /
               static_cast<double>(frequency_.QuadPart);
    }

  private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

// Checked like printf: a pattern and its arguments that part ways are caught when built.
__attribute__((format(gnu_printf, 1, 2))) std::string format(const char* pattern, ...) {
    char buffer[512];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return buffer;
}

std::string fileName(const std::string& path) {
    return path.substr(path.find_last_of("\\/") + 1);
}

unsigned long long fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        throw std::runtime_error("cannot read the size of " + path);
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A temporary directory holding a copy of one program, as a user's game folder
// holds the launcher; it goes again with everything in it.
class LaunchDirectory {
  public:
    explicit LaunchDirectory(const std::string& program) {
        static int counter = 0;
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = format("%sstartup-bench-%lu-%d", temp, GetCurrentProcessId(), ++counter);
        if (!CreateDirectoryA(path_.c_str(), nullptr))
            throw std::runtime_error("cannot create " + path_);
        executable_ = path_ + "\\" + fileName(program);
        if (!CopyFileA(program.c_str(), executable_.c_str(), FALSE)) {
            RemoveDirectoryA(path_.c_str());
            throw std::runtime_error("cannot copy " + program + " to " + path_);
        }
    }
    ~LaunchDirectory() {
        // Whatever the program left behind goes too.
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA((path_ + "\\" + found.cFileName).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path_.c_str());
    }
    LaunchDirectory(const LaunchDirectory&) = delete;
    LaunchDirectory& operator=(const LaunchDirectory&) = delete;
    const std::string& path() const { return path_; }
    const std::string& executable() const { return executable_; }

  private:
    std::string path_;
    std::string executable_;
};

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND visibleWindowOf(DWORD processId) {
    WindowSearch search{processId, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Sample {
    double startupMs; // a visible top-level window
    double readyMs;   // that, and the program waits for input: its first frame is painted
    double closeMs;
    SIZE_T peakWorkingSet;
    SIZE_T peakPagefile;
    std::map<std::string, double> phasesMs; // what the program marked, in ms after start
    std::vector<std::string> phaseOrder;
};

// The marks a program built with STARTUP_PHASES wrote on its way out; none from
// any other build.
void readPhases(const std::string& path, const Clock& clock, Sample& sample) {
    std::ifstream file(path);
    std::string name;
    long long count;
    while (file >> name >> count) {
        sample.phasesMs[name] = clock.sinceStartMs(count);
        sample.phaseOrder.push_back(name);
    }
}

Sample measure(const std::string& program) {
    LaunchDirectory directory(program);
    std::string commandLine = "\"" + directory.executable() + "\"";
    std::string phasesFile = directory.path() + "\\phases.txt";
    SetEnvironmentVariableA("STARTUP_PHASES_FILE", phasesFile.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};

    Clock clock;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        directory.path().c_str(), &startup, &info))
        throw std::runtime_error(
            format("cannot start %s (error %lu)", program.c_str(), GetLastError()));
    Handle process(info.hProcess);
    Handle thread(info.hThread);

    Sample sample{};
    HWND window = nullptr;
    for (;;) {
        if (!window && (window = visibleWindowOf(info.dwProcessId)))
            sample.startupMs = clock.elapsedMs();
        // Idle before its window shows would be some wait of the program's own start-up.
        if (window && WaitForInputIdle(process.get(), 0) == 0) {
            sample.readyMs = clock.elapsedMs();
            break;
        }
        if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0)
            throw std::runtime_error(program + " ended without showing a window");
        if (clock.elapsedMs() > giveUpMs) {
            TerminateProcess(process.get(), 1);
            throw std::runtime_error(program + " showed no window in time");
        }
        Sleep(1);
    }

    Sleep(settleMs);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) {
        TerminateProcess(process.get(), 1);
        throw std::runtime_error(
            format("cannot read the memory of %s (error %lu)", program.c_str(), GetLastError()));
    }
    sample.peakWorkingSet = counters.PeakWorkingSetSize;
    sample.peakPagefile = counters.PeakPagefileUsage;

    Clock closing;
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.get(), exitWaitMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        throw std::runtime_error(program + " did not exit after WM_CLOSE");
    }
    sample.closeMs = closing.elapsedMs();
    readPhases(phasesFile, clock, sample);
    return sample;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template <typename Field>
std::vector<double> values(const std::vector<Sample>& samples, Field field) {
    std::vector<double> result;
    for (const Sample& s : samples)
        result.push_back(static_cast<double>(s.*field));
    return result;
}

struct Spread {
    double median, least, most;
};

Spread spread(const std::vector<double>& v) {
    return {median(v), *std::min_element(v.begin(), v.end()),
            *std::max_element(v.begin(), v.end())};
}

template <typename Field> Spread spread(const std::vector<Sample>& samples, Field field) {
    return spread(values(samples, field));
}

class Report {
  public:
    void line(const std::string& text) {
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
        lines_.push_back(text);
    }
    void save(const std::string& path) const {
        Handle file(
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE)
            throw std::runtime_error("cannot write " + path);
        for (const std::string& text : lines_) {
            std::string withEnd = text + "\n";
            DWORD written;
            if (!WriteFile(file.get(), withEnd.data(), static_cast<DWORD>(withEnd.size()), &written,
                           nullptr))
                throw std::runtime_error("cannot write " + path);
        }
    }

  private:
    std::vector<std::string> lines_;
};

void summarise(Report& report, const std::string& name, const std::vector<Sample>& samples) {
    auto ms = [&](const char* what, const Spread& s) {
        report.line(format("%s %s ms: median %.1f (min %.1f, max %.1f)", name.c_str(), what,
                           s.median, s.least, s.most));
    };
    auto kb = [&](const char* what, const Spread& s) {
        report.line(format("%s %s KB: median %.0f (min %.0f, max %.0f)", name.c_str(), what,
                           s.median / 1024, s.least / 1024, s.most / 1024));
    };
    ms("start-up", spread(samples, &Sample::startupMs));
    ms("ready", spread(samples, &Sample::readyMs));
    kb("peak working set", spread(samples, &Sample::peakWorkingSet));
    kb("peak pagefile usage", spread(samples, &Sample::peakPagefile));
    ms("close", spread(samples, &Sample::closeMs));
    // Phases in the order the program reached them, each with its time since the
    // previous one taken within each run: a loaded machine shifts whole runs, and
    // differences within a run keep more of the phase's own cost than differences
    // of medians do. A phase some run did not mark is left out.
    std::string previous;
    for (const std::string& phase : samples.front().phaseOrder) {
        std::vector<double> at, since;
        for (const Sample& s : samples) {
            auto it = s.phasesMs.find(phase);
            if (it == s.phasesMs.end())
                break;
            at.push_back(it->second);
            since.push_back(previous.empty() ? it->second : it->second - s.phasesMs.at(previous));
        }
        if (at.size() != samples.size())
            continue;
        Spread a = spread(at), d = spread(since);
        report.line(format("%s phase %s: at %.1f ms (min %.1f, max %.1f), %.1f ms after %s (min "
                           "%.1f, max %.1f)",
                           name.c_str(), phase.c_str(), a.median, a.least, a.most, d.median,
                           previous.empty() ? "CreateProcess" : previous.c_str(), d.least, d.most));
        previous = phase;
    }
}

std::string verdict(bool met) {
    return met ? "met" : "NOT met";
}

void run(const std::string& reportPath, int runs, const std::vector<std::string>& programs) {
    Report report;
    std::string names;
    for (const std::string& program : programs)
        names += (names.empty() ? "" : ", ") + fileName(program);
    report.line(
        format("%d runs of each, alternating %s, after one uncounted round", runs, names.c_str()));
    for (const std::string& program : programs)
        measure(program);

    std::vector<std::vector<Sample>> samples(programs.size());
    for (int i = 1; i <= runs; ++i) {
        for (size_t p = 0; p < programs.size(); ++p) {
            Sample s = measure(programs[p]);
            samples[p].push_back(s);
            report.line(format("run %d %s: start-up %.1f ms, ready %.1f ms, peak working set %zu "
                               "KB, peak pagefile %zu KB, close %.1f ms",
                               i, fileName(programs[p]).c_str(), s.startupMs, s.readyMs,
                               s.peakWorkingSet / 1024, s.peakPagefile / 1024, s.closeMs));
        }
    }

    for (size_t p = 0; p < programs.size(); ++p) {
        summarise(report, fileName(programs[p]), samples[p]);
        report.line(
            format("%s size bytes: %llu", fileName(programs[p]).c_str(), fileSize(programs[p])));
    }
    // Every program against the reference, then the launcher against the others.
    auto ratios = [&](size_t a, size_t b) {
        auto ratio = [&](auto field) {
            return median(values(samples[a], field)) / median(values(samples[b], field));
        };
        // Each round's pair ran under the same load: the median of their ratios
        // moves less with the machine's load than the ratio of the medians.
        auto paired = [&](auto field) {
            std::vector<double> r;
            for (size_t i = 0; i < samples[a].size(); ++i)
                r.push_back(static_cast<double>(samples[a][i].*field) /
                            static_cast<double>(samples[b][i].*field));
            return spread(r);
        };
        Spread startupPaired = paired(&Sample::startupMs), readyPaired = paired(&Sample::readyMs);
        report.line(format("ratios %s/%s: start-up %.3f (paired %.3f, %.3f-%.3f), ready %.3f "
                           "(paired %.3f, %.3f-%.3f), peak working set %.3f, peak "
                           "pagefile usage %.3f",
                           fileName(programs[a]).c_str(), fileName(programs[b]).c_str(),
                           ratio(&Sample::startupMs), startupPaired.median, startupPaired.least,
                           startupPaired.most, ratio(&Sample::readyMs), readyPaired.median,
                           readyPaired.least, readyPaired.most, ratio(&Sample::peakWorkingSet),
                           ratio(&Sample::peakPagefile)));
    };
    for (size_t p = 0; p < programs.size(); ++p)
        if (p != 1)
            ratios(p, 1);
    for (size_t p = 2; p < programs.size(); ++p)
        ratios(0, p);

    const std::string subject = fileName(programs[0]);
    const std::string reference = fileName(programs[1]);
    double startupRatio = median(values(samples[0], &Sample::startupMs)) /
                          median(values(samples[1], &Sample::startupMs));
    double memoryRatio = median(values(samples[0], &Sample::peakWorkingSet)) /
                         median(values(samples[1], &Sample::peakWorkingSet));
    unsigned long long size = fileSize(programs[0]);
    report.line(format("target start-up ratio %s/%s <= %.2f: %.3f, %s", subject.c_str(),
                       reference.c_str(), startupRatioTarget, startupRatio,
                       verdict(startupRatio <= startupRatioTarget).c_str()));
    report.line(format("target peak working set ratio %s/%s <= %.2f: %.3f, %s", subject.c_str(),
                       reference.c_str(), workingSetRatioTarget, memoryRatio,
                       verdict(memoryRatio <= workingSetRatioTarget).c_str()));
    report.line(format("target %s size <= %llu bytes: %llu, %s", subject.c_str(), sizeTarget, size,
                       verdict(size <= sizeTarget).c_str()));
    report.save(reportPath);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: startup REPORT.txt RUNS LAUNCHER.exe REFERENCE.exe "
                             "[OTHER.exe...]\n");
        return 2;
    }
    int runs = std::atoi(argv[2]);
    if (runs < 1) {
        std::fprintf(stderr, "RUNS must be a positive number\n");
        return 2;
    }
    try {
        run(argv[1], runs, std::vector<std::string>(argv + 3, argv + argc));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "startup: %s\n", e.what());
        return 1;
    }
    return 0;
}
