#include "outcomelog.h"

#include <QTest>

using namespace norvana;

namespace {

// The entries as a window would show them, whose boxes show at most 12
// characters whole.
Entries shown(const QString &pct, const QString &crp, const QString &dip)
{
    const auto entry = [](const QString &text) { return EntryText{text, text.size() <= 12}; };
    return {entry(pct), entry(crp), entry(dip)};
}

} // namespace

Q_DECLARE_METATYPE(norvana::Entry)

class tst_Outcome : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void points_data();
    void points();
    void refusalOrder_data();
    void refusalOrder();
    void breakdown_data();
    void breakdown();
    void enter_data();
    void enter();
};

void tst_Outcome::points_data()
{
    QTest::addColumn<QString>("pct");
    QTest::addColumn<QString>("crp");
    QTest::addColumn<QString>("dip");
    QTest::addColumn<QString>("score");

    QTest::newRow("all highest gives 9") << "2" << "100" << "Positivo" << "9";
    QTest::newRow("all lowest gives 0") << "0.1" << "5" << "Negativo" << "0";
    QTest::newRow("smallest positive values accepted") << "4.9e-324" << "4.9e-324" << "Negativo"
                                                       << "0";
    QTest::newRow("road of one calculation") << "1.2" << "45" << "Negativo" << "4";
    // Band edges one value at a time, the other giving no points.
    QTest::newRow("pct 0.49 gives 0") << "0.49" << "1" << "Negativo" << "0";
    QTest::newRow("pct 0.5 gives 2") << "0.5" << "1" << "Negativo" << "2";
    QTest::newRow("pct 1.99 gives 2") << "1.99" << "1" << "Negativo" << "2";
    QTest::newRow("pct 500 gives 4") << "500" << "1" << "Negativo" << "4";
    QTest::newRow("crp 39.9 gives 0") << "0.1" << "39.9" << "Negativo" << "0";
    QTest::newRow("crp 40 gives 2") << "0.1" << "40" << "Negativo" << "2";
    QTest::newRow("crp 99.5 gives 2") << "0.1" << "99.5" << "Negativo" << "2";
    QTest::newRow("crp 1000 gives 4") << "0.1" << "1000" << "Negativo" << "4";
    // Band edges after a conversion.
    QTest::newRow("crp 4 mg/dL gives 2") << "0.1" << "4 mg/dL" << "Negativo" << "2";
    QTest::newRow("crp 3,99 mg/dL gives 0") << "0.1" << "3,99 mg/dL" << "Negativo" << "0";
    QTest::newRow("crp 10 mg/dL gives 4") << "0.1" << "10 mg/dL" << "Negativo" << "4";
    QTest::newRow("crp 100 mg/dL accepted") << "0.1" << "100 mg/dL" << "Negativo" << "4";
    QTest::newRow("pct 500 pg/ml gives 2") << "500 pg/ml" << "1" << "Negativo" << "2";
    QTest::newRow("pct 499 pg/ml gives 0") << "499 pg/ml" << "1" << "Negativo" << "0";
    // A limit whose plausible values all earn the same points scores them.
    for (const char *pct : {"<0,05", "< 0,02", "<0,5", "<50 pg/ml"})
        QTest::addRow("pct %s gives 0", pct) << pct << "1" << "Negativo" << "0";
    for (const char *pct : {">2", ">=2", "≥ 2", ">100", ">=500"})
        QTest::addRow("pct %s gives 4", pct) << pct << "1" << "Negativo" << "4";
    for (const char *crp : {"<5", "<4 mg/dL", "≤ 39"})
        QTest::addRow("crp %s gives 0", crp) << "0.1" << crp << "Negativo" << "0";
    for (const char *crp : {">200", ">10 mg/dL", ">=100"})
        QTest::addRow("crp %s gives 4", crp) << "0.1" << crp << "Negativo" << "4";
    QTest::newRow("dipstick any case and blanks") << "0.1" << "5" << "  pOSITIVO " << "1";
    QTest::newRow("dipstick negativo any case") << "0.1" << "5" << "nEGATIVO" << "0";
}

