#include "PlayerWindows.h"

#include "FileBytes.h"
#include "Mp3Fixture.h"

#include <stdexcept>

PlayerWindows::PlayerWindows()
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder for the player");
    application_ = std::make_unique<TApplication>(folder() + "kolviplayer");
    application_->CreateForm(frmKolviPlayer);
    application_->CreateForm(frmLyrics);
}

PlayerWindows::~PlayerWindows()
{
    application_.reset();
    frmKolviPlayer = nullptr;
    frmLyrics = nullptr;
}

namespace {

std::string Field(const std::string& text)
{
    if (text.size() > 30)
        throw std::invalid_argument("a tag field holds 30 bytes");
    return text + std::string(30 - text.size(), ' ');
}

const std::string& ToneBytes()
{
    static const std::string bytes = [] {
        QTemporaryDir dir;
        const std::string path = dir.filePath("tone.mp3").toStdString();
        // A minute: no track ends, and moves playback on, under a test
        // that waits for pages on a busy machine.
        Mp3Spec tone;
        tone.seconds = 60.0;
        tone.sampleRate = 22050;
        tone.channels = 1;
        tone.bitrateKbps = 32;
        makeMp3(path, tone);
        return readFileBytes(path);
    }();
    return bytes;
}

}  // namespace

void writeMp3WithTag(const std::string& path, const std::string& title, const std::string& artist)
{
    const std::string tag = "TAG" + Field(title) + Field(artist) + std::string(30, 'A') + "2002" +
                            std::string(30, 'C') + '\x0C';
    writeFileBytes(path, ToneBytes() + tag);
}

void writeMp3WithoutTag(const std::string& path)
{
    writeFileBytes(path, ToneBytes());
}
