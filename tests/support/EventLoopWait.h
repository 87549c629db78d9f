#pragma once
// Bounded waits that keep the event loop running, so that what a test waits
// for (a notice, a timer, a window) can happen meanwhile.
#include <chrono>
#include <functional>

// Runs the event loop until condition holds or limit has passed; the answer is condition's.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(30));
// Runs the event loop for a while.
void pumpFor(std::chrono::milliseconds duration);