void tst_Outcome::points()
{
    QFETCH(QString, pct);
    QFETCH(QString, crp);
    QFETCH(QString, dip);
    QFETCH(QString, score);

    // The score comes without a warning; the focus is left where the
    // accepted PCT sends it.
    QCOMPARE(outcomeLog(calculate(shown(pct, crp, dip))),
             QStringList({QStringLiteral("score ") + score, QStringLiteral("focus txtCRP selected")}));
}

void tst_Outcome::refusalOrder_data()
{
    QTest::addColumn<QString>("pct");
    QTest::addColumn<QString>("crp");
    QTest::addColumn<QString>("dip");
    QTest::addColumn<QStringList>("log");

    QTest::newRow("both refused: CRP first")
        << "0" << "abc" << "Negativo"
        << QStringList{"warn implausible txtCRP", "warn implausible txtPCT",
                       "focus txtPCT selected"};
    QTest::newRow("pct above 500 refused")
        << "500.01" << "45" << "Negativo"
        << QStringList{"warn implausible txtPCT", "focus txtPCT selected"};
    QTest::newRow("crp above 1000 refused")
        << "1" << "1000.5" << "Negativo"
        << QStringList{"warn implausible txtCRP", "focus txtCRP selected"};
    QTest::newRow("crp 100,1 mg/dL refused")
        << "1" << "100,1 mg/dL" << "Negativo"
        << QStringList{"warn implausible txtCRP", "focus txtCRP selected"};
    QTest::newRow("pct in a unit of crp")
        << "1,2 mg/L" << "45" << "Negativo"
        << QStringList{"warn unit txtPCT", "focus txtPCT selected"};
    QTest::newRow("crp that reads two ways")
        << "0.6" << "1.000" << "Negativo"
        << QStringList{"warn two readings txtCRP", "focus txtCRP selected"};
    QTest::newRow("pct partly out of view")
        << "1.2 ng/mL (elevato)" << "45" << "Negativo"
        << QStringList{"warn out of view txtPCT", "focus txtPCT selected"};
    QTest::newRow("dipstick partly out of view")
        << "1" << "45" << "Positivo" + QString(20, u' ')
        << QStringList{"warn out of view cmbDipUrine", "focus cmbDipUrine selected"};
    QTest::newRow("unknown dipstick after the values")
        << "-3" << "45" << "forse"
        << QStringList{"warn implausible txtPCT", "warn dipstick cmbDipUrine",
                       "focus cmbDipUrine selected"};
    // A limit across a band's edge names the edge nearest it; one that no
    // plausible value meets is implausible.
    const auto limit = [](const char *pct, const char *crp, const char *warning) {
        const bool inPct = QByteArray(crp) == "45";
        QTest::addRow("%s refused", inPct ? pct : crp)
            << pct << crp << "Negativo"
            << QStringList{QLatin1String(warning) + (inPct ? " txtPCT" : " txtCRP"),
                           inPct ? "focus txtPCT selected" : "focus txtCRP selected"};
    };
    limit("<1", "45", "warn across edge 0.5");
    limit("<=0,5", "45", "warn across edge 0.5");
    limit(">1,9", "45", "warn across edge 2");
    limit(">0,5", "45", "warn across edge 2");
    limit(">500", "45", "warn implausible");
    limit("<0", "45", "warn implausible");
    limit("<=0", "45", "warn implausible");
    limit("<<0,05", "45", "warn implausible");
    limit(">", "45", "warn implausible");
    limit("≥", "45", "warn implausible");
    limit("> ng/ml", "45", "warn implausible");
    limit(">=0,5", "45", "warn across edge 2");
    limit("1", "<5 mg/dL", "warn across edge 40");
    limit("1", ">40", "warn across edge 100");
    limit("1", ">99", "warn across edge 100");
    limit("1", "<=40", "warn across edge 40");
    limit("1", "<200", "warn across edge 100");
    limit("1", ">1000", "warn implausible");
    QTest::newRow("empty dipstick refused")
        << "1" << "45" << ""
        << QStringList{"warn dipstick cmbDipUrine", "focus cmbDipUrine selected"};
}

