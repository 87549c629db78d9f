#include "tags/Id3v1Tag.h"

#include <cstring>

bool HasId3v1Marker(const char* tag)
{
    return tag[0] == 'T' && tag[1] == 'A' && tag[2] == 'G';
}

std::string_view Id3v1Field(const char* tag, std::size_t offset)
{
    const char* field = tag + offset;
    const void* nul = std::memchr(field, '\0', TagFieldLength);
    return std::string_view(field, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : TagFieldLength);
}
