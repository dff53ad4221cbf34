#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace norvana {

// The window's form-level variables. A value field is empty until its box is
// first read; an empty value compares as 0. Reset stores 0.
struct FormState
{
    std::optional<double> varPCT;
    qint16 intPuntiPCT = 0;
    std::optional<double> varCRP;
    qint16 intPuntiCRP = 0;
    QString strDipUrine;
    qint16 intPuntiDip = 0;
    qint16 intPunteggio = 0; // the total while a calculation runs, 0 otherwise
    bool blnErrore = false; // an entry was refused during the running calculation
};

} // namespace norvana
