#include "framework/ComponentRegistry.h"

#include "framework/Bevel.h"
#include "framework/Buttons.h"
#include "framework/Label.h"
#include "framework/ListView.h"
#include "framework/Timer.h"
#include "framework/TrackBar.h"

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
