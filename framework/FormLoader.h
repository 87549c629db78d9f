#pragma once
// Builds a form from its layout text: the form's own properties, then each
// component in layout order with its properties, the tab order, the event
// bindings and finally each component's Loaded hook.
#include <QByteArray>
#include <QMetaObject>
#include <QString>

class TForm;

// formClass is the form's own class, still under construction, whose slots
// are the handlers. Raises Exception naming source and line for anything it
// cannot apply.
void LoadFormLayout(TForm& form, const QMetaObject& formClass, const QByteArray& text, const QString& source);
