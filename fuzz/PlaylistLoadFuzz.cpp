// Arbitrary bytes as "List.lst", loaded by the real main window. Either the
// first line is no number and the conversion error leaves the list and the
// index as they were, or the list holds exactly the lines of the file as the
// format reads them; saving it then writes those entries byte for byte, and
// the saved file loads back to the same playlist.
#include "framework/Application.h"
#include "framework/Exception.h"
#include "fuzz/FuzzScratch.h"
#include "framework/SysUtils.h"
#include "forms/TfrmKolviPlayer.h"

#include <QApplication>
#include <cstdint>
#include <memory>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

struct Playlist {
    int index = 0;
    std::vector<std::string> paths;
    bool operator==(const Playlist&) const = default;
};

// What the window must hold after loading, worked out from the bytes alone;
// nullopt when the first line is no number.
std::optional<Playlist> expectedLoad(const std::string& bytes, const Playlist& before)
{
    std::string text;
    for (const char c : bytes.substr(0, bytes.find('\x1A')))
        if (c != '\r')
            text.push_back(c);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const auto end = text.find('\n', start);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, next - start));
        start = next;
    }
    // A file without a first line is treated as no file.
    if (lines.empty())
        return before;
    Playlist loaded;
    try {
        loaded.index = StrToInt(Trim(lines[0].substr(0, lines[0].find('\0'))));
    } catch (const EConvertError&) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < lines.size() && lines[i].front() != '\0'; ++i) {
        std::string path = lines[i].substr(0, lines[i].find('\0'));
        if (!path.empty() && path.back() == '\n')
            path.pop_back();
        loaded.paths.push_back(path);
    }
    return loaded;
}

std::string trimmedControls(const std::string& text)
{
    auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t first = 0, last = text.size();
    while (first < last && isControl(text[first]))
        ++first;
    while (last > first && isControl(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

class Player {
public:
    Player()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qt_ = std::make_unique<QApplication>(argc_, argv_);
        application_ = std::make_unique<TApplication>(scratchFolder() + "/kolviplayer");
        application_->CreateForm(form_);
    }

    TfrmKolviPlayer& form() { return *form_; }

    Playlist held() const
    {
        Playlist playlist{form_->CurrentIndex, {}};
        TListItems* items = form_->lvFileList->Items();
        for (int i = 0; i < items->Count(); ++i) {
            TListItem* item = items->Item(i);
            require(item->SubItems()->Count() == 1);
            const std::string_view path = (*item->SubItems())[0];
            require(item->Caption() == path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1));
            playlist.paths.emplace_back(path);
        }
        return playlist;
    }

    // A known state before each input, so that every run is the same.
    void reset()
    {
        TListItems* items = form_->lvFileList->Items();
        items->Clear();
        TListItem* item = items->Add();
        item->SetCaption("before.mp3");
        item->SubItems()->Add("/music/before.mp3");
        form_->CurrentIndex = 4242;
    }

private:
    int argc_ = 1;
    char name_[16] = "fuzz_playlist";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> qt_;
    std::unique_ptr<TApplication> application_;
    TfrmKolviPlayer* form_ = nullptr;
};

Player& player()
{
    static Player instance;
    return instance;
}

// Loads path into the window; false when it raised the conversion error.
bool load(const std::string& path)
{
    try {
        player().form().LoadPlaylist(path);
        return true;
    } catch (const EConvertError& error) {
        require(error.Message().ends_with("' is not a valid integer value"));
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    player();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string list = scratchFolder() + "/List.lst";
    writeScratchFile(list, bytes);

    player().reset();
    const Playlist before = player().held();
    const std::optional<Playlist> expected = expectedLoad(bytes, before);
    const bool loaded = load(list);
    require(loaded == expected.has_value());
    require(player().held() == (loaded ? *expected : before));
    if (!loaded)
        return 0;

    const std::string saved = scratchFolder() + "/Saved.lst";
    ::unlink(saved.c_str());
    player().form().SavePlaylist(saved);
    if (expected->paths.empty()) {
        // An empty playlist is never written.
        require(::access(saved.c_str(), F_OK) != 0);
        return 0;
    }
    Playlist trimmed{expected->index, {}};
    std::string onDisk = std::to_string(expected->index) + "\r\r\n";
    for (const std::string& path : expected->paths) {
        trimmed.paths.push_back(trimmedControls(path));
        onDisk += trimmed.paths.back() + "\r\r\n";
    }
    require(readScratchFile(saved) == onDisk);

    player().reset();
    require(load(saved));
    require(player().held() == trimmed);
    return 0;
}
