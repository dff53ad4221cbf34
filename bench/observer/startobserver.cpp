// Times programs from launch to a mapped top-level window titled "Norvana"
// and reads their peak resident memory once it is shown (docs/PERFORMANCE.md
// gives the method).
//
//   norvana_startobserver [--runs N] [--settle-ms MS] [--timeout-ms MS]
//                         [--wrap "CMD ARGS"] [--baseline LABEL]
//                         LABEL="PROGRAM [ARGS]"...
//
// The programs run round-robin. The summary gives each one's median, minimum
// and maximum, then the ratios of the first program's medians to the others'
// or, with --baseline, every program's to that one's. --wrap prefixes every
// command (valgrind, say); the figures are then the wrapper's.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

const std::string title = "Norvana";

struct Program
{
    std::string label;
    std::string command;
    std::vector<double> mapMs;
    std::vector<long> peakKb;
};

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1.0e6;
}

std::vector<std::string> splitWords(const std::string &text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

[[noreturn]] void usage(const std::string &why)
{
    std::fprintf(stderr,
                 "error: %s\nusage: norvana_startobserver [--runs N] [--settle-ms MS] "
                 "[--timeout-ms MS] [--wrap \"CMD ARGS\"] [--baseline LABEL] "
                 "LABEL=\"PROGRAM [ARGS]\"...\n",
                 why.c_str());
    std::exit(2);
}

int number(const char *text, const std::string &option)
{
    char *end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 1000000)
        usage("bad value for " + option);
    return int(value);
}

// A window's property as raw bytes (format 32 as Xlib gives it, in longs),
// or nothing if it is absent.
std::optional<std::string> property(Display *display, Window window, Atom name)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    std::optional<std::string> value;
    if (XGetWindowProperty(display, window, name, 0, 1024, False, AnyPropertyType, &type,
                           &format, &count, &after, &data)
            == Success
        && type != None && data)
        value.emplace(reinterpret_cast<const char *>(data),
                      count * (format == 32 ? sizeof(long) : std::size_t(format / 8)));
    if (data)
        XFree(data);
    return value;
}

class Observer
{
public:
    explicit Observer(Display *display)
        : m_display(display), m_root(DefaultRootWindow(display)),
          m_netWmName(XInternAtom(display, "_NET_WM_NAME", False)),
          m_netWmPid(XInternAtom(display, "_NET_WM_PID", False))
    {
        XSelectInput(display, m_root, SubstructureNotifyMask);
        XSync(display, False);
    }

    // Launches the command and returns the time in ms to its mapped, titled
    // window, or nothing on a timeout or an early exit; pid receives the
    // process id (-1 once it has been reaped).
    std::optional<double> launch(const std::vector<std::string> &command, int timeoutMs,
                                 pid_t &pid)
    {
        drainEvents();
        std::vector<char *> argv;
        for (const std::string &word : command)
            argv.push_back(const_cast<char *>(word.c_str()));
        argv.push_back(nullptr);

        const double start = nowMs();
        pid = fork();
        if (pid == 0) {
            const int null = open("/dev/null", O_WRONLY);
            if (null >= 0)
                dup2(null, STDOUT_FILENO);
            close(ConnectionNumber(m_display));
            execvp(argv[0], argv.data());
            std::perror(argv[0]);
            _exit(127);
        }
        if (pid < 0) {
            std::perror("fork");
            return std::nullopt;
        }

        const double deadline = start + timeoutMs;
        while (true) {
            while (XPending(m_display)) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (isShown(event, pid))
                    return nowMs() - start;
            }
            if (waitpid(pid, nullptr, WNOHANG) == pid) {
                std::fprintf(stderr, "error: %s ended before its window was shown\n", argv[0]);
                pid = -1;
                return std::nullopt;
            }
            const double left = deadline - nowMs();
            if (left <= 0) {
                std::fprintf(stderr, "error: no window titled \"%s\" within %d ms\n",
                             title.c_str(), timeoutMs);
                return std::nullopt;
            }
            pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
            poll(&fd, 1, std::min(int(left) + 1, 50));
        }
    }

    // Keeps the event queue short while a program settles.
    void drainEvents()
    {
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
        }
    }

private:
    // True once a mapped top-level window of the process carries the title.
    bool isShown(const XEvent &event, pid_t pid)
    {
        if (event.type == MapNotify && event.xmap.event == m_root) {
            // A title set from now on comes as a PropertyNotify; one set
            // before is read at once.
            XSelectInput(m_display, event.xmap.window, PropertyChangeMask);
            return isWanted(event.xmap.window, pid);
        }
        return event.type == PropertyNotify
            && (event.xproperty.atom == XA_WM_NAME || event.xproperty.atom == m_netWmName)
            && isWanted(event.xproperty.window, pid);
    }

    bool isWanted(Window window, pid_t pid)
    {
        // A window of another process (a straggler of an earlier run, say)
        // does not count; a window without _NET_WM_PID is taken on its title.
        const long own = pid;
        if (const std::optional<std::string> owner = property(m_display, window, m_netWmPid);
            owner && *owner != std::string(reinterpret_cast<const char *>(&own), sizeof own))
            return false;
        return property(m_display, window, m_netWmName) == title
            || property(m_display, window, XA_WM_NAME) == title;
    }

    Display *m_display;
    Window m_root;
    Atom m_netWmName;
    Atom m_netWmPid;
};

