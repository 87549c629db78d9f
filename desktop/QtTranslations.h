#pragma once
// Qt's own texts (the file dialog, the message boxes' buttons) in the
// user's language, from Qt's translations as the system installed them.
class QCoreApplication;

// Loads and installs Qt's translations for the system locale; answers
// false when there are none for it (English stays).
bool InstallQtTranslations(QCoreApplication& application);
