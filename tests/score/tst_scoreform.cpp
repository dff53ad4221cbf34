#include "scoreform.h"

#include <QTest>

using namespace norvana;

namespace {

// Plays the window: holds the three entry texts and records, in order,
// every operation the calculation performs on the controls.
class RecordingControls : public FormControls
{
public:
    QString pct, crp, dip = QStringLiteral("Negativo");
    QString score;
    QStringList log;

    QString text(EntryId id) const override
    {
        switch (id) {
        case EntryId::txtPCT:
            return pct;
        case EntryId::txtCRP:
            return crp;
        case EntryId::cmbDipUrine:
            break;
        }
        return dip;
    }
    void setFocus(ControlId id) override { log << QStringLiteral("focus ") + name(id); }
    void selectAll(EntryId id) override { log << QStringLiteral("select ") + name(controlOf(id)); }
    void setScoreCaption(const QString &caption) override { score = caption; }
    void warn(const QString &prompt) override { log << QStringLiteral("warn ") + prompt; }

    static QString name(ControlId id)
    {
        switch (id) {
        case ControlId::txtPCT:
            return QStringLiteral("txtPCT");
        case ControlId::txtCRP:
            return QStringLiteral("txtCRP");
        case ControlId::cmbDipUrine:
            return QStringLiteral("cmbDipUrine");
        case ControlId::cmdCalcola:
            return QStringLiteral("cmdCalcola");
        }
        return QString();
    }
};

// A form as the window holds it once loaded, on a recording of its controls.
struct LoadedForm
{
    LoadedForm() { form.load(); }
    RecordingControls ui;
    ScoreForm form{ui};
};

const QString kValueWarning = QStringLiteral("warn Immettere un valore plausibile maggiore di zero!");
const QString kDipWarning =
    QStringLiteral("warn Selezionare Negativo o Positivo per il dipstick urinario!");

} // namespace

class tst_ScoreForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void points_data();
    void points();
    void refusalOrder_data();
    void refusalOrder();
    void refusedValueIsStillBanded();
    void refusalOnEnterDoesNotWithholdNextScore();
    void unrecognisedDipstickKeepsItsPoints();
    void resetForgetsValues();
};

void tst_ScoreForm::points_data()
{
    QTest::addColumn<QString>("pct");
    QTest::addColumn<QString>("crp");
    QTest::addColumn<QString>("dip");
    QTest::addColumn<int>("pctPoints");
    QTest::addColumn<int>("crpPoints");
    QTest::addColumn<QString>("score");

    QTest::newRow("all highest gives 9") << "2" << "100" << "Positivo" << 4 << 4 << "9";
    QTest::newRow("all lowest gives 0") << "0.1" << "5" << "Negativo" << 0 << 0 << "0";
    QTest::newRow("road of one calculation") << "1.2" << "45" << "Negativo" << 2 << 2 << "4";
    QTest::newRow("pct 0.49 gives 0") << "0.49" << "1" << "Negativo" << 0 << 0 << "0";
    QTest::newRow("pct 0.5 gives 2") << "0.5" << "1" << "Negativo" << 2 << 0 << "2";
    QTest::newRow("pct 1.99 gives 2") << "1.99" << "1" << "Negativo" << 2 << 0 << "2";
    QTest::newRow("pct 500 gives 4") << "500" << "1" << "Negativo" << 4 << 0 << "4";
    QTest::newRow("crp 39.9 gives 0") << "0.1" << "39.9" << "Negativo" << 0 << 0 << "0";
    QTest::newRow("crp 40 gives 2") << "0.1" << "40" << "Negativo" << 0 << 2 << "2";
    QTest::newRow("crp 99.5 gives 2") << "0.1" << "99.5" << "Negativo" << 0 << 2 << "2";
    QTest::newRow("crp 1000 gives 4") << "0.1" << "1000" << "Negativo" << 0 << 4 << "4";
    QTest::newRow("decimal comma") << "1,5" << "40,0" << "Negativo" << 2 << 2 << "4";
    QTest::newRow("dipstick any case and blanks") << "0.1" << "5" << "  pOSITIVO " << 0 << 0 << "1";
}

void tst_ScoreForm::points()
{
    QFETCH(QString, pct);
    QFETCH(QString, crp);
    QFETCH(QString, dip);
    QFETCH(int, pctPoints);
    QFETCH(int, crpPoints);
    QFETCH(QString, score);

    LoadedForm loaded;
    auto &[ui, form] = loaded;
    ui.pct = pct;
    ui.crp = crp;
    ui.dip = dip;
    form.calculate();

    QCOMPARE(ui.score, score);
    QCOMPARE(form.state().intPuntiPCT, pctPoints);
    QCOMPARE(form.state().intPuntiCRP, crpPoints);
    QCOMPARE(form.state().intPunteggio, 0);
    QVERIFY(!form.state().blnErrore);
    // InputPCT runs last, so an accepted PCT leaves the focus in txtCRP.
    QCOMPARE(ui.log.last(), QStringLiteral("focus txtCRP"));
}

