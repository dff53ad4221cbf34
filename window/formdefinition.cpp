#include "formdefinition.h"

#include <QByteArray>
#include <QtMath>

namespace norvana {

int fontPixelSize(qreal pointSize)
{
    return qRound(pointSize * 96.0 / 72.0);
}

namespace {

constexpr ColourDef kButtonText{QPalette::ButtonText};
constexpr ColourDef kButtonFace{QPalette::Button};
constexpr ColourDef kWindowText{QPalette::Text};
constexpr ColourDef kWindowBackground{QPalette::Base};
constexpr ColourDef kInactiveBorder{QPalette::Mid};
constexpr ColourDef kAsWindow{QPalette::Window};
constexpr ColourDef kRed{QPalette::NoRole, 0xFF0000};
// Text on the form's fixed cyan is fixed too: the desktop's text colour
// may be light, for a dark scheme, and would not read on it.
constexpr ColourDef kBlack{QPalette::NoRole, 0x000000};

// Captions start at the label's top edge; entry text is centred vertically.
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignTop;
constexpr Qt::Alignment kEntryLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignTop;
constexpr Qt::Alignment kButtonCaption = Qt::AlignCenter;

} // namespace

// clang-format off
const std::array<ControlDef, 13> kControls{{
    // name            kind                  left  top   width height  caption                 font                 text         background          alignment       tab
    {"Label1",       ControlKind::Label,    {360,  600,  1215, 255}, u"PCT (ng/ml) =",     {8.25, false, false}, kButtonText, kButtonFace,       kCentre,        0},
    {"txtPCT",       ControlKind::TextBox,  {1920, 600,  855,  315}, u"",                  {8.25, false, false}, kWindowText, kWindowBackground, kEntryLeft,     1},
    {"lblPunteggio", ControlKind::Label,    {4080, 600,  1335, 375}, u"Punteggio",         {12.0, true,  false}, kButtonText, kButtonFace,       kCentre,        5},
    {"lblScore",     ControlKind::Label,    {4320, 1080, 735,  375}, u"",                  {13.5, true,  false}, kRed,        kInactiveBorder,   kCentre,        6},
    {"Label2",       ControlKind::Label,    {360,  1440, 1215, 255}, u"CRP(mg/L)",         {8.25, false, false}, kButtonText, kButtonFace,       kCentre,        2},
    {"txtCRP",       ControlKind::TextBox,  {1920, 1440, 855,  315}, u"",                  {8.25, false, false}, kWindowText, kWindowBackground, kEntryLeft,     3},
    {"lblSBI",       ControlKind::Label,    {3840, 1800, 2295, 495}, u"Label4",            {8.25, false, false}, kBlack,      kAsWindow,         kLeft,          11},
    {"Label3",       ControlKind::Label,    {360,  2280, 1215, 255}, u"Dipstik urinario",  {8.25, false, false}, kButtonText, kButtonFace,       kCentre,        4},
    {"cmbDipUrine",  ControlKind::ComboBox, {1920, 2280, 1335, 315}, u"",                  {8.25, false, false}, kWindowText, kWindowBackground, kEntryLeft,     10},
    {"lblSBI2",      ControlKind::Label,    {3840, 2280, 2295, 495}, u"Label4",            {8.25, false, true},  kBlack,      kAsWindow,         kLeft,          12},
    {"cmdCalcola",   ControlKind::Button,   {1080, 3240, 1215, 375}, u"&Calcola",          {8.25, false, false}, kButtonText, kButtonFace,       kButtonCaption, 7},
    {"cmdReset",     ControlKind::Button,   {2760, 3240, 1215, 375}, u"&Reset",            {8.25, false, false}, kButtonText, kButtonFace,       kButtonCaption, 8},
    {"cmdFine",      ControlKind::Button,   {4440, 3240, 1215, 375}, u"&Fine",             {8.25, false, false}, kButtonText, kButtonFace,       kButtonCaption, 9},
}};
// clang-format on

// clang-format off
const std::array<AccessibleDef, 4> kAccessibleNames{{
    // control      name                   label
    {"txtPCT",      u"PCT (ng/ml)",        "Label1"},
    {"txtCRP",      u"CRP (mg/L)",         "Label2"},
    {"cmbDipUrine", u"Dipstik urinario",   "Label3"},
    {"lblScore",    u"Punteggio",          nullptr},
}};
// clang-format on

const AccessibleDef *accessibleDef(const char *control)
{
    for (const AccessibleDef &def : kAccessibleNames)
        if (qstrcmp(def.control, control) == 0)
            return &def;
    return nullptr;
}

} // namespace norvana
