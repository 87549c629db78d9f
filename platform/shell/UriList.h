#pragma once
// The local files named by a text/uri-list, as exact bytes.
#include <string>
#include <string_view>
#include <vector>

// Every file URI on this machine (no host, "localhost" or this host's name),
// its path percent-decoded byte for byte with no change of character set.
// Comment lines, other schemes, other hosts and names holding a NUL byte
// (which no file name can) are left out.
std::vector<std::string> localFilesOfUriList(std::string_view uriList);