// The peak resident set size of a live process, in kB.
std::optional<long> peakResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return std::nullopt;
}

void endProgram(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    // Wrappers such as valgrind need a moment to write their output.
    for (int waited = 0; waited < 30000; waited += 10) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

template <typename T>
T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void settle(Observer &observer, int ms)
{
    const double until = nowMs() + ms;
    while (nowMs() < until) {
        usleep(10000);
        observer.drainEvents();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    int runs = 10;
    int settleMs = 300;
    int timeoutMs = 20000;
    std::vector<std::string> wrap;
    std::string baselineLabel;
    std::vector<Program> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char * {
            if (i + 1 >= argc)
                usage("missing value for " + arg);
            return argv[++i];
        };
        if (arg == "--runs")
            runs = number(value(), arg);
        else if (arg == "--settle-ms")
            settleMs = number(value(), arg);
        else if (arg == "--timeout-ms")
            timeoutMs = number(value(), arg);
        else if (arg == "--wrap")
            wrap = splitWords(value());
        else if (arg == "--baseline")
            baselineLabel = value();
        else if (arg.rfind("--", 0) == 0)
            usage("unknown option " + arg);
        else {
            const std::size_t eq = arg.find('=');
            if (eq == std::string::npos || eq == 0 || eq + 1 == arg.size())
                usage("expected LABEL=PROGRAM, got " + arg);
            programs.push_back({arg.substr(0, eq), arg.substr(eq + 1), {}, {}});
        }
    }
    if (programs.empty())
        usage("no program to measure");
    if (runs < 1)
        usage("--runs must be at least 1");
    const Program *baseline = nullptr;
    for (const Program &p : programs)
        if (p.label == baselineLabel)
            baseline = &p;
    if (!baselineLabel.empty() && !baseline)
        usage("no program labelled " + baselineLabel);

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "error: cannot open the X display\n");
        return 1;
    }
    // Windows can vanish between an event and the query about them.
    XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
    Observer observer(display);

    std::printf("%-16s %4s %10s %12s\n", "program", "run", "map_ms", "VmHWM_kB");
    for (int run = 1; run <= runs; ++run) {
        for (Program &program : programs) {
            std::vector<std::string> command = wrap;
            for (const std::string &word : splitWords(program.command))
                command.push_back(word);
            pid_t pid = -1;
            const std::optional<double> ms = observer.launch(command, timeoutMs, pid);
            std::optional<long> peak;
            if (ms) {
                settle(observer, settleMs);
                peak = peakResidentKb(pid);
            }
            endProgram(pid);
            if (!peak) {
                std::fprintf(stderr, "error: run %d of %s failed\n", run, program.label.c_str());
                return 1;
            }
            program.mapMs.push_back(*ms);
            program.peakKb.push_back(*peak);
            std::printf("%-16s %4d %10.1f %12ld\n", program.label.c_str(), run, *ms, *peak);
            std::fflush(stdout);
        }
    }

    std::printf("\n%-16s %5s %28s %32s\n", "program", "runs", "map ms: median [min, max]",
                "VmHWM MB: median [min, max]");
    for (const Program &p : programs) {
        const auto [minMs, maxMs] = std::minmax_element(p.mapMs.begin(), p.mapMs.end());
        const auto [minKb, maxKb] = std::minmax_element(p.peakKb.begin(), p.peakKb.end());
        std::printf("%-16s %5zu %11.1f [%6.1f, %6.1f] %15.1f [%6.1f, %6.1f]\n",
                    p.label.c_str(), p.mapMs.size(), median(p.mapMs), *minMs, *maxMs,
                    median(p.peakKb) / 1024.0, *minKb / 1024.0, *maxKb / 1024.0);
    }
    auto printRatio = [](const Program &a, const Program &b) {
        std::printf("ratio %s/%s: time %.2f, memory %.2f\n", a.label.c_str(), b.label.c_str(),
                    median(a.mapMs) / median(b.mapMs),
                    double(median(a.peakKb)) / double(median(b.peakKb)));
    };
    for (const Program &p : programs) {
        if (baseline && &p != baseline)
            printRatio(p, *baseline);
        else if (!baseline && &p != &programs.front())
            printRatio(programs.front(), p);
    }
    XCloseDisplay(display);
    return 0;
}
