#include "framework/FormLoader.h"

#include "framework/ComponentRegistry.h"
#include "framework/EventBinding.h"
#include "framework/FormResource.h"
#include "framework/Forms.h"
#include "framework/ListView.h"

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

    void Load(const FormObject& root)
    {
        if (root.className != QLatin1String(formClass_.className()))
            Fail(root.line, QString("the layout is for class %1, not %2").arg(root.className, formClass_.className()));
        form_.setObjectName(root.name);
        ApplyProperties(form_, root.properties, true);
        for (const FormObject& child : root.children)
            CreateComponent(child);
        ApplyTabOrder();
        for (const PendingEvent& event : events_)
            Bind(event);
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

    [[noreturn]] void Fail(int line, const QString& what) const
    {
        throw Exception(QString("Form layout %1, line %2: %3").arg(source_).arg(line).arg(what).toStdString());
    }

    void CreateComponent(const FormObject& object)
    {
        if (!object.children.empty())
            Fail(object.children.front().line, "components inside components are not supported");
        const ComponentClass* componentClass = FindComponentClass(object.className);
        if (componentClass == nullptr)
            Fail(object.line, QString("unknown class %1").arg(object.className));
        if (form_.FindComponent(object.name.toLatin1().constData()) != nullptr)
            Fail(object.line, QString("a second component named %1").arg(object.name));
        QObject* component = componentClass->create(&form_);
        component->setObjectName(object.name);
        created_.emplace_back(component, componentClass);
        ApplyProperties(*component, object.properties, false);
    }

    int Integer(const FormProperty& property) const
    {
        if (property.value.kind != FormValue::Kind::Integer)
            Fail(property.line, QString("%1 needs a number").arg(property.name));
        return property.value.integer;
    }

    bool Boolean(const FormProperty& property) const
    {
        if (property.value.kind == FormValue::Kind::Identifier) {
            if (property.value.text.compare("True", Qt::CaseInsensitive) == 0)
                return true;
            if (property.value.text.compare("False", Qt::CaseInsensitive) == 0)
                return false;
        }
        Fail(property.line, QString("%1 needs True or False").arg(property.name));
    }

    QWidget* Widget(QObject& object, const FormProperty& property) const
    {
        auto* control = qobject_cast<QWidget*>(&object);
        if (control == nullptr)
            Fail(property.line, QString("%1 is not a control and has no %2").arg(object.objectName(), property.name));
        return control;
    }

    TColor Color(const FormProperty& property) const
    {
        if (property.value.kind == FormValue::Kind::Integer)
            return property.value.integer;
        if (property.value.kind == FormValue::Kind::Identifier)
            if (const auto named = ColorFromName(property.value.text))
                return *named;
        Fail(property.line, QString("%1 needs a colour").arg(property.name));
    }

    void ApplyProperties(QObject& object, const std::vector<FormProperty>& properties, bool isForm)
    {
        Geometry geometry;
        FontSpec font;
        std::optional<TAnchors> anchors;
        for (const FormProperty& property : properties) {
            const QString& name = property.name;
            if (name == "Left")
                geometry.left = Integer(property);
            else if (name == "Top")
                geometry.top = Integer(property);
            else if (name == "Width" && !isForm)
                geometry.width = Integer(property);
            else if (name == "Height" && !isForm)
                geometry.height = Integer(property);
            else if (name == "ClientWidth" && isForm)
                geometry.clientWidth = Integer(property);
            else if (name == "ClientHeight" && isForm)
                geometry.clientHeight = Integer(property);
            else if (name == "Anchors" && !isForm)
                anchors = AnchorSet(property);
            else if (name == "Font.Name")
                font.name = StringValue(property);
            else if (name == "Font.Height")
                font.height = Integer(property);
            else if (name == "Font.Style")
                font.style = SetElements(property);
            else if (name == "Font.Color")
                font.color = Color(property);
            else if (name == "TabOrder" && !isForm)
                tabOrder_.emplace_back(Integer(property), Widget(object, property));
            else if (name == "Visible" && !isForm)
                Widget(object, property)->setVisible(Boolean(property));
            else if (name.startsWith("On") && property.value.kind == FormValue::Kind::Identifier)
                events_.push_back({&object, name, property.value.text, property.line});
            else if (name == "Columns")
                LoadColumns(object, property);
            else
                WriteProperty(object, property);
        }
        if (!properties.empty()) {
            if (font.name || font.height || font.style || font.color)
                ApplyFont(*Widget(object, properties.front()), font);
            ApplyGeometry(object, geometry, isForm, properties.front());
        }
        if (anchors)
            form_.Anchors().Add(qobject_cast<QWidget*>(&object), *anchors);
    }

    QString StringValue(const FormProperty& property) const
    {
        if (property.value.kind != FormValue::Kind::String)
            Fail(property.line, QString("%1 needs a quoted text").arg(property.name));
        return property.value.text;
    }

    QStringList SetElements(const FormProperty& property) const
    {
        if (property.value.kind != FormValue::Kind::Set)
            Fail(property.line, QString("%1 needs a set in brackets").arg(property.name));
        return property.value.set;
    }

    TAnchors AnchorSet(const FormProperty& property) const
    {
        TAnchors anchors = 0;
        for (const QString& element : SetElements(property)) {
            if (element == "akLeft")
                anchors |= akLeft;
            else if (element == "akTop")
                anchors |= akTop;
            else if (element == "akRight")
                anchors |= akRight;
            else if (element == "akBottom")
                anchors |= akBottom;
            else
                Fail(property.line, QString("unknown anchor %1").arg(element));
        }
        return anchors;
    }

    void ApplyFont(QWidget& control, const FontSpec& settings) const
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

    void ApplyGeometry(QObject& object, const Geometry& g, bool isForm, const FormProperty& anyProperty) const
    {
        const bool given = g.left || g.top || g.width || g.height || g.clientWidth || g.clientHeight;
        if (!given)
            return;
        QWidget* control = Widget(object, anyProperty);
        if (isForm) {
            control->move(g.left.value_or(control->x()), g.top.value_or(control->y()));
            control->resize(g.clientWidth.value_or(control->width()), g.clientHeight.value_or(control->height()));
            return;
        }
        control->setGeometry(g.left.value_or(control->x()), g.top.value_or(control->y()),
                             g.width.value_or(control->width()), g.height.value_or(control->height()));
    }

    void LoadColumns(QObject& object, const FormProperty& property) const
    {
        auto* list = qobject_cast<TListView*>(&object);
        if (list == nullptr || property.value.kind != FormValue::Kind::Collection)
            Fail(property.line, "Columns needs a list view and a collection");
        for (const auto& item : property.value.items) {
            QString caption;
            bool autoSize = false;
            int width = 50;
            for (const FormProperty& field : item) {
                if (field.name == "Caption")
                    caption = StringValue(field);
                else if (field.name == "AutoSize")
                    autoSize = Boolean(field);
                else if (field.name == "Width")
                    width = Integer(field);
                else
                    Fail(field.line, QString("unknown column property %1").arg(field.name));
            }
            list->AddColumn(caption, width, autoSize);
        }
    }

    void WriteProperty(QObject& object, const FormProperty& property) const
    {
        const int index = object.metaObject()->indexOfProperty(property.name.toLatin1().constData());
        if (index < 0)
            Fail(property.line, QString("%1 has no property %2").arg(object.objectName(), property.name));
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
                value = Boolean(property);
            else if (meta.metaType() == QMetaType::fromType<int>())
                value = Color(property);
            else
                value = property.value.text;
            break;
        default:
            Fail(property.line, QString("%1 cannot take this value").arg(property.name));
        }
        if (!meta.write(&object, value))
            Fail(property.line, QString("%1 cannot take this value").arg(property.name));
    }

    void ApplyTabOrder()
    {
        std::stable_sort(tabOrder_.begin(), tabOrder_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<QWidget*> controls;
        for (const auto& [order, control] : tabOrder_)
            controls.push_back(control);
        form_.SetTabOrder(std::move(controls));
    }

    static QMetaMethod FindMethod(const QMetaObject* meta, const QString& name, QMetaMethod::MethodType type,
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

    void Bind(const PendingEvent& event) const
    {
        const QMetaMethod signal = FindMethod(event.sender->metaObject(), event.event, QMetaMethod::Signal, 0);
        if (!signal.isValid())
            Fail(event.line, QString("%1 has no event %2").arg(event.sender->objectName(), event.event));
        const QMetaMethod handler = FindMethod(&formClass_, event.handler, QMetaMethod::Slot, 1);
        if (!handler.isValid())
            Fail(event.line, QString("%1 has no handler %2(QObject*)").arg(form_.objectName(), event.handler));
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
    Loader(form, formClass, source).Load(ParseFormResource(text, source));
}
