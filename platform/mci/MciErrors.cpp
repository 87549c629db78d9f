// The texts of the MCI error numbers this layer answers.
#include "Mci.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

struct ErrorText {
    MCIERROR error;
    std::string_view text;
};

constexpr ErrorText Texts[] = {
    {MCIERR_INVALID_DEVICE_ID, "No media device with this identifier is open."},
    {MCIERR_UNRECOGNIZED_COMMAND, "The media device does not know this command."},
    {MCIERR_HARDWARE, "The sound output failed."},
    {MCIERR_INVALID_DEVICE_NAME, "There is no such media device; only MP3 files can be opened."},
    {MCIERR_OUT_OF_MEMORY, "There is not enough memory to open the media device."},
    {MCIERR_CANNOT_LOAD_DRIVER, "The MP3 decoder could not be started."},
    {MCIERR_MISSING_PARAMETER, "The command needs a parameter that was not given."},
    {MCIERR_UNSUPPORTED_FUNCTION, "The media device cannot carry out this command."},
    {MCIERR_FILE_NOT_FOUND, "The file was not found."},
    {MCIERR_DEVICE_NOT_READY, "The media device is not ready."},
    {MCIERR_OUTOFRANGE, "The value is out of range for this file."},
    {MCIERR_FLAGS_NOT_COMPATIBLE, "The command's flags cannot be used together."},
    {MCIERR_INVALID_FILE, "The file is not MPEG audio, or it is too damaged to play."},
    {MCIERR_NULL_PARAMETER_BLOCK, "The command needs a parameter record."},
    {MCIERR_NONAPPLICABLE_FUNCTION, "The command cannot be carried out in the device's present mode."},
    {MCIERR_FILENAME_REQUIRED, "No file name was given."},
    {MCIERR_WAVE_OUTPUTSUNSUITABLE,
     "No sound output is available: neither a sound server (PulseAudio or PipeWire) nor an ALSA sound card "
     "could be opened for this file."},
    {MCIERR_FILE_READ, "The file cannot be read; check that you have permission to read it."},
};

}  // namespace

BOOL mciGetErrorStringA(MCIERROR error, LPSTR buffer, UINT length)
{
    const auto found = std::find_if(std::begin(Texts), std::end(Texts), [error](const ErrorText& e) { return e.error == error; });
    if (found == std::end(Texts) || buffer == nullptr || length == 0)
        return FALSE_;
    const std::size_t count = std::min<std::size_t>(found->text.size(), length - 1);
    std::memcpy(buffer, found->text.data(), count);
    buffer[count] = '\0';
    return TRUE_;
}