void tst_Outcome::refusalOrder()
{
    QFETCH(QString, pct);
    QFETCH(QString, crp);
    QFETCH(QString, dip);
    QFETCH(QStringList, log);

    QCOMPARE(outcomeLog(calculate(shown(pct, crp, dip))), log);
}

void tst_Outcome::breakdown_data()
{
    QTest::addColumn<QString>("pct");
    QTest::addColumn<QString>("crp");
    QTest::addColumn<QString>("dip");
    QTest::addColumn<QString>("breakdown"); // and its summary line, after " | "

    QTest::newRow("2, 2 and 0 points, the box's own unit")
        << "1.2" << "45 MG/L" << "Negativo"
        << QStringLiteral("4 \u2014 PCT 1,2 ng/ml: 2 punti; CRP 45 mg/L: 2 punti; dipstick "
                          "urinario Negativo: 0 punti. Cut-off predittivo di SBI: 3. | Norvana "
                          "1.00 \u00B7 08/12/2026 21:05 \u00B7 PCT 1,2 ng/ml (2) \u00B7 CRP 45 "
                          "mg/L (2) \u00B7 Dipstick urinario Negativo (0) \u00B7 Punteggio 4 "
                          "(cut-off predittivo di SBI \u2265 3)");
    QTest::newRow("4, 4 and 1 point")
        << "2" << "120" << " positivo"
        << QStringLiteral("9 \u2014 PCT 2 ng/ml: 4 punti; CRP 120 mg/L: 4 punti; dipstick "
                          "urinario Positivo: 1 punto. Cut-off predittivo di SBI: 3. | Norvana "
                          "1.00 \u00B7 08/12/2026 21:05 \u00B7 PCT 2 ng/ml (4) \u00B7 CRP 120 "
                          "mg/L (4) \u00B7 Dipstick urinario Positivo (1) \u00B7 Punteggio 9 "
                          "(cut-off predittivo di SBI \u2265 3)");
    QTest::newRow("converted values, 0 points")
        << "499 pg/ml" << " 3,99 mg/dL" << "Negativo"
        << QStringLiteral("0 \u2014 PCT 0,499 ng/ml (499 pg/ml): 0 punti; CRP 39,9 mg/L (3,99 "
                          "mg/dL): 0 punti; dipstick urinario Negativo: 0 punti. Cut-off "
                          "predittivo di SBI: 3. | Norvana 1.00 \u00B7 08/12/2026 21:05 \u00B7 "
                          "PCT 0,499 ng/ml (499 pg/ml) (0) \u00B7 CRP 39,9 mg/L (3,99 mg/dL) (0) "
                          "\u00B7 Dipstick urinario Negativo (0) \u00B7 Punteggio 0 (cut-off "
                          "predittivo di SBI \u2265 3)");
    QTest::newRow("a pasted line end in one line, a small value without exponent")
        << "0,0001" << "4,5\nmg/dL" << "Negativo"
        << QStringLiteral("2 \u2014 PCT 0,0001 ng/ml: 0 punti; CRP 45 mg/L (4,5 mg/dL): 2 punti; "
                          "dipstick urinario Negativo: 0 punti. Cut-off predittivo di SBI: 3. | "
                          "Norvana 1.00 \u00B7 08/12/2026 21:05 \u00B7 PCT 0,0001 ng/ml (0) "
                          "\u00B7 CRP 45 mg/L (4,5 mg/dL) (2) \u00B7 Dipstick urinario Negativo "
                          "(0) \u00B7 Punteggio 2 (cut-off predittivo di SBI \u2265 3)");
    QTest::newRow("limits keep their comparators")
        << "<0,05" << ">200" << "Positivo"
        << QStringLiteral("5 \u2014 PCT <0,05 ng/ml: 0 punti; CRP >200 mg/L: 4 punti; dipstick "
                          "urinario Positivo: 1 punto. Cut-off predittivo di SBI: 3. | Norvana "
                          "1.00 \u00B7 08/12/2026 21:05 \u00B7 PCT <0,05 ng/ml (0) \u00B7 CRP >200 "
                          "mg/L (4) \u00B7 Dipstick urinario Positivo (1) \u00B7 Punteggio 5 "
                          "(cut-off predittivo di SBI \u2265 3)");
    QTest::newRow("a converted limit, as written too")
        << "\u2264 0,1" << ">10 mg/dL" << "Negativo"
        << QStringLiteral("4 \u2014 PCT \u22640,1 ng/ml: 0 punti; CRP >100 mg/L (>10 mg/dL): 4 punti; "
                          "dipstick urinario Negativo: 0 punti. Cut-off predittivo di SBI: 3. | "
                          "Norvana 1.00 \u00B7 08/12/2026 21:05 \u00B7 PCT \u22640,1 ng/ml (0) "
                          "\u00B7 CRP >100 mg/L (>10 mg/dL) (4) \u00B7 Dipstick urinario Negativo "
                          "(0) \u00B7 Punteggio 4 (cut-off predittivo di SBI \u2265 3)");
    QTest::newRow("refused: no breakdown") << "abc" << "45" << "Negativo" << " | ";
}

