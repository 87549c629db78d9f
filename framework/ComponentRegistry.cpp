#include "ComponentRegistry.h"

#include "Bevel.h"
#include "Buttons.h"
#include "Label.h"
#include "ListView.h"
#include "Timer.h"
#include "TrackBar.h"

#include <map>

namespace {

std::map<QString, ComponentClass>& Registry()
{
    static std::map<QString, ComponentClass> classes;
    return classes;
}

void RegisterFrameworkClasses()
{
    RegisterComponent<TSpeedButton>("TSpeedButton");
    RegisterComponent<TLabel>("TLabel");
    RegisterComponent<TBevel>("TBevel");
    RegisterComponent<TTrackBar>("TTrackBar");
    RegisterComponent<TListView>("TListView");
    RegisterComponent<TTimer>("TTimer");
}

}  // namespace

void RegisterComponentClass(const QString& className, ComponentClass componentClass)
{
    Registry()[className] = std::move(componentClass);
}

const ComponentClass* FindComponentClass(const QString& className)
{
    static const bool frameworkClassesRegistered = (RegisterFrameworkClasses(), true);
    (void)frameworkClassesRegistered;
    const auto found = Registry().find(className);
    return found == Registry().end() ? nullptr : &found->second;
}
