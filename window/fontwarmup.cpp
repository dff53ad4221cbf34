#include "fontwarmup.h"

#include <system_error>

#ifdef NORVANA_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace norvana {

FontConfigWarmup::FontConfigWarmup()
{
#ifdef NORVANA_HAVE_FONTCONFIG
    try {
        // FcInit() sets fontconfig's default configuration; later calls,
        // the toolkit's included, return at once.
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error &) {
        // No thread to spare: the toolkit loads the configuration itself.
    }
#endif
}

FontConfigWarmup::~FontConfigWarmup()
{
    finish();
}

void FontConfigWarmup::finish()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace norvana