void tst_Outcome::breakdown()
{
    QFETCH(QString, pct);
    QFETCH(QString, crp);
    QFETCH(QString, dip);
    QFETCH(QString, breakdown);

    const Outcome outcome = calculate(shown(pct, crp, dip));
    const QDateTime at(QDate(2026, 12, 8), QTime(21, 5));
    QCOMPARE(outcome.score ? outcome.score->text() + QStringLiteral(" | ")
                     + outcome.score->summaryLine(QStringLiteral("Norvana 1.00"), at)
                           : QStringLiteral(" | "),
             breakdown);
}

void tst_Outcome::enter_data()
{
    QTest::addColumn<Entry>("entry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<bool>("keepsScore");

    QTest::newRow("pct accepted") << Entry::Pct << "1.2" << QStringList{"focus txtCRP selected"} << true;
    QTest::newRow("pct refused")
        << Entry::Pct << "abc" << QStringList{"warn implausible txtPCT", "focus txtPCT selected"} << false;
    QTest::newRow("crp accepted") << Entry::Crp << "45" << QStringList{"focus cmbDipUrine selected"} << true;
    QTest::newRow("crp that reads two ways")
        << Entry::Crp << "1,000" << QStringList{"warn two readings txtCRP", "focus txtCRP selected"}
        << false;
    QTest::newRow("dipstick accepted") << Entry::Dipstick << "Positivo" << QStringList{"focus cmdCalcola"}
                                       << true;
    QTest::newRow("dipstick refused")
        << Entry::Dipstick << "forse" << QStringList{"warn dipstick cmbDipUrine", "focus cmbDipUrine selected"}
        << false;
}

// Enter checks one entry: an accepted one sends the focus on and leaves the
// score as it is; a refused one keeps the focus, and the score goes.
void tst_Outcome::enter()
{
    QFETCH(Entry, entry);
    QFETCH(QString, text);
    QFETCH(QStringList, log);
    QFETCH(bool, keepsScore);

    const Outcome outcome = accept(entry, {text, true});
    QCOMPARE(outcomeLog(outcome), log);
    QCOMPARE(outcome.keepsScore(), keepsScore);
}

QTEST_GUILESS_MAIN(tst_Outcome)
#include "tst_outcome.moc"
