#pragma once

#include "formdefinition.h"

class QWidget;

namespace norvana {

// Creates every control of the window's definition in the client area: its
// name, place, caption, font, colours, alignment and accessible name, with
// their tab order. Returns them typed.
FormWidgets createControls(QWidget *client);

} // namespace norvana
