#pragma once
// Component classes by the names form layouts give them. The framework
// registers its own controls; a layer above registers the rest (the forms
// register the media device) before their forms are built.
#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

struct ComponentClass {
    // Makes a component owned by (a child of) owner.
    std::function<QObject*(QWidget* owner)> create;
    // Runs once the whole layout has been read; may be empty.
    std::function<void(QObject*)> loaded;
};

void RegisterComponentClass(const QString& className, ComponentClass componentClass);
// nullptr when no class of that name is registered.
const ComponentClass* FindComponentClass(const QString& className);

// Registers T under className; T's Loaded(), when it has one, runs after
// the layout has been read. Answers true, for use in a static initialiser.
template <class T>
bool RegisterComponent(const QString& className)
{
    ComponentClass componentClass;
    componentClass.create = [](QWidget* owner) -> QObject* { return new T(owner); };
    if constexpr (requires(T& component) { component.Loaded(); })
        componentClass.loaded = [](QObject* component) { static_cast<T*>(component)->Loaded(); };
    RegisterComponentClass(className, std::move(componentClass));
    return true;
}
