#pragma once
// The ID3v1 tag: the last 128 bytes of an MP3 file, "TAG" and fixed fields.
#include <cstddef>
#include <string_view>

constexpr std::size_t TagSize = 128;
constexpr std::size_t TagTitleOffset = 3;
constexpr std::size_t TagArtistOffset = 33;
constexpr std::size_t TagAlbumOffset = 63;
constexpr std::size_t TagFieldLength = 30;

// True when the TagSize bytes at tag begin with "TAG" (exact case).
bool HasId3v1Marker(const char* tag);

// The field at offset of the TagSize bytes at tag: its bytes up to its first
// NUL, at most the whole field.
std::string_view Id3v1Field(const char* tag, std::size_t offset);
