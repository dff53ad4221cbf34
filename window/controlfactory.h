#pragma once

#include "formdefinition.h"

class QWidget;

namespace norvana {

// Creates one control of the window from its definition, as a child of the
// client area, with its name, place, caption, font, colours and alignment.
QWidget *createControl(const ControlDef &def, QWidget *client);

// Makes each entry's caption label its buddy, so that assistive technology
// reports the entry as labelled by it. Runs once all controls exist.
void linkCaptionLabels(const QWidget *client);

// The font of a control: the layout's family at the defined size and style.
QFont controlFont(const ControlDef &def);

} // namespace norvana
