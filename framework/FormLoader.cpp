#include "FormLoader.h"

#include "ComponentRegistry.h"
#include "EventBinding.h"
#include "FormResource.h"
#include "Forms.h"
#include "ListView.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <algorithm>
#include <optional>

namespace {

struct Geometry {
    std::optional<int> left, top, width, height, clientWidth, clientHeight;
};

struct FontSpec {
    std::optional<QString> name;
    std::optional<int> height;
    std::optional<QStringList> style;
    std::optional<TColor> color;
};

class Loader {
public:
    Loader(TForm& form, const QMetaObject& formClass, const QString& source)
        : form_(form), formClass_(formClass), source_(source)
    {
    }

    void load(const FormObject& root)
    {
        if (root.className != QLatin1String(formClass_.className()))
            fail(root.line, QString("the layout is for class %1, not %2").arg(root.className, formClass_.className()));
        form_.setObjectName(root.name);
        applyProperties(form_, root.properties, true);
        for (const FormObject& child : root.children)
            createComponent(child);
        applyTabOrder();
        for (const PendingEvent& event : events_)
            bind(event);
        for (const auto& [component, componentClass] : created_)
            if (componentClass->loaded)
                componentClass->loaded(component);
    }

private:
    struct PendingEvent {
        QObject* sender;
        QString event;
        QString handler;
        int line;
    };

    [[noreturn]] void fail(int line, const QString& what) const
    {
        throw Exception(QString("Form layout %1, line %2: %3").arg(source_).arg(line).arg(what).toStdString());
    }

    void createComponent(const FormObject& object)
    {
        if (!object.children.empty())
            fail(object.children.front().line, "components inside components are not supported");
        const ComponentClass* componentClass = FindComponentClass(object.className);
        if (componentClass == nullptr)
            fail(object.line, QString("unknown class %1").arg(object.className));
        if (form_.FindComponent(object.name.toLatin1().constData()) != nullptr)
            fail(object.line, QString("a second component named %1").arg(object.name));
        QObject* component = componentClass->create(&form_);
        component->setObjectName(object.name);
        created_.emplace_back(component, componentClass);
        applyProperties(*component, object.properties, false);
    }

    int integer(const FormProperty& property) const
    {
        if (property.value.kind != FormValue::Kind::Integer)
            fail(property.line, QString("%1 needs a number").arg(property.name));
        return property.value.integer;
    }

    bool boolean(const FormProperty& property) const
    {
        if (property.value.kind == FormValue::Kind::Identifier) {
            if (property.value.text.compare("True", Qt::CaseInsensitive) == 0)
                return true;
            if (property.value.text.compare("False", Qt::CaseInsensitive) == 0)
                return false;
        }
        fail(property.line, QString("%1 needs True or False").arg(property.name));
    }

    QWidget* widget(QObject& object, const FormProperty& property) const
    {
        auto* control = qobject_cast<QWidget*>(&object);
        if (control == nullptr)
            fail(property.line, QString("%1 is not a control and has no %2").arg(object.objectName(), property.name));
        return control;
    }

    TColor color(const FormProperty& property) const
    {
        if (property.value.kind == FormValue::Kind::Integer)
            return property.value.integer;
        if (property.value.kind == FormValue::Kind::Identifier)
            if (const auto named = ColorFromName(property.value.text))
                return *named;
        fail(property.line, QString("%1 needs a colour").arg(property.name));
    }

    void applyProperties(QObject& object, const std::vector<FormProperty>& properties, bool isForm)
    {
        Geometry geometry;
        FontSpec font;
        std::optional<TAnchors> anchors;
        for (const FormProperty& property : properties) {
            const QString& name = property.name;
            if (name == "Left")
                geometry.left = integer(property);
            else if (name == "Top")
                geometry.top = integer(property);
            else if (name == "Width" && !isForm)
                geometry.width = integer(property);
            else if (name == "Height" && !isForm)
                geometry.height = integer(property);
            else if (name == "ClientWidth" && isForm)
                geometry.clientWidth = integer(property);
            else if (name == "ClientHeight" && isForm)
                geometry.clientHeight = integer(property);
            else if (name == "Anchors" && !isForm)
                anchors = anchorSet(property);
            else if (name == "Font.Name")
                font.name = stringValue(property);
            else if (name == "Font.Height")
                font.height = integer(property);
            else if (name == "Font.Style")
                font.style = setValue(property);
            else if (name == "Font.Color")
                font.color = color(property);
            else if (name == "TabOrder" && !isForm)
                tabOrder_.emplace_back(integer(property), widget(object, property));
            else if (name == "Visible" && !isForm)
                widget(object, property)->setVisible(boolean(property));
            else if (name.startsWith("On") && property.value.kind == FormValue::Kind::Identifier)
                events_.push_back({&object, name, property.value.text, property.line});
            else if (name == "Columns")
                loadColumns(object, property);
            else
                writeProperty(object, property);
        }
        if (!properties.empty()) {
            if (font.name || font.height || font.style || font.color)
                applyFont(*widget(object, properties.front()), font);
            applyGeometry(object, geometry, isForm, properties.front());
        }
        if (anchors)
            form_.Anchors().Add(qobject_cast<QWidget*>(&object), *anchors);
    }

    QString stringValue(const FormProperty& property) const
    {
        if (property.value.kind != FormValue::Kind::String)
            fail(property.line, QString("%1 needs a quoted text").arg(property.name));
        return property.value.text;
    }

    QStringList setValue(const FormProperty& property) const
    {
        if (property.value.kind != FormValue::Kind::Set)
            fail(property.line, QString("%1 needs a set in brackets").arg(property.name));
        return property.value.set;
    }

