// Start-up benchmark driver: starts the launcher and a minimal window program
// in turn, each from a fresh launch directory, and reports how long each takes
// to show its window and how much memory it peaks at.
//
// Usage: startup.exe LAUNCHER.exe MINIMAL.exe REPORT.txt [RUNS]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int defaultRuns = 10;
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
        return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) /
               static_cast<double>(frequency_.QuadPart);
    }

  private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

std::string format(const char* pattern, ...) {
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
    double startupMs;
    double closeMs;
    SIZE_T peakWorkingSet;
    SIZE_T peakPagefile;
};

Sample measure(const std::string& program) {
    LaunchDirectory directory(program);
    std::string commandLine = "\"" + directory.executable() + "\"";
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

    HWND window = nullptr;
    while (!(window = visibleWindowOf(info.dwProcessId))) {
        if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0)
            throw std::runtime_error(program + " ended without showing a window");
        if (clock.elapsedMs() > giveUpMs) {
            TerminateProcess(process.get(), 1);
            throw std::runtime_error(program + " showed no window in time");
        }
        Sleep(1);
    }
    Sample sample{};
    sample.startupMs = clock.elapsedMs();

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
    return sample;
}

template <typename Field> double median(const std::vector<Sample>& samples, Field field) {
    std::vector<double> values;
    for (const Sample& s : samples)
        values.push_back(static_cast<double>(s.*field));
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template <typename Field> double smallest(const std::vector<Sample>& samples, Field field) {
    double least = static_cast<double>(samples.front().*field);
    for (const Sample& s : samples)
        least = std::min(least, static_cast<double>(s.*field));
    return least;
}

template <typename Field> double largest(const std::vector<Sample>& samples, Field field) {
    double most = static_cast<double>(samples.front().*field);
    for (const Sample& s : samples)
        most = std::max(most, static_cast<double>(s.*field));
    return most;
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
    report.line(format("%s start-up ms: median %.1f (min %.1f, max %.1f)", name.c_str(),
                       median(samples, &Sample::startupMs), smallest(samples, &Sample::startupMs),
                       largest(samples, &Sample::startupMs)));
    report.line(format("%s peak working set KB: median %.0f (min %.0f, max %.0f)", name.c_str(),
                       median(samples, &Sample::peakWorkingSet) / 1024,
                       smallest(samples, &Sample::peakWorkingSet) / 1024,
                       largest(samples, &Sample::peakWorkingSet) / 1024));
    report.line(format("%s peak pagefile usage KB: median %.0f (min %.0f, max %.0f)", name.c_str(),
                       median(samples, &Sample::peakPagefile) / 1024,
                       smallest(samples, &Sample::peakPagefile) / 1024,
                       largest(samples, &Sample::peakPagefile) / 1024));
    report.line(
        format("%s close ms: median %.1f", name.c_str(), median(samples, &Sample::closeMs)));
}

void run(const std::string& launcher, const std::string& minimal, const std::string& reportPath,
         int runs) {
    Report report;
    const std::string a = fileName(launcher), b = fileName(minimal);
    report.line(format("%d runs of each, alternating %s and %s, after one uncounted pair", runs,
                       a.c_str(), b.c_str()));
    measure(launcher);
    measure(minimal);

    std::vector<Sample> launcherSamples, minimalSamples;
    for (int i = 1; i <= runs; ++i) {
        for (const std::string* program : {&launcher, &minimal}) {
            Sample s = measure(*program);
            (program == &launcher ? launcherSamples : minimalSamples).push_back(s);
            report.line(format("run %d %s: start-up %.1f ms, peak working set %zu KB, peak "
                               "pagefile %zu KB, close %.1f ms",
                               i, fileName(*program).c_str(), s.startupMs, s.peakWorkingSet / 1024,
                               s.peakPagefile / 1024, s.closeMs));
        }
    }

    summarise(report, a, launcherSamples);
    summarise(report, b, minimalSamples);
    report.line(format("start-up ratio %s/%s: %.3f", a.c_str(), b.c_str(),
                       median(launcherSamples, &Sample::startupMs) /
                           median(minimalSamples, &Sample::startupMs)));
    report.line(format("memory ratio (peak working set) %s/%s: %.3f", a.c_str(), b.c_str(),
                       median(launcherSamples, &Sample::peakWorkingSet) /
                           median(minimalSamples, &Sample::peakWorkingSet)));
    report.line(format("memory ratio (peak pagefile usage) %s/%s: %.3f", a.c_str(), b.c_str(),
                       median(launcherSamples, &Sample::peakPagefile) /
                           median(minimalSamples, &Sample::peakPagefile)));
    report.line(format("%s size bytes: %llu", a.c_str(), fileSize(launcher)));
    report.line(format("%s size bytes: %llu", b.c_str(), fileSize(minimal)));
    report.save(reportPath);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "usage: startup LAUNCHER.exe MINIMAL.exe REPORT.txt [RUNS]\n");
        return 2;
    }
    int runs = argc == 5 ? std::atoi(argv[4]) : defaultRuns;
    if (runs < 1) {
        std::fprintf(stderr, "RUNS must be a positive number\n");
        return 2;
    }
    try {
        run(argv[1], argv[2], argv[3], runs);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "startup: %s\n", e.what());
        return 1;
    }
    return 0;
}
