#pragma once
// Colours as the form layouts give them: a TColor is either an RGB value in
// blue-green-red byte order (0x00BBGGRR) or one of the system colours, which
// follow the desktop's palette.
#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>

using TColor = std::int32_t;

constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clBlack = 0x00000000;
constexpr TColor clWindowText = static_cast<TColor>(0x80000008);
constexpr TColor clWindow = static_cast<TColor>(0x80000005);
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);

QColor ColorToQColor(TColor color);

// The colour a layout names ("clWhite", "clBtnFace", ...), or nothing.
std::optional<TColor> ColorFromName(const QString& name);
