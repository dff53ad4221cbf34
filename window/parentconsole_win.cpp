#include "parentconsole.h"

#include <cstdio>

#include <windows.h>

namespace norvana {

namespace {

bool connected(DWORD which)
{
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

} // namespace

void useParentConsole()
{
    const bool output = connected(STD_OUTPUT_HANDLE);
    const bool error = connected(STD_ERROR_HANDLE);
    if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!output)
        (void)!std::freopen("CONOUT$", "w", stdout);
    if (!error)
        (void)!std::freopen("CONOUT$", "w", stderr);
}

} // namespace norvana
