#pragma once

#include "formdefinition.h"

class QWidget;

namespace norvana {

// Creates one control of the window from its definition, as a child of the
// client area, with its name, place, caption, font, colours and alignment.
QWidget *createControl(const ControlDef &def, QWidget *client);

// The font of a control: the layout's family at the defined size and style.
QFont controlFont(const ControlDef &def);

} // namespace norvana
