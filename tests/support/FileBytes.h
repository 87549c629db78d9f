#pragma once
// Whole files as exact byte strings, for tests that check bytes on disk.
#include <string>

// Throws std::runtime_error when the file cannot be written.
void writeFileBytes(const std::string& path, const std::string& bytes);
// Throws std::runtime_error when the file cannot be read.
std::string readFileBytes(const std::string& path);
