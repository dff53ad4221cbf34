#pragma once

#include <QPalette>
#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <array>
#include <variant>

class QLabel;

// The definition of the window: every control with its place, text and look.
// Positions and sizes are in twips, 15 to a pixel, from the top-left corner
// of the client area.

namespace norvana {

class ComboBox;
class CommandButton;
class TextBox;

// Every control of the window, typed as the factory creates it.
struct FormWidgets
{
    QLabel *Label1 = nullptr;
    TextBox *txtPCT = nullptr;
    QLabel *lblPunteggio = nullptr;
    QLabel *lblScore = nullptr;
    QLabel *Label2 = nullptr;
    TextBox *txtCRP = nullptr;
    QLabel *lblSBI = nullptr;
    QLabel *Label3 = nullptr;
    ComboBox *cmbDipUrine = nullptr;
    QLabel *lblSBI2 = nullptr;
    CommandButton *cmdCalcola = nullptr;
    CommandButton *cmdReset = nullptr;
    CommandButton *cmdFine = nullptr;
};

// Where a control is kept in FormWidgets; its type says which kind of
// control the factory creates.
using ControlSlot = std::variant<QLabel *FormWidgets::*, TextBox *FormWidgets::*,
                                 ComboBox *FormWidgets::*, CommandButton *FormWidgets::*>;

// A colour either follows the desktop's scheme (a palette role) or is fixed.
struct ColourDef
{
    QPalette::ColorRole role;
    QRgb fixed = 0; // used when role is NoRole
};

struct FontDef
{
    qreal pointSize;
    bool bold;
    bool italic;
};

struct ControlDef
{
    const char *name;
    ControlSlot slot;
    QRect twips;
    const char16_t *caption;
    FontDef font;
    ColourDef text;
    ColourDef background;
    Qt::Alignment alignment;
    int tabIndex;
};

inline constexpr int kTwipsPerPixel = 15;

inline constexpr int twipsToPixels(int twips)
{
    return twips / kTwipsPerPixel;
}

// Pixel size of a font of the given point size at 96 dots per inch.
int fontPixelSize(qreal pointSize);

inline constexpr QSize kClientTwips{6570, 3960};
inline constexpr QRgb kWindowBackColor = 0xC0FFFF;

// Several families in order of preference: Liberation Sans and Arial share
// their metrics, for which the layout is made.
inline constexpr const char *kFontFamilies[] = {"Liberation Sans", "Arial"};

extern const std::array<ControlDef, 13> kControls;

// The font of most controls, which the client area gives them all; the
// others have their own.
inline constexpr FontDef kCommonFont{8.25, false, false};

// What a screen reader announces for a control whose caption does not say
// it: the entries, which have none, and the score, whose caption is only a
// number (its value is given as the accessible description). Buttons need
// none: Qt reports their captions without the mnemonic '&'. An entry also
// names the label beside it, which becomes its buddy: on Linux Qt names a
// combo box by its text and the screen reader finds what it is from that
// label.
struct AccessibleDef
{
    ControlSlot control;
    const char16_t *name;
    QLabel *FormWidgets::*label; // or nullptr
};

extern const std::array<AccessibleDef, 4> kAccessibleNames;

} // namespace norvana
