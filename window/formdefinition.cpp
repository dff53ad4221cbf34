#include "formdefinition.h"

#include "texts.h"

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
    // name          slot                         left  top   width height  caption              font                 text         background          alignment       tab
    {"Label1",       &FormWidgets::Label1,       {360,  600,  1215, 255}, kLabel1Caption,      {8.25, false, false}, kButtonText, kButtonFace,       kCentre,        0},
    {"txtPCT",       &FormWidgets::txtPCT,       {1920, 600,  855,  315}, u"",                 {8.25, false, false}, kWindowText, kWindowBackground, kEntryLeft,     1},
    {"lblPunteggio", &FormWidgets::lblPunteggio, {4080, 600,  1335, 375}, kPunteggioCaption,   {12.0, true,  false}, kButtonText, kButtonFace,       kCentre,        5},
    {"lblScore",     &FormWidgets::lblScore,     {4320, 1080, 735,  375}, u"",                 {13.5, true,  false}, kRed,        kInactiveBorder,   kCentre,        6},
    {"Label2",       &FormWidgets::Label2,       {360,  1440, 1215, 255}, kLabel2Caption,      {8.25, false, false}, kButtonText, kButtonFace,       kCentre,        2},
    {"txtCRP",       &FormWidgets::txtCRP,       {1920, 1440, 855,  315}, u"",                 {8.25, false, false}, kWindowText, kWindowBackground, kEntryLeft,     3},
    {"lblSBI",       &FormWidgets::lblSBI,       {3840, 1800, 2295, 495}, kPlaceholderCaption, {8.25, false, false}, kBlack,      kAsWindow,         kLeft,          11},
    {"Label3",       &FormWidgets::Label3,       {360,  2280, 1215, 255}, kLabel3Caption,      {8.25, false, false}, kButtonText, kButtonFace,       kCentre,        4},
    {"cmbDipUrine",  &FormWidgets::cmbDipUrine,  {1920, 2280, 1335, 315}, u"",                 {8.25, false, false}, kWindowText, kWindowBackground, kEntryLeft,     10},
    {"lblSBI2",      &FormWidgets::lblSBI2,      {3840, 2280, 2295, 495}, kPlaceholderCaption, {8.25, false, true},  kBlack,      kAsWindow,         kLeft,          12},
    {"cmdCalcola",   &FormWidgets::cmdCalcola,   {1080, 3240, 1215, 375}, kCalcolaCaption,     {8.25, false, false}, kButtonText, kButtonFace,       kButtonCaption, 7},
    {"cmdReset",     &FormWidgets::cmdReset,     {2760, 3240, 1215, 375}, kResetCaption,       {8.25, false, false}, kButtonText, kButtonFace,       kButtonCaption, 8},
    {"cmdFine",      &FormWidgets::cmdFine,      {4440, 3240, 1215, 375}, kFineCaption,        {8.25, false, false}, kButtonText, kButtonFace,       kButtonCaption, 9},
}};
// clang-format on

// clang-format off
const std::array<AccessibleDef, 4> kAccessibleNames{{
    // control                    name                  label
    {&FormWidgets::txtPCT,        kPctAccessibleName,   &FormWidgets::Label1},
    {&FormWidgets::txtCRP,        kCrpAccessibleName,   &FormWidgets::Label2},
    {&FormWidgets::cmbDipUrine,   kDipAccessibleName,   &FormWidgets::Label3},
    {&FormWidgets::lblScore,      kScoreAccessibleName, nullptr},
}};
// clang-format on

} // namespace norvana
