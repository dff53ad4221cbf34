#pragma once

#include "formcontrols.h"
#include "scorerules.h"

// Every text the window shows, in one place. The core keeps the texts it
// matches itself: the dipstick's two items (kDipNegativo, kDipPositivo in
// scorerules.h).

namespace norvana {

inline constexpr char16_t kWindowCaption[] = u"Norvana";
inline constexpr char16_t kInfoCaption[] = u"?";
inline constexpr char16_t kCopyResultCaption[] = u"Copia risultato";

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

// The warnings for a refused entry.
inline constexpr char16_t kMsgValoreImplausibile[] =
    u"Immettere un valore plausibile maggiore di zero!";
inline constexpr char16_t kMsgDipstick[] =
    u"Selezionare Negativo o Positivo per il dipstick urinario!";
inline constexpr char16_t kUnknownPctUnitText[] =
    u"Unit\u00E0 non riconosciuta: la PCT si esprime in ng/ml (oppure \u00B5g/L, pg/ml, ng/L).";
inline constexpr char16_t kUnknownCrpUnitText[] =
    u"Unit\u00E0 non riconosciuta: la CRP si esprime in mg/L (oppure mg/dL, \u00B5g/ml, g/L).";
// Out of view: what the box takes, as the text in view may not show what
// else was written.
inline constexpr char16_t kOutOfViewPctText[] =
    u"Parte del valore non si vede nella casella: scrivere solo il valore della PCT, "
    u"in ng/ml (oppure \u00B5g/L, pg/ml, ng/L).";
inline constexpr char16_t kOutOfViewCrpText[] =
    u"Parte del valore non si vede nella casella: scrivere solo il valore della CRP, "
    u"in mg/L (oppure mg/dL, \u00B5g/ml, g/L).";
inline constexpr char16_t kOutOfViewDipText[] =
    u"Parte del testo non si vede nella casella: scrivere Negativo o Positivo.";

inline constexpr const char16_t *refusalText(Refusal refusal, Entry entry)
{
    switch (refusal) {
    case Refusal::UnknownUnit:
        return entry == Entry::Pct ? kUnknownPctUnitText : kUnknownCrpUnitText;
    case Refusal::OutOfView:
        return entry == Entry::Pct   ? kOutOfViewPctText
               : entry == Entry::Crp ? kOutOfViewCrpText
                                          : kOutOfViewDipText;
    case Refusal::UnknownItem:
        return kMsgDipstick;
    case Refusal::Implausible:
        break;
    }
    return kMsgValoreImplausibile;
}

// What a screen reader announces for the controls whose caption does not
// say it.
inline constexpr char16_t kPctAccessibleName[] = u"PCT (ng/ml)";
inline constexpr char16_t kCrpAccessibleName[] = u"CRP (mg/L)";
inline constexpr char16_t kDipAccessibleName[] = u"Dipstik urinario";
inline constexpr char16_t kScoreAccessibleName[] = u"Punteggio";

} // namespace norvana
