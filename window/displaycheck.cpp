#include "displaycheck.h"

#if defined(__unix__) && !defined(__APPLE__)

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace norvana {

namespace {

// The value that follows the toolkit's option -NAME or --NAME, or null.
const char *optionValue(int argc, char *argv[], const char *name)
{
    for (int i = 1; i + 1 < argc; ++i) {
        const char *arg = argv[i];
        if (std::strncmp(arg, "--", 2) == 0)
            ++arg;
        if (arg[0] == '-' && std::strcmp(arg + 1, name) == 0)
            return argv[i + 1];
    }
    return nullptr;
}

const char *environment(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// Whether something accepts a stream connection at the address. Only
// connects: the toolkit then opens its own connection.
bool answers(const sockaddr *address, socklen_t length)
{
    const int fd = ::socket(address->sa_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, address, length) == 0;
    ::close(fd);
    return connected;
}

// A local socket by its path, or by its name in Linux's abstract namespace.
bool localSocketAnswers(const std::string &path, bool abstract = false)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t start = abstract ? 1 : 0; // the abstract name follows a zero byte
    if (start + path.size() >= sizeof address.sun_path)
        return false;
    path.copy(address.sun_path + start, path.size());
    const std::size_t used = start + path.size() + (abstract ? 0 : 1);
    return answers(reinterpret_cast<const sockaddr *>(&address),
                   socklen_t(offsetof(sockaddr_un, sun_path) + used));
}

bool tcpAnswers(const std::string &host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return false;
    bool connected = false;
    for (const addrinfo *a = found; a && !connected; a = a->ai_next)
        connected = answers(a->ai_addr, a->ai_addrlen);
    ::freeaddrinfo(found);
    return connected;
}

// An X display, [[protocol/]host]:number[.screen], as Xlib and xcb read it:
// without a host (or with "unix") the server's local socket, first in the
// abstract namespace, else in /tmp/.X11-unix; with a host its TCP port.
// Forms these rules do not cover are left to the toolkit.
bool xDisplayAnswers(const std::string &display)
{
    const std::size_t colon = display.rfind(':');
    if (colon == std::string::npos)
        return false;
    if (display[0] == '/' || (colon > 0 && display[colon - 1] == ':'))
        return true; // a socket path (launchd) or DECnet
    std::string host = display.substr(0, colon);
    std::string protocol;
    if (const std::size_t slash = host.find('/'); slash != std::string::npos) {
        protocol = host.substr(0, slash);
        host.erase(0, slash + 1);
    }
    const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
    if (number.empty() || number.size() > 5 || number.find_first_not_of("0123456789") != std::string::npos)
        return false;
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    if ((host.empty() || host == "unix") && (protocol.empty() || protocol == "unix")) {
        const std::string socket = "/tmp/.X11-unix/X" + number;
        return localSocketAnswers(socket, true) || localSocketAnswers(socket);
    }
    return tcpAnswers(host.empty() ? std::string("localhost") : host, 6000 + std::stoi(number));
}

} // namespace

std::string displayProblem(int argc, char *argv[])
{
    if (environment("QT_QPA_PLATFORM") || optionValue(argc, argv, "platform"))
        return {};
    if (environment("WAYLAND_SOCKET"))
        return {}; // a connection handed over by the compositor

    // The toolkit tries Wayland first when a Wayland session is announced,
    // then X11.
    std::string missing;
    const char *wayland = environment("WAYLAND_DISPLAY");
    const char *session = environment("XDG_SESSION_TYPE");
    if (wayland || (session && std::strcmp(session, "wayland") == 0)) {
        const std::string name = wayland ? wayland : "wayland-0";
        const char *runtime = environment("XDG_RUNTIME_DIR");
        if (name[0] != '/' && !runtime) {
            missing = "XDG_RUNTIME_DIR, where the Wayland compositor's socket " + name + " would be, is not set";
        } else {
            const std::string path = name[0] == '/' ? name : std::string(runtime) + '/' + name;
            if (localSocketAnswers(path))
                return {};
            missing = "no Wayland compositor answers at " + path + " (WAYLAND_DISPLAY)";
        }
    }
    const char *option = optionValue(argc, argv, "display");
    if (const char *x = option ? option : environment("DISPLAY")) {
        if (xDisplayAnswers(x))
            return {};
        missing += std::string(missing.empty() ? "" : " and ") + "the X display " + x
            + (option ? " (-display)" : " (DISPLAY)") + " does not answer";
    }
    if (missing.empty())
        missing = "neither DISPLAY nor WAYLAND_DISPLAY is set";
    return "norvana: no display to open the window on: " + missing
        + "; start Norvana in a desktop session, or on a virtual display: xvfb-run norvana";
}

} // namespace norvana

#else

namespace norvana {

std::string displayProblem(int, char *[])
{
    return {};
}

} // namespace norvana

#endif