    TAnchors anchorSet(const FormProperty& property) const
    {
        TAnchors anchors = 0;
        for (const QString& element : setValue(property)) {
            if (element == "akLeft")
                anchors |= akLeft;
            else if (element == "akTop")
                anchors |= akTop;
            else if (element == "akRight")
                anchors |= akRight;
            else if (element == "akBottom")
                anchors |= akBottom;
            else
                fail(property.line, QString("unknown anchor %1").arg(element));
        }
        return anchors;
    }

    void applyFont(QWidget& control, const FontSpec& settings) const
    {
        QFont font = control.font();
        if (settings.name)
            font.setFamily(*settings.name);
        if (settings.height)
            font.setPixelSize(std::max(1, std::abs(*settings.height)));
        if (settings.style) {
            font.setBold(settings.style->contains("fsBold"));
            font.setItalic(settings.style->contains("fsItalic"));
            font.setUnderline(settings.style->contains("fsUnderline"));
            font.setStrikeOut(settings.style->contains("fsStrikeOut"));
        }
        control.setFont(font);
        if (settings.color) {
            QPalette colours = control.palette();
            const QColor text = ColorToQColor(*settings.color);
            for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
                colours.setColor(role, text);
            control.setPalette(colours);
        }
    }

    void applyGeometry(QObject& object, const Geometry& g, bool isForm, const FormProperty& anyProperty) const
    {
        const bool given = g.left || g.top || g.width || g.height || g.clientWidth || g.clientHeight;
        if (!given)
            return;
        QWidget* control = widget(object, anyProperty);
        if (isForm) {
            control->move(g.left.value_or(control->x()), g.top.value_or(control->y()));
            control->resize(g.clientWidth.value_or(control->width()), g.clientHeight.value_or(control->height()));
            return;
        }
        control->setGeometry(g.left.value_or(control->x()), g.top.value_or(control->y()),
                             g.width.value_or(control->width()), g.height.value_or(control->height()));
    }

    void loadColumns(QObject& object, const FormProperty& property) const
    {
        auto* list = qobject_cast<TListView*>(&object);
        if (list == nullptr || property.value.kind != FormValue::Kind::Collection)
            fail(property.line, "Columns needs a list view and a collection");
        for (const auto& item : property.value.items) {
            QString caption;
            bool autoSize = false;
            int width = 50;
            for (const FormProperty& field : item) {
                if (field.name == "Caption")
                    caption = stringValue(field);
                else if (field.name == "AutoSize")
                    autoSize = boolean(field);
                else if (field.name == "Width")
                    width = integer(field);
                else
                    fail(field.line, QString("unknown column property %1").arg(field.name));
            }
            list->AddColumn(caption, width, autoSize);
        }
    }

    void writeProperty(QObject& object, const FormProperty& property) const
    {
        const int index = object.metaObject()->indexOfProperty(property.name.toLatin1().constData());
        if (index < 0)
            fail(property.line, QString("%1 has no property %2").arg(object.objectName(), property.name));
        const QMetaProperty meta = object.metaObject()->property(index);
        QVariant value;
        switch (property.value.kind) {
        case FormValue::Kind::Integer:
            value = property.value.integer;
            break;
        case FormValue::Kind::String:
            value = property.value.text;
            break;
        case FormValue::Kind::Identifier:
            if (meta.metaType() == QMetaType::fromType<bool>())
                value = boolean(property);
            else if (meta.metaType() == QMetaType::fromType<int>())
                value = color(property);
            else
                value = property.value.text;
            break;
        default:
            fail(property.line, QString("%1 cannot take this value").arg(property.name));
        }
        if (!meta.write(&object, value))
            fail(property.line, QString("%1 cannot take this value").arg(property.name));
    }

    void applyTabOrder()
    {
        std::stable_sort(tabOrder_.begin(), tabOrder_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<QWidget*> controls;
        for (const auto& [order, control] : tabOrder_)
            controls.push_back(control);
        form_.SetTabOrder(std::move(controls));
    }

    static QMetaMethod findMethod(const QMetaObject* meta, const QString& name, QMetaMethod::MethodType type,
                                  int parameters)
    {
        for (int i = 0; i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            if (method.methodType() == type && method.name() == name.toLatin1() &&
                method.parameterCount() == parameters &&
                (parameters == 0 || method.parameterMetaType(0) == QMetaType::fromType<QObject*>()))
                return method;
        }
        return {};
    }

    void bind(const PendingEvent& event) const
    {
        const QMetaMethod signal = findMethod(event.sender->metaObject(), event.event, QMetaMethod::Signal, 0);
        if (!signal.isValid())
            fail(event.line, QString("%1 has no event %2").arg(event.sender->objectName(), event.event));
        const QMetaMethod handler = findMethod(&formClass_, event.handler, QMetaMethod::Slot, 1);
        if (!handler.isValid())
            fail(event.line, QString("%1 has no handler %2(QObject*)").arg(form_.objectName(), event.handler));
        auto* binding = new EventBinding(event.sender, &form_, handler);
        const QMetaMethod fire = binding->metaObject()->method(binding->metaObject()->indexOfSlot("Fire()"));
        QObject::connect(event.sender, signal, binding, fire);
    }

    TForm& form_;
    const QMetaObject& formClass_;
    const QString& source_;
    std::vector<PendingEvent> events_;
    std::vector<std::pair<int, QWidget*>> tabOrder_;
    std::vector<std::pair<QObject*, const ComponentClass*>> created_;
};

}  // namespace

void LoadFormLayout(TForm& form, const QMetaObject& formClass, const QByteArray& text, const QString& source)
{
    Loader(form, formClass, source).load(ParseFormResource(text, source));
}
