#include "platform/shell/OpenedFiles.h"

#include "platform/files/CodePage.h"
#include "platform/shell/UriList.h"

#include <sys/stat.h>

namespace {

bool isTrack(const std::string& path)
{
    struct stat facts {};
    return path.find_first_of("\r\n") == std::string::npos &&
           AnsiLowerCase(path).find(".mp3") != std::string::npos && ::stat(path.c_str(), &facts) == 0 &&
           S_ISREG(facts.st_mode);
}

}  // namespace

OpenedFiles tracksOfUris(const std::vector<std::string>& uris)
{
    OpenedFiles opened;
    for (std::size_t index = 0; index < uris.size(); ++index) {
        const std::string& uri = uris[index];
        // A line break inside one URI would make it two lines of a URI list.
        const std::vector<std::string> paths = index < OpenedFilesLimit && uri.find_first_of("\r\n") == std::string::npos
                                                   ? localFilesOfUriList(uri)
                                                   : std::vector<std::string>{};
        if (paths.size() == 1 && isTrack(paths.front()))
            opened.tracks.push_back(paths.front());
        else
            ++opened.leftOut;
    }
    return opened;
}
