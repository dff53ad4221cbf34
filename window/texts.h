#pragma once

#include "calculation.h"
#include "scorerules.h"

#include <QString>
#include <QStringList>

#include <algorithm>

// Every text the window shows, in one place. The core keeps the texts it
// matches itself: the dipstick's two items (kNegativeItem, kPositiveItem in
// scorerules.h).

namespace norvana {

inline constexpr char16_t kWindowCaption[] = u"Norvana";
inline constexpr char16_t kInfoCaption[] = u"?";
inline constexpr char16_t kCopyResultCaption[] = u"Copia risultato";

// Captions of the controls, the two explanatory sentences among them.
inline constexpr char16_t kPctCaption[] = u"PCT (ng/ml) =";
inline constexpr char16_t kCrpCaption[] = u"CRP(mg/L)";
inline constexpr char16_t kDipstickCaption[] = u"Dipstik urinario";
inline constexpr char16_t kScoreCaption[] = u"Punteggio";
inline constexpr char16_t kCalculateCaption[] = u"&Calcola";
inline constexpr char16_t kResetCaption[] = u"&Reset";
inline constexpr char16_t kQuitCaption[] = u"&Fine";
inline constexpr char16_t kCutOffCaption[] = u" Cut-off predittivo di SBI: uguale o superiore a 3.";
inline constexpr char16_t kSbiCaption[] = u"SBI = INFEZIONE BATTERICA SEVERA";

// The title of every message box, and the About message.
inline constexpr char16_t kMessageTitle[] = u"NORVANA";
inline constexpr char16_t kAboutText[] =
    u"Ver. 290413\nNorvana: calcolo del punteggio di rischio di infezione batterica severa";

// The warnings for a refused entry.
inline constexpr char16_t kImplausibleValueText[] =
    u"Immettere un valore plausibile maggiore di zero!";
inline constexpr char16_t kUnknownDipstickText[] =
    u"Selezionare Negativo o Positivo per il dipstick urinario!";
// A value's unit: %1 its name, %2 its box's unit, %3 the others it takes.
inline constexpr char16_t kUnknownUnitText[] =
    u"Unit\u00E0 non riconosciuta: la %1 si esprime in %2 (oppure %3).";
// Out of view: what the box takes, as the text in view may not show what
// else was written.
inline constexpr char16_t kOutOfViewValueText[] =
    u"Parte del valore non si vede nella casella: scrivere solo il valore della %1, "
    u"in %2 (oppure %3).";
inline constexpr char16_t kOutOfViewDipText[] =
    u"Parte del testo non si vede nella casella: scrivere Negativo o Positivo.";

// A number that reads two ways: %1 the number as written, %2 its decimal
// reading, %3 its reading in thousands, %4 the decimal written one way only.
inline constexpr char16_t kTwoReadingsText[] =
    u"\"%1\" si legge %2 oppure %3: scrivere %3, oppure %4.";

// The warning for a number written as "2.000" or "1,250": "2" or "2,0" and
// "1,25" read one way, "1,234" only with a fourth decimal, "1,2340".
inline QString twoReadingsText(const QString &number)
{
    const qsizetype separator = std::max(number.indexOf(u'.'), number.indexOf(u','));
    const QString integer = number.left(separator);
    const QString fraction = number.mid(separator + 1);
    QString decimals = fraction;
    while (decimals.endsWith(u'0'))
        decimals.chop(1);
    const QString decimal = decimals.isEmpty() ? integer : integer + u',' + decimals;
    const QString unambiguous = decimals.isEmpty() ? decimal + QStringLiteral(" o ") + decimal
            + QStringLiteral(",0")
        : decimals.size() == fraction.size() ? decimal + u'0'
                                             : decimal;
    return QString::fromUtf16(kTwoReadingsText)
        .arg(number, decimal, integer + fraction, unambiguous);
}

// A limit within which the points differ: %1 the limit as written, %2 what
// its comparator holds, %3 the limit, %4 the box's unit, %5 the band edge
// within it.
inline constexpr char16_t kAcrossEdgeText[] =
    u"\"%1\" comprende valori %2 %3 %4, che danno punti diversi sotto %5 e da %5 in su: "
    u"immettere il valore misurato.";

inline QString comparatorText(Comparator comparator)
{
    switch (comparator) {
    case Comparator::Below:
        return QStringLiteral("inferiori a");
    case Comparator::AtMost:
        return QStringLiteral("uguali o inferiori a");
    case Comparator::Above:
        return QStringLiteral("superiori a");
    case Comparator::AtLeast:
    case Comparator::None:
        break;
    }
    return QStringLiteral("uguali o superiori a");
}

// A value's name and unit: "PCT", "ng/ml", and its box's other units, "\u00B5g/L, pg/ml, ng/L".
inline QString valueArgs(const QString &text, const ValueRule &rule)
{
    QStringList others;
    for (std::size_t i = 1; i < rule.units.count; ++i)
        others << QString::fromUtf16(rule.units.units[i].name);
    return text.arg(QString::fromUtf16(rule.name), rule.unit(), others.join(QStringLiteral(", ")));
}

// The warning for a refused entry.
inline QString refusalText(const Warning &warning)
{
    switch (warning.refusal) {
    case Refusal::TwoReadings:
        return twoReadingsText(warning.number);
    case Refusal::AcrossEdge:
        return QString::fromUtf16(kAcrossEdgeText)
            .arg(warning.number, comparatorText(warning.comparator), decimal(warning.limit),
                 warning.rule->unit(), decimal(warning.edge));
    case Refusal::UnknownUnit:
        return valueArgs(QString::fromUtf16(kUnknownUnitText), *warning.rule);
    case Refusal::OutOfView:
        return warning.rule ? valueArgs(QString::fromUtf16(kOutOfViewValueText), *warning.rule)
                            : QString::fromUtf16(kOutOfViewDipText);
    case Refusal::UnknownItem:
        return QString::fromUtf16(kUnknownDipstickText);
    case Refusal::Implausible:
        break;
    }
    return QString::fromUtf16(kImplausibleValueText);
}

// What a screen reader announces for the controls whose caption does not
// say it.
// A value's: %1 its name, %2 its box's unit.
inline constexpr char16_t kValueAccessibleName[] = u"%1 (%2)";
inline constexpr char16_t kDipAccessibleName[] = u"Dipstik urinario";
inline constexpr char16_t kScoreAccessibleName[] = u"Punteggio";

} // namespace norvana
