#pragma once
// Form layouts are text files in the style of a form resource:
//
//   object frmMain: TfrmMain
//     Caption = 'Main'
//     Anchors = [akLeft, akBottom]
//     object btnOk: TSpeedButton
//       Left = 7
//       OnClick = btnOkClick
//     end
//   end
//
// Values are integers, quoted strings (UTF-8, '' for a quote), identifiers,
// sets of identifiers in brackets, and collections "< item ... end ... >".
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

struct FormProperty;

struct FormValue {
    enum class Kind { Integer, String, Identifier, Set, Collection };
    Kind kind = Kind::Integer;
    int integer = 0;
    QString text;  // String and Identifier
    QStringList set;
    std::vector<std::vector<FormProperty>> items;  // Collection
};

struct FormProperty {
    QString name;  // possibly dotted: "Font.Name"
    FormValue value;
    int line = 0;
};

struct FormObject {
    QString name;
    QString className;
    std::vector<FormProperty> properties;
    std::vector<FormObject> children;
    int line = 0;
};

// Parses one layout; raises Exception naming source and line on any fault.
FormObject ParseFormResource(const QByteArray& text, const QString& source);
