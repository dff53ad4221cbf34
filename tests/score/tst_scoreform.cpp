#include "recordingcontrols.h"
#include "scoreform.h"

#include <QTest>

using namespace norvana;

namespace {

// A form as the window holds it, on a recording of its controls.
struct LoadedForm
{
    LoadedForm(const QString &pct, const QString &crp, const QString &dip) : ui(pct, crp, dip) {}
    RecordingControls ui;
    ScoreForm form{ui};
};


} // namespace

class tst_ScoreForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void points_data();
    void points();
    void refusalOrder_data();
    void refusalOrder();
    void breakdown_data();
    void breakdown();
    void refusalOnEnterDoesNotWithholdNextScore();
};

void tst_ScoreForm::points_data()
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
    QTest::newRow("dipstick any case and blanks") << "0.1" << "5" << "  pOSITIVO " << "1";
    QTest::newRow("dipstick negativo any case") << "0.1" << "5" << "nEGATIVO" << "0";
}

void tst_ScoreForm::points()
{
    QFETCH(QString, pct);
    QFETCH(QString, crp);
    QFETCH(QString, dip);
    QFETCH(QString, score);

    LoadedForm loaded(pct, crp, dip);
    loaded.form.calculate();

    // The score appears without a warning; the focus is left where the
    // accepted PCT sends it.
    QCOMPARE(loaded.ui.log(),
             QStringList({QStringLiteral("score ") + score, QStringLiteral("focus txtCRP")}));
}

void tst_ScoreForm::refusalOrder_data()
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
    QTest::newRow("empty dipstick refused")
        << "1" << "45" << ""
        << QStringList{"warn dipstick cmbDipUrine", "focus cmbDipUrine selected"};
}

void tst_ScoreForm::refusalOrder()
{
    QFETCH(QString, pct);
    QFETCH(QString, crp);
    QFETCH(QString, dip);
    QFETCH(QStringList, log);

    LoadedForm loaded(pct, crp, dip);
    auto &[ui, form] = loaded;
    ui.setScore(QStringLiteral("7"), {});
    ui.forgetCalls();
    form.calculate();

    // The score from before goes before the first warning, and no score
    // takes its place.
    QCOMPARE(ui.log(), QStringList{QStringLiteral("score cleared")} + log);
}

void tst_ScoreForm::breakdown_data()
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
    QTest::newRow("refused: no breakdown") << "abc" << "45" << "Negativo" << " | ";
}

void tst_ScoreForm::breakdown()
{
    QFETCH(QString, pct);
    QFETCH(QString, crp);
    QFETCH(QString, dip);
    QFETCH(QString, breakdown);

    LoadedForm loaded(pct, crp, dip);
    loaded.form.calculate();
    const QDateTime at(QDate(2026, 12, 8), QTime(21, 5));
    QCOMPARE(loaded.ui.breakdown() + QStringLiteral(" | ")
                 + loaded.form.summaryLine(QStringLiteral("Norvana 1.00"), at),
             breakdown);
    // The breakdown and the line go with the score.
    loaded.form.clearScore();
    QCOMPARE(loaded.ui.breakdown() + loaded.form.summaryLine(QStringLiteral("N"), at), QString());
}

void tst_ScoreForm::refusalOnEnterDoesNotWithholdNextScore()
{
    LoadedForm loaded(QStringLiteral("abc"), QString(), QStringLiteral("Negativo"));
    auto &[ui, form] = loaded;
    form.acceptPct();
    QCOMPARE(ui.log(), QStringList({QStringLiteral("warn implausible txtPCT"),
                                    QStringLiteral("focus txtPCT selected")}));

    ui.forgetCalls();
    ui.entry(Entry::Pct) = QStringLiteral("1.2");
    ui.entry(Entry::Crp) = QStringLiteral("45");
    form.calculate();
    QCOMPARE(ui.log(), QStringList({QStringLiteral("score 4"), QStringLiteral("focus txtCRP")}));
}

QTEST_GUILESS_MAIN(tst_ScoreForm)
#include "tst_scoreform.moc"
