#include "framework/Graphics.h"

#include <QApplication>
#include <QPalette>
#include <array>
#include <utility>

QColor ColorToQColor(TColor color)
{
    if (color == clWindowText)
        return QApplication::palette().color(QPalette::Active, QPalette::WindowText);
    if (color == clBtnFace)
        return QApplication::palette().color(QPalette::Active, QPalette::Window);
    if (color == clWindow)
        return QApplication::palette().color(QPalette::Active, QPalette::Base);
    const auto value = static_cast<std::uint32_t>(color);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

std::optional<TColor> ColorFromName(const QString& name)
{
    static const std::array<std::pair<const char*, TColor>, 5> named{{
        {"clWhite", clWhite},
        {"clBlack", clBlack},
        {"clWindowText", clWindowText},
        {"clWindow", clWindow},
        {"clBtnFace", clBtnFace},
    }};
    for (const auto& [colorName, color] : named)
        if (name == QLatin1String(colorName))
            return color;
    return std::nullopt;
}
