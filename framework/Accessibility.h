#pragma once
// What assistive technology is told about the framework's controls beyond
// Qt's defaults: a form is a frame (a top-level window), not a filler, and a
// track bar reads its ValueText as its value.

// Makes these known to Qt's accessibility; once per process is enough, later
// calls do nothing.
void InstallAccessibleInterfaces();
