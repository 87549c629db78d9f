#pragma once
// What a screen reader is told about the main window's controls beyond
// their captions: names and descriptions in Korean, the captions that label
// the sliders, the volume read as a percentage.
#include <QString>

class TfrmKolviPlayer;

// What the position slider reads as its value while nothing plays.
inline const QString NotPlayingText = QStringLiteral("재생 중이 아님");

void DescribeForAssistiveTechnology(TfrmKolviPlayer& window);

// A slider position as a percentage of its range, rounded: "35%".
QString PercentText(int position, int minimum, int maximum);
