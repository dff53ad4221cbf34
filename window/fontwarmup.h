#pragma once

#include <thread>

namespace norvana {

// Loads the system's font configuration (fontconfig) on a second thread while
// the application object starts and connects to the display. The first text
// of the window needs that configuration, and reading it (dozens of XML files
// and the font caches) is the largest single cost of start-up; in parallel it
// overlaps the toolkit's own start. The configuration is the user's, as is;
// the toolkit finds it loaded and uses it. Without fontconfig (Windows,
// macOS) this does nothing.
class FontConfigWarmup
{
public:
    FontConfigWarmup();
    ~FontConfigWarmup();
    FontConfigWarmup(const FontConfigWarmup &) = delete;
    FontConfigWarmup &operator=(const FontConfigWarmup &) = delete;

    // Waits until the configuration is loaded. Call it before the first
    // widget is built, so that the toolkit does not load it a second time.
    void finish();

private:
    std::thread m_thread;
};

} // namespace norvana
