#include "controlfactory.h"

#include "entrycontrols.h"

#include <QLabel>
#include <QPushButton>

#include <map>

namespace norvana {

namespace {

// The layout's family at the defined size and style.
QFont controlFont(const FontDef &def)
{
    QFont font;
    QStringList families;
    for (const char *family : kFontFamilies)
        families << QString::fromLatin1(family);
    font.setFamilies(families);
    font.setPixelSize(fontPixelSize(def.pointSize));
    font.setWeight(def.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(def.italic);
    return font;
}

QWidget *newWidget(const ControlDef &def, QWidget *client)
{
    const QString caption = QString::fromUtf16(def.caption);
    switch (def.kind) {
    case ControlKind::Label: {
        auto *label = new QLabel(caption, client);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(def.alignment);
        label->setAutoFillBackground(true);
        return label;
    }
    case ControlKind::TextBox: {
        auto *box = new TextBox(client);
        box->setAlignment(def.alignment);
        return box;
    }
    case ControlKind::ComboBox:
        return new ComboBox(client);
    case ControlKind::Button: {
        auto *button = new CommandButton(caption, client);
        // Enter presses a button that has the focus, as the space bar does.
        button->setAutoDefault(true);
        return button;
    }
    }
    Q_UNREACHABLE();
}

// Applies a colour to the widget's role, fixing the colour when the
// definition gives one instead of following the desktop's scheme.
void applyColour(QWidget *widget, const ColourDef &colour, QPalette::ColorRole fixedRole,
                 void (QWidget::*setRole)(QPalette::ColorRole))
{
    if (colour.role != QPalette::NoRole) {
        (widget->*setRole)(colour.role);
        return;
    }
    QPalette palette = widget->palette();
    palette.setColor(fixedRole, QColor::fromRgb(colour.fixed));
    widget->setPalette(palette);
    (widget->*setRole)(fixedRole);
}

// The accessible name from the definition, also on an editable combo box's
// text field, which is what has the focus while the user types.
void applyAccessibleName(const ControlDef &def, QWidget *widget)
{
    const AccessibleDef *a = accessibleDef(def.name);
    if (!a)
        return;
    const QString name = QString::fromUtf16(a->name);
    widget->setAccessibleName(name);
    if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleName(name);
}

// One control from its definition, as a child of the client area. A control
// in the client area's font inherits it; only the others get a font of their
// own. A font set on a combo box would lay out its drop-down list at once,
// which otherwise waits until the list is first shown.
QWidget *createControl(const ControlDef &def, QWidget *client)
{
    QWidget *widget = newWidget(def, client);
    widget->setObjectName(QLatin1String(def.name));
    const QRect &t = def.twips;
    widget->setGeometry(twipsToPixels(t.x()), twipsToPixels(t.y()), twipsToPixels(t.width()),
                        twipsToPixels(t.height()));
    if (const QFont font = controlFont(def.font); font != client->font())
        widget->setFont(font);
    applyAccessibleName(def, widget);
    applyColour(widget, def.text, QPalette::WindowText, &QWidget::setForegroundRole);
    applyColour(widget, def.background, QPalette::Window, &QWidget::setBackgroundRole);
    return widget;
}

// Makes each entry's caption label its buddy, so that assistive technology
// reports the entry as labelled by it.
void linkCaptionLabels(const QWidget *client)
{
    for (const AccessibleDef &a : kAccessibleNames) {
        if (!a.label)
            continue;
        auto *label = client->findChild<QLabel *>(QLatin1String(a.label), Qt::FindDirectChildrenOnly);
        auto *entry = client->findChild<QWidget *>(QLatin1String(a.control), Qt::FindDirectChildrenOnly);
        Q_ASSERT(label && entry);
        label->setBuddy(entry);
    }
}

} // namespace

void createControls(QWidget *client)
{
    client->setFont(controlFont(kCommonFont));
    std::map<int, QWidget *> byTabIndex;
    for (const ControlDef &def : kControls)
        byTabIndex[def.tabIndex] = createControl(def, client);
    linkCaptionLabels(client);

    // Tab visits the controls that take the focus in the order of TabIndex.
    QWidget *previous = nullptr;
    for (const auto &[tabIndex, widget] : byTabIndex) {
        if (widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace norvana
