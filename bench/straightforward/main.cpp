// Norvana's window written the obvious way, as a reference: a QMainWindow
// with a menu, a central widget with the thirteen controls at absolute
// positions and a font set on each control. No behaviour behind it.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

namespace {

QFont arial(int pointSize, bool bold = false, bool italic = false)
{
    QFont font(QStringLiteral("Arial"), pointSize, bold ? QFont::Bold : QFont::Normal, italic);
    return font;
}

QLabel *addLabel(QWidget *parent, const QString &text, const QRect &place, const QFont &font,
                 Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignTop)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setWordWrap(true);
    return label;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Norvana"));
    window.menuBar()->addAction(QStringLiteral("?"));

    auto *client = new QWidget(&window);
    client->setFixedSize(438, 264);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0xFF, 0xFF));
    client->setPalette(palette);
    client->setAutoFillBackground(true);
    window.setCentralWidget(client);

    addLabel(client, QStringLiteral("PCT (ng/ml) ="), {24, 40, 81, 17}, arial(8));
    addLabel(client, QStringLiteral("CRP(mg/L)"), {24, 96, 81, 17}, arial(8));
    addLabel(client, QStringLiteral("Dipstik urinario"), {24, 152, 81, 17}, arial(8));
    addLabel(client, QStringLiteral("Punteggio"), {272, 40, 89, 25}, arial(12, true));
    QLabel *score = addLabel(client, QString(), {288, 72, 49, 25}, arial(13, true));
    QPalette red = score->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    score->setPalette(red);
    addLabel(client, QStringLiteral(" Cut-off predittivo di SBI: uguale o superiore a 3."),
             {256, 120, 153, 33}, arial(8), Qt::AlignLeft | Qt::AlignTop);
    addLabel(client, QStringLiteral("SBI = INFEZIONE BATTERICA SEVERA"), {256, 152, 153, 33},
             arial(8, false, true), Qt::AlignLeft | Qt::AlignTop);

    auto *pct = new QLineEdit(client);
    pct->setGeometry(128, 40, 57, 21);
    pct->setFont(arial(8));
    auto *crp = new QLineEdit(client);
    crp->setGeometry(128, 96, 57, 21);
    crp->setFont(arial(8));
    auto *dipstick = new QComboBox(client);
    dipstick->setEditable(true);
    dipstick->addItems({QStringLiteral("Negativo"), QStringLiteral("Positivo")});
    dipstick->setGeometry(128, 152, 89, 21);
    dipstick->setFont(arial(8));

    const QString captions[] = {QStringLiteral("&Calcola"), QStringLiteral("&Reset"),
                                QStringLiteral("&Fine")};
    int left = 72;
    for (const QString &caption : captions) {
        auto *button = new QPushButton(caption, client);
        button->setGeometry(left, 216, 81, 25);
        button->setFont(arial(8));
        left += 112;
    }

    window.show();
    pct->setFocus();
    return QApplication::exec();
}
