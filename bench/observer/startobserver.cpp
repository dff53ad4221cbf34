// Measures how long programs take from launch to a mapped top-level window,
// and their peak resident memory once the window is shown.
//
//   norvana_startobserver [--runs N] [--settle-ms MS] [--timeout-ms MS]
//                         [--title TITLE] [--wrap "CMD ARGS"] [--baseline LABEL]
//                         LABEL="PROGRAM [ARGS]"...
//
// The programs are started in turn (round-robin: A, B, C, A, B, C, ...) so
// that drifts of the machine's load spread evenly over them. For each run the
// observer takes a CLOCK_MONOTONIC stamp, forks and execs the program, and
// waits on the X server's root window for the MapNotify of a top-level window
// titled TITLE (WM_NAME or _NET_WM_NAME; a title that arrives after the map
// is caught by PropertyNotify). After a fixed settling time it reads VmHWM
// from /proc/PID/status and ends the program with SIGTERM (SIGKILL if it
// lingers). The first program is the subject: the summary gives its ratios
// to each of the others, computed from the medians of this one run. With
// --baseline it gives instead every program's ratios to the one so labelled.
//
// --wrap prefixes every command, e.g. with valgrind, to profile exactly the
// start-up that is measured; the figures are then those of the wrapper.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <set>
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

struct Options
{
    int runs = 10;
    int settleMs = 300;
    int timeoutMs = 20000;
    std::string title = "Norvana";
    std::vector<std::string> wrap;
    std::string baseline;
};

struct Program
{
    std::string label;
    std::string path;
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

[[noreturn]] void usage(const char *why)
{
    std::fprintf(stderr,
                 "error: %s\nusage: norvana_startobserver [--runs N] [--settle-ms MS] "
                 "[--timeout-ms MS] [--title TITLE] [--wrap \"CMD ARGS\"] [--baseline LABEL] "
                 "LABEL=\"PROGRAM [ARGS]\"...\n",
                 why);
    std::exit(2);
}

int positiveNumber(const char *text, const char *option)
{
    char *end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 0 || value > 1000000)
        usage((std::string("bad value for ") + option).c_str());
    return int(value);
}

// Reads one property of a window as text, or nothing if it is absent.
std::optional<std::string> textProperty(Display *display, Window window, Atom property,
                                        Atom type)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 1024, False, type, &actualType,
                           &format, &count, &after, &data)
            != Success
        || actualType == None) {
        if (data)
            XFree(data);
        return std::nullopt;
    }
    std::string text;
    if (data && format == 8)
        text.assign(reinterpret_cast<const char *>(data), count);
    if (data)
        XFree(data);
    return text;
}

std::optional<long> cardinalProperty(Display *display, Window window, Atom property)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    std::optional<long> value;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &actualType,
                           &format, &count, &after, &data)
            == Success
        && actualType == XA_CARDINAL && format == 32 && count == 1)
        value = *reinterpret_cast<const long *>(data); // Xlib stores format 32 as long
    if (data)
        XFree(data);
    return value;
}

// Windows can vanish between an event and the query about them.
int ignoreXErrors(Display *, XErrorEvent *)
{
    return 0;
}

class Observer
{
public:
    explicit Observer(Display *display) : m_display(display)
    {
        m_root = DefaultRootWindow(display);
        m_wmName = XInternAtom(display, "WM_NAME", False);
        m_netWmName = XInternAtom(display, "_NET_WM_NAME", False);
        m_utf8 = XInternAtom(display, "UTF8_STRING", False);
        m_netWmPid = XInternAtom(display, "_NET_WM_PID", False);
        XSelectInput(display, m_root, SubstructureNotifyMask);
        XSync(display, False);
    }