void tst_ScoreForm::refusalOrder_data()
{
    QTest::addColumn<QString>("pct");
    QTest::addColumn<QString>("crp");
    QTest::addColumn<QString>("dip");
    QTest::addColumn<QStringList>("log");

    QTest::newRow("both refused: CRP first")
        << "0" << "abc" << "Negativo"
        << QStringList{kValueWarning, "focus txtCRP", "select txtCRP",
                       kValueWarning, "focus txtPCT", "select txtPCT"};
    QTest::newRow("pct above 500 refused")
        << "500.01" << "45" << "Negativo"
        << QStringList{"focus cmbDipUrine", kValueWarning, "focus txtPCT", "select txtPCT"};
    QTest::newRow("crp above 1000 refused")
        << "1" << "1000.5" << "Negativo"
        << QStringList{kValueWarning, "focus txtCRP", "select txtCRP", "focus txtCRP"};
    QTest::newRow("unknown dipstick after the values")
        << "-3" << "45" << "forse"
        << QStringList{"focus cmbDipUrine", kValueWarning, "focus txtPCT", "select txtPCT",
                       kDipWarning, "focus cmbDipUrine", "select cmbDipUrine"};
    QTest::newRow("empty dipstick refused")
        << "1" << "45" << ""
        << QStringList{"focus cmbDipUrine", "focus txtCRP", kDipWarning, "focus cmbDipUrine",
                       "select cmbDipUrine"};
}

void tst_ScoreForm::refusalOrder()
{
    QFETCH(QString, pct);
    QFETCH(QString, crp);
    QFETCH(QString, dip);
    QFETCH(QStringList, log);

    LoadedForm loaded;
    auto &[ui, form] = loaded;
    ui.score = QStringLiteral("7"); // a score from before must not survive
    ui.pct = pct;
    ui.crp = crp;
    ui.dip = dip;
    form.calculate();

    QCOMPARE(ui.log, log);
    QCOMPARE(ui.score, QString());
    QVERIFY(!form.state().blnErrore);
}

void tst_ScoreForm::refusedValueIsStillBanded()
{
    LoadedForm loaded;
    auto &[ui, form] = loaded;
    ui.pct = QStringLiteral("600");
    ui.crp = QStringLiteral("45");
    form.calculate();

    QCOMPARE(ui.score, QString());
    QCOMPARE(form.state().varPCT, 600.0);
    QCOMPARE(form.state().intPuntiPCT, 4);
}

void tst_ScoreForm::refusalOnEnterDoesNotWithholdNextScore()
{
    LoadedForm loaded;
    auto &[ui, form] = loaded;
    ui.pct = QStringLiteral("abc");
    form.InputPCT();
    QVERIFY(form.state().blnErrore);
    QCOMPARE(ui.log.first(), kValueWarning);

    ui.log.clear();
    ui.pct = QStringLiteral("1.2");
    ui.crp = QStringLiteral("45");
    form.calculate();
    QVERIFY(!ui.log.join(u'|').contains(QStringLiteral("warn")));
    QCOMPARE(ui.score, QStringLiteral("4"));
}

void tst_ScoreForm::unrecognisedDipstickKeepsItsPoints()
{
    LoadedForm loaded;
    auto &[ui, form] = loaded;
    ui.pct = QStringLiteral("1");
    ui.crp = QStringLiteral("1");
    ui.dip = QStringLiteral("Positivo");
    form.calculate();
    QCOMPARE(ui.score, QStringLiteral("3"));

    ui.dip = QStringLiteral("Positiva");
    form.calculate();
    QCOMPARE(ui.score, QString());
    QCOMPARE(form.state().strDipUrine, QStringLiteral("Positiva"));
    QCOMPARE(form.state().intPuntiDip, 1);
}

void tst_ScoreForm::resetForgetsValues()
{
    LoadedForm loaded;
    auto &[ui, form] = loaded;
    ui.pct = QStringLiteral("3");
    ui.crp = QStringLiteral("200");
    ui.dip = QStringLiteral("Positivo");
    form.calculate();
    QCOMPARE(ui.score, QStringLiteral("9"));

    form.reset();
    QCOMPARE(ui.score, QString());
    QCOMPARE(form.state().varPCT, 0.0);
    QCOMPARE(form.state().varCRP, 0.0);
    QCOMPARE(form.state().intPuntiPCT, 0);
    QCOMPARE(form.state().intPuntiCRP, 0);
    // The dipstick's text and points belong to the combo box, which Reset
    // sets back to its first item; the state keeps them until then.
    QCOMPARE(form.state().intPuntiDip, 1);
}

QTEST_GUILESS_MAIN(tst_ScoreForm)
#include "tst_scoreform.moc"
