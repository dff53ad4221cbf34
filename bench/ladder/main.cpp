// The floor window built up one kind of control at a time, to see what each
// costs at start-up:
//
//   norvana_ladder STEP
//
//   floor     a bare QWidget titled "Norvana", 438x264, nothing in it
//   labels    + the seven labels, regular, bold and italic captions
//   entries   + the two line edits
//   buttons   + the three push buttons
//   combo     + the editable combo box with its two items
//   menu      the same in a QMainWindow with the menu bar "?"
//
// Each step keeps everything of the steps before it. All text is in the
// layout's family at the layout's pixel sizes.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char *kSteps[] = {"floor", "labels", "entries", "buttons", "combo", "menu"};

int stepIndex(const char *name)
{
    for (int i = 0; i < int(std::size(kSteps)); ++i)
        if (std::strcmp(name, kSteps[i]) == 0)
            return i;
    return -1;
}

QFont layoutFont(int pixelSize, bool bold = false, bool italic = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

template <typename W>
W *place(W *widget, const QRect &geometry, const QFont &font)
{
    widget->setGeometry(geometry);
    widget->setFont(font);
    return widget;
}

void addControls(QWidget *client, int step)
{
    if (step >= stepIndex("labels")) {
        const struct
        {
            const char *caption;
            QRect geometry;
            QFont font;
        } labels[] = {
            {"PCT (ng/ml) =", {24, 40, 81, 17}, layoutFont(11)},
            {"CRP(mg/L)", {24, 96, 81, 17}, layoutFont(11)},
            {"Dipstik urinario", {24, 152, 81, 17}, layoutFont(11)},
            {"Punteggio", {272, 40, 89, 25}, layoutFont(16, true)},
            {"3", {288, 72, 49, 25}, layoutFont(18, true)},
            {"Cut-off predittivo di SBI: uguale o superiore a 3.", {256, 120, 153, 33}, layoutFont(11)},
            {"SBI = INFEZIONE BATTERICA SEVERA", {256, 152, 153, 33}, layoutFont(11, false, true)},
        };
        for (const auto &l : labels)
            place(new QLabel(QString::fromLatin1(l.caption), client), l.geometry, l.font)->setWordWrap(true);
    }
    if (step >= stepIndex("entries")) {
        place(new QLineEdit(client), {128, 40, 57, 21}, layoutFont(11))->setFocus();
        place(new QLineEdit(client), {128, 96, 57, 21}, layoutFont(11));
    }
    if (step >= stepIndex("buttons")) {
        for (int i = 0; i < 3; ++i)
            place(new QPushButton(QStringLiteral("&Calcola"), client), {72 + 112 * i, 216, 81, 25}, layoutFont(11));
    }
    if (step >= stepIndex("combo")) {
        auto *combo = place(new QComboBox(client), {128, 152, 89, 21}, layoutFont(11));
        combo->setEditable(true);
        combo->addItems({QStringLiteral("Negativo"), QStringLiteral("Positivo")});
    }
}

} // namespace

int main(int argc, char *argv[])
{
    const int step = argc == 2 ? stepIndex(argv[1]) : -1;
    if (step < 0) {
        std::fprintf(stderr, "usage: norvana_ladder floor|labels|entries|buttons|combo|menu\n");
        return 2;
    }
    QApplication app(argc, argv);
    QMainWindow mainWindow;
    QWidget plainWindow;
    QWidget *window = &plainWindow;
    QWidget *client = &plainWindow;
    if (step >= stepIndex("menu")) {
        window = &mainWindow;
        client = new QWidget(&mainWindow);
        mainWindow.setCentralWidget(client);
        mainWindow.menuBar()->addAction(QStringLiteral("?"));
    }
    client->setFixedSize(438, 264);
    window->setWindowTitle(QStringLiteral("Norvana"));
    addControls(client, step);
    window->show();
    return QApplication::exec();
}
