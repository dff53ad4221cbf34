#pragma once

#include "scoreform.h"
#include "scorerules.h"

// Every text the window shows, in one place. The core keeps the texts it
// needs itself: the two warnings (kMsgValoreImplausibile, kMsgDipstick in
// scoreform.h) and the dipstick's two items (kDipNegativo, kDipPositivo in
// scorerules.h).

namespace norvana {

inline constexpr char16_t kWindowCaption[] = u"Norvana";
inline constexpr char16_t kInfoCaption[] = u"?";

// Captions of the controls. The two explanatory labels carry a placeholder
// until the window loads.
inline constexpr char16_t kLabel1Caption[] = u"PCT (ng/ml) =";
inline constexpr char16_t kLabel2Caption[] = u"CRP(mg/L)";
inline constexpr char16_t kLabel3Caption[] = u"Dipstik urinario";
inline constexpr char16_t kPunteggioCaption[] = u"Punteggio";
inline constexpr char16_t kPlaceholderCaption[] = u"Label4";
inline constexpr char16_t kCalcolaCaption[] = u"&Calcola";
inline constexpr char16_t kResetCaption[] = u"&Reset";
inline constexpr char16_t kFineCaption[] = u"&Fine";

// The explanatory sentences the window puts in place as it loads.
inline constexpr char16_t kSbiCaption[] = u" Cut-off predittivo di SBI: uguale o superiore a 3.";
inline constexpr char16_t kSbi2Caption[] = u"SBI = INFEZIONE BATTERICA SEVERA";

// The title of every message box, and the About message.
inline constexpr char16_t kMessageTitle[] = u"NORVANA";
inline constexpr char16_t kAboutText[] =
    u"Ver. 290413\nNorvana: calcolo del punteggio di rischio di infezione batterica severa";

// What a screen reader announces for the controls whose caption does not
// say it.
inline constexpr char16_t kPctAccessibleName[] = u"PCT (ng/ml)";
inline constexpr char16_t kCrpAccessibleName[] = u"CRP (mg/L)";
inline constexpr char16_t kDipAccessibleName[] = u"Dipstik urinario";
inline constexpr char16_t kScoreAccessibleName[] = u"Punteggio";

} // namespace norvana
