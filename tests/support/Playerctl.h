#pragma once
// The desktop's media controls as a person's scripts drive them: the real
// playerctl, asked about the player on the session bus in use.
#include <string>
#include <vector>

// playerctl's answer for the player "kolviplayer", without the final line
// feed; "(failed)" when it could not be run.
std::string playerctl(const std::vector<std::string>& arguments);
