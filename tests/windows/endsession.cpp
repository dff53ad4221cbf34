// Starts Norvana.exe, waits for its window, and ends it as Windows does:
//   endsession NORVANA.EXE endsession   WM_QUERYENDSESSION, then WM_ENDSESSION
//   endsession NORVANA.EXE closeapp     WM_QUERYENDSESSION, then WM_CLOSE, both
//                                       with ENDSESSION_CLOSEAPP (the Restart
//                                       Manager of an installer)
// Passes (status 0) when Norvana agrees to end and ends within 5 seconds with
// status 0; says what went wrong otherwise.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search
{
    DWORD processId;
    HWND window;
};

BOOL CALLBACK visibleWindowOf(HWND window, LPARAM lParam)
{
    auto *search = reinterpret_cast<Search *>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (processId == search->processId && IsWindowVisible(window) && std::wcscmp(title, L"Norvana") == 0) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

int failure(const char *what)
{
    std::fprintf(stderr, "endsession: %s\n", what);
    return 1;
}

} // namespace

int wmain(int argc, wchar_t *argv[])
{
    if (argc != 3 || (std::wcscmp(argv[2], L"endsession") != 0 && std::wcscmp(argv[2], L"closeapp") != 0))
        return failure("usage: endsession NORVANA.EXE endsession|closeapp");
    const bool closeApp = std::wcscmp(argv[2], L"closeapp") == 0;

    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return failure("cannot start Norvana.exe");

    Search search{process.dwProcessId, nullptr};
    for (int i = 0; i < 600 && !search.window; ++i) {
        EnumWindows(visibleWindowOf, reinterpret_cast<LPARAM>(&search));
        if (!search.window)
            Sleep(100);
    }
    if (!search.window) {
        TerminateProcess(process.hProcess, 2);
        return failure("no Norvana window within 60 s");
    }

    DWORD_PTR agreed = FALSE;
    SendMessageTimeoutW(search.window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, &agreed);
    if (!agreed) {
        TerminateProcess(process.hProcess, 2);
        return failure("Norvana did not agree to end (WM_QUERYENDSESSION)");
    }
    if (closeApp)
        SendMessageTimeoutW(search.window, WM_CLOSE, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000, nullptr);
    else
        SendMessageTimeoutW(search.window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000,
                            nullptr);

    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 2);
        return failure("Norvana did not end within 5 s");
    }
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    if (status != 0) {
        std::fprintf(stderr, "endsession: Norvana ended with status %lu\n", status);
        return 1;
    }
    std::printf("endsession %ls: Norvana agreed and ended with status 0\n", argv[2]);
    return 0;
}
