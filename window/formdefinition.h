#pragma once

#include "texts.h"

#include <QPalette>
#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <variant>

class QLabel;

// The definition of the window: every control with its place, text and look.
// Positions and sizes are in pixels at 96 dpi (the layout was first drawn in
// twips, 15 to a pixel), from the top-left corner of the client area.

namespace norvana {

class EntryComboBox;
class AccessKeyButton;
class ValueEdit;

// Every control of the window, typed as the factory creates it.
struct FormWidgets
{
    QLabel *pctLabel = nullptr;
    ValueEdit *pctEdit = nullptr;
    QLabel *scoreCaption = nullptr;
    QLabel *scoreLabel = nullptr;
    QLabel *crpLabel = nullptr;
    ValueEdit *crpEdit = nullptr;
    QLabel *cutOffLabel = nullptr;
    QLabel *dipstickLabel = nullptr;
    EntryComboBox *dipstickCombo = nullptr;
    QLabel *sbiLabel = nullptr;
    AccessKeyButton *calculateButton = nullptr;
    AccessKeyButton *resetButton = nullptr;
    AccessKeyButton *quitButton = nullptr;
};

// Where a control is kept in FormWidgets; its type says which kind of
// control the factory creates.
using ControlSlot = std::variant<QLabel *FormWidgets::*, ValueEdit *FormWidgets::*,
                                 EntryComboBox *FormWidgets::*, AccessKeyButton *FormWidgets::*>;

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
    QRect geometry;
    const char16_t *caption;
    FontDef font;
    ColourDef text;
    ColourDef background;
    Qt::Alignment alignment;
    int tabOrder; // Tab visits the controls that take the focus in this order
};

// Pixel size of a font of the given point size at 96 dots per inch.
int fontPixelSize(qreal pointSize);

inline constexpr QSize kClientSize{438, 264};
inline constexpr QRgb kWindowBackColor = 0xC0FFFF;

#ifdef Q_OS_WIN
// The layout's own face, which Windows maps to Microsoft Sans Serif; where
// neither is found, the faces metric-compatible with Arial, as on Linux.
inline constexpr const char *kFontFamilies[] = {"MS Sans Serif", "Microsoft Sans Serif", "Arial",
                                                "Liberation Sans"};
#else
// Several families in order of preference: Liberation Sans and Arial share
// their metrics, for which the layout is made.
inline constexpr const char *kFontFamilies[] = {"Liberation Sans", "Arial"};
#endif

inline constexpr ColourDef kButtonTextRole{QPalette::ButtonText};
inline constexpr ColourDef kButtonRole{QPalette::Button};
inline constexpr ColourDef kTextRole{QPalette::Text};
inline constexpr ColourDef kBaseRole{QPalette::Base};
inline constexpr ColourDef kMidRole{QPalette::Mid};
inline constexpr ColourDef kWindowRole{QPalette::Window};
inline constexpr ColourDef kRed{QPalette::NoRole, 0xFF0000};
// Text on the form's fixed cyan is fixed too: the desktop's text colour
// may be light, for a dark scheme, and would not read on it.
inline constexpr ColourDef kBlack{QPalette::NoRole, 0x000000};

// Captions start at the label's top edge; entry text is centred vertically.
inline constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignTop;
inline constexpr Qt::Alignment kEntryLeft = Qt::AlignLeft | Qt::AlignVCenter;
inline constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignTop;
inline constexpr Qt::Alignment kButtonCaption = Qt::AlignCenter;

// clang-format off
inline constexpr ControlDef kControls[] = {
    // name          slot                            left  top width height   caption            font                  text             background   alignment       tab
    {"Label1",       &FormWidgets::pctLabel,        {  24,   40,   81,   17}, kPctCaption,       {8.25, false, false}, kButtonTextRole, kButtonRole, kCentre,        0},
    {"txtPCT",       &FormWidgets::pctEdit,         { 128,   40,   57,   21}, u"",               {8.25, false, false}, kTextRole,       kBaseRole,   kEntryLeft,     1},
    {"lblPunteggio", &FormWidgets::scoreCaption,    { 272,   40,   89,   25}, kScoreCaption,     {12.0, true,  false}, kButtonTextRole, kButtonRole, kCentre,        5},
    {"lblScore",     &FormWidgets::scoreLabel,      { 288,   72,   49,   25}, u"",               {13.5, true,  false}, kRed,            kMidRole,    kCentre,        6},
    {"Label2",       &FormWidgets::crpLabel,        {  24,   96,   81,   17}, kCrpCaption,       {8.25, false, false}, kButtonTextRole, kButtonRole, kCentre,        2},
    {"txtCRP",       &FormWidgets::crpEdit,         { 128,   96,   57,   21}, u"",               {8.25, false, false}, kTextRole,       kBaseRole,   kEntryLeft,     3},
    {"lblSBI",       &FormWidgets::cutOffLabel,     { 256,  120,  153,   33}, kCutOffCaption,    {8.25, false, false}, kBlack,          kWindowRole, kLeft,          11},
    {"Label3",       &FormWidgets::dipstickLabel,   {  24,  152,   81,   17}, kDipstickCaption,  {8.25, false, false}, kButtonTextRole, kButtonRole, kCentre,        4},
    {"cmbDipUrine",  &FormWidgets::dipstickCombo,   { 128,  152,   89,   21}, u"",               {8.25, false, false}, kTextRole,       kBaseRole,   kEntryLeft,     10},
    {"lblSBI2",      &FormWidgets::sbiLabel,        { 256,  152,  153,   33}, kSbiCaption,       {8.25, false, true},  kBlack,          kWindowRole, kLeft,          12},
    {"cmdCalcola",   &FormWidgets::calculateButton, {  72,  216,   81,   25}, kCalculateCaption, {8.25, false, false}, kButtonTextRole, kButtonRole, kButtonCaption, 7},
    {"cmdReset",     &FormWidgets::resetButton,     { 184,  216,   81,   25}, kResetCaption,     {8.25, false, false}, kButtonTextRole, kButtonRole, kButtonCaption, 8},
    {"cmdFine",      &FormWidgets::quitButton,      { 296,  216,   81,   25}, kQuitCaption,      {8.25, false, false}, kButtonTextRole, kButtonRole, kButtonCaption, 9},
};
// clang-format on

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
    const ValueRule *value;      // the value whose name and unit fill in the name, or nullptr
    QLabel *FormWidgets::*label; // or nullptr
};

// clang-format off
inline constexpr AccessibleDef kAccessibleNames[] = {
    // control                        name                  value      label
    {&FormWidgets::pctEdit,           kValueAccessibleName, &kPctRule, &FormWidgets::pctLabel},
    {&FormWidgets::crpEdit,           kValueAccessibleName, &kCrpRule, &FormWidgets::crpLabel},
    {&FormWidgets::dipstickCombo,     kDipAccessibleName,   nullptr,   &FormWidgets::dipstickLabel},
    {&FormWidgets::scoreLabel,        kScoreAccessibleName, nullptr,   nullptr},
};
// clang-format on

} // namespace norvana