    // Launches the program and waits for its window. Returns the time from
    // launch to the mapped, titled window in ms, or nothing on a timeout or
    // an early exit; pid receives the program's process id.
    std::optional<double> launch(const std::vector<std::string> &command,
                                 const Options &options, pid_t &pid)
    {
        drainEvents();
        m_mapped.clear();

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

        const double deadline = start + options.timeoutMs;
        while (true) {
            while (XPending(m_display)) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (handle(event, options.title, pid))
                    return nowMs() - start;
            }
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                std::fprintf(stderr, "error: %s ended before its window was shown\n", argv[0]);
                pid = -1;
                return std::nullopt;
            }
            const double left = deadline - nowMs();
            if (left <= 0) {
                std::fprintf(stderr, "error: no window titled \"%s\" within %d ms\n",
                             options.title.c_str(), options.timeoutMs);
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
    // True once a mapped top-level window of the program carries the title.
    bool handle(const XEvent &event, const std::string &title, pid_t pid)
    {
        switch (event.type) {
        case CreateNotify:
            // Follow its properties, in case the title is set after mapping.
            if (event.xcreatewindow.parent == m_root)
                XSelectInput(m_display, event.xcreatewindow.window, PropertyChangeMask);
            return false;
        case MapNotify:
            if (event.xmap.event != m_root)
                return false;
            m_mapped.insert(event.xmap.window);
            // The selection may have come too late for an early title: look.
            XSelectInput(m_display, event.xmap.window, PropertyChangeMask);
            return isWanted(event.xmap.window, title, pid);
        case UnmapNotify:
            m_mapped.erase(event.xunmap.window);
            return false;
        case PropertyNotify:
            if (event.xproperty.atom != m_wmName && event.xproperty.atom != m_netWmName)
                return false;
            return m_mapped.count(event.xproperty.window)
                && isWanted(event.xproperty.window, title, pid);
        default:
            return false;
        }
    }

    bool isWanted(Window window, const std::string &title, pid_t pid)
    {
        // A window of another process (a straggler of an earlier run, say)
        // does not count; a window without _NET_WM_PID is taken on its title.
        if (const std::optional<long> owner = cardinalProperty(m_display, window, m_netWmPid);
            owner && *owner != long(pid))
            return false;
        return textProperty(m_display, window, m_netWmName, m_utf8) == title
            || textProperty(m_display, window, m_wmName, AnyPropertyType) == title;
    }

    Display *m_display;
    Window m_root;
    Atom m_wmName;
    Atom m_netWmName;
    Atom m_utf8;
    Atom m_netWmPid;
    std::set<Window> m_mapped;
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
    Options options;
    std::vector<Program> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char * {
            if (i + 1 >= argc)
                usage(("missing value for " + arg).c_str());
            return argv[++i];
        };
        if (arg == "--runs")
            options.runs = positiveNumber(value(), "--runs");
        else if (arg == "--settle-ms")
            options.settleMs = positiveNumber(value(), "--settle-ms");
        else if (arg == "--timeout-ms")
            options.timeoutMs = positiveNumber(value(), "--timeout-ms");
        else if (arg == "--title")
            options.title = value();
        else if (arg == "--wrap")
            options.wrap = splitWords(value());
        else if (arg == "--baseline")
            options.baseline = value();
        else if (arg.rfind("--", 0) == 0)
            usage(("unknown option " + arg).c_str());
        else {
            const std::size_t eq = arg.find('=');
            if (eq == std::string::npos || eq == 0 || eq + 1 == arg.size())
                usage(("expected LABEL=PROGRAM, got " + arg).c_str());
            programs.push_back({arg.substr(0, eq), arg.substr(eq + 1), {}, {}});
        }
    }
    if (programs.empty())
        usage("no program to measure");
    if (options.runs < 1)
        usage("--runs must be at least 1");
    const Program *baseline = nullptr;
    if (!options.baseline.empty()) {
        for (const Program &p : programs)
            if (p.label == options.baseline)
                baseline = &p;
        if (!baseline)
            usage(("no program labelled " + options.baseline).c_str());
    }

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "error: cannot open the X display \"%s\"\n",
                     std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
        return 1;
    }
    XSetErrorHandler(ignoreXErrors);
    Observer observer(display);

    std::printf("%-16s %4s %10s %12s\n", "program", "run", "map_ms", "VmHWM_kB");
    for (int run = 1; run <= options.runs; ++run) {
        for (Program &program : programs) {
            std::vector<std::string> command = options.wrap;
            for (const std::string &word : splitWords(program.path))
                command.push_back(word);
            pid_t pid = -1;
            const std::optional<double> ms = observer.launch(command, options, pid);
            if (!ms) {
                endProgram(pid);
                std::fprintf(stderr, "error: run %d of %s failed\n", run, program.label.c_str());
                return 1;
            }
            settle(observer, options.settleMs);
            const std::optional<long> peak = peakResidentKb(pid);
            endProgram(pid);
            if (!peak) {
                std::fprintf(stderr, "error: no VmHWM for %s\n", program.label.c_str());
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
    if (baseline) {
        for (const Program &p : programs)
            if (&p != baseline)
                printRatio(p, *baseline);
    } else {
        for (std::size_t i = 1; i < programs.size(); ++i)
            printRatio(programs.front(), programs[i]);
    }
    XCloseDisplay(display);
    return 0;
}
