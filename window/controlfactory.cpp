#include "controlfactory.h"

#include "entrycontrols.h"

#include <QLabel>

#include <map>
#include <type_traits>

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

// A new control of the kind its slot holds, with its caption.
template <typename Control>
Control *newControl(const ControlDef &def, QWidget *client)
{
    const QString caption = QString::fromUtf16(def.caption);
    if constexpr (std::is_same_v<Control, QLabel>) {
        auto *label = new QLabel(caption, client);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(def.alignment);
        label->setAutoFillBackground(true);
        return label;
    } else if constexpr (std::is_same_v<Control, ValueEdit>) {
        auto *box = new ValueEdit(client);
        box->setAlignment(def.alignment);
        return box;
    } else if constexpr (std::is_same_v<Control, EntryComboBox>) {
        return new EntryComboBox(client);
    } else {
        auto *button = new AccessKeyButton(caption, client);
        // Enter presses a button that has the focus, as the space bar does.
        button->setAutoDefault(true);
        return button;
    }
}

// The control kept in a slot of the created controls.
QWidget *controlIn(const FormWidgets &widgets, const ControlSlot &slot)
{
    return std::visit([&](auto member) -> QWidget * { return widgets.*member; }, slot);
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

// One control from its definition, as a child of the client area. A control
// in the client area's font inherits it; only the others get a font of their
// own. A font set on a combo box would lay out its drop-down list at once,
// which otherwise waits until the list is first shown.
QWidget *createControl(const ControlDef &def, QWidget *client, FormWidgets &widgets)
{
    QWidget *widget = std::visit(
        [&](auto member) -> QWidget * {
            using Control = std::remove_pointer_t<std::decay_t<decltype(widgets.*member)>>;
            return widgets.*member = newControl<Control>(def, client);
        },
        def.slot);
    widget->setObjectName(QLatin1String(def.name));
    widget->setGeometry(def.geometry);
    if (const QFont font = controlFont(def.font); font != client->font())
        widget->setFont(font);
    applyColour(widget, def.text, QPalette::WindowText, &QWidget::setForegroundRole);
    applyColour(widget, def.background, QPalette::Window, &QWidget::setBackgroundRole);
    return widget;
}

// Gives the entries and the score their accessible names, also on the
// combo box's text field, which is what has the focus while the user types,
// and makes each entry's caption label its buddy, so that assistive
// technology reports the entry as labelled by it.
void applyAccessibleNames(const FormWidgets &widgets)
{
    for (const AccessibleDef &a : kAccessibleNames) {
        QWidget *control = controlIn(widgets, a.control);
        QString name = QString::fromUtf16(a.name);
        if (a.value)
            name = name.arg(QString::fromUtf16(a.value->name), a.value->unit());
        control->setAccessibleName(name);
        if (auto *combo = qobject_cast<QComboBox *>(control))
            combo->lineEdit()->setAccessibleName(name);
        if (a.label)
            (widgets.*a.label)->setBuddy(control);
    }
}

} // namespace

FormWidgets createControls(QWidget *client)
{
    client->setFont(controlFont(kCommonFont));
    FormWidgets widgets;
    std::map<int, QWidget *> byTabOrder;
    for (const ControlDef &def : kControls)
        byTabOrder[def.tabOrder] = createControl(def, client, widgets);
    applyAccessibleNames(widgets);

    // Tab visits the controls that take the focus in their tab order.
    QWidget *previous = nullptr;
    for (const auto &[tabOrder, widget] : byTabOrder) {
        if (widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    return widgets;
}

} // namespace norvana
