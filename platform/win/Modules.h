#pragma once
// The program's own modules, shared objects loaded when first needed (as
// LoadLibrary loads a DLL): looked for beside the executable, which is also
// where the install puts them, then in the folders a program adds (tests
// and benchmarks, built elsewhere, add the build's). A loaded module stays
// loaded to the end: what it made may live that long.
#include <QString>
#include <QStringList>
#include <QtGlobal>

struct ModuleEntry {
    QFunctionPointer entry = nullptr;
    // With no entry: why, the loader's own text; empty when the file is in
    // none of the folders.
    QString failure;
};

// The entry point entryName of the module fileName ("kolvi_webengine.so").
ModuleEntry loadModuleEntry(const QString& fileName, const char* entryName);

// Folders looked in after the executable's own; answers the list before.
QStringList chooseModuleFolders(QStringList folders);
