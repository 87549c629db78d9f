// The texts of the MCI error numbers this layer answers, in Korean like the
// rest of the program. They are written here in UTF-8 and handed out in the
// locale's code page, as every 8-bit text of the program is.
#include "platform/files/CodePage.h"
#include "platform/mci/Mp3Driver.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace {

struct ErrorText {
    MCIERROR error;
    std::string_view utf8;
};

constexpr ErrorText Texts[] = {
    {MCIERR_INVALID_DEVICE_ID, "이 번호로 열린 미디어 장치가 없습니다."},
    {MCIERR_UNRECOGNIZED_COMMAND, "미디어 장치가 알지 못하는 명령입니다."},
    {MCIERR_HARDWARE, "소리 출력 장치가 작동을 멈추었습니다."},
    {MCIERR_INVALID_DEVICE_NAME, "그런 미디어 장치는 없습니다. MP3 파일만 열 수 있습니다."},
    {MCIERR_OUT_OF_MEMORY, "메모리가 부족하여 미디어 장치를 열 수 없습니다."},
    {MCIERR_CANNOT_LOAD_DRIVER, "MP3 디코더를 시작할 수 없습니다."},
    {MCIERR_MISSING_PARAMETER, "명령에 필요한 값이 주어지지 않았습니다."},
    {MCIERR_UNSUPPORTED_FUNCTION, "미디어 장치가 이 명령을 수행할 수 없습니다."},
    {MCIERR_FILE_NOT_FOUND, "파일을 찾을 수 없습니다."},
    {MCIERR_DEVICE_NOT_READY, "미디어 장치가 준비되지 않았습니다."},
    {MCIERR_OUTOFRANGE, "이 파일에서 쓸 수 있는 범위를 벗어난 값입니다."},
    {MCIERR_FLAGS_NOT_COMPATIBLE, "함께 쓸 수 없는 명령 옵션입니다."},
    {MCIERR_INVALID_FILE, "MPEG 오디오 파일이 아니거나, 너무 손상되어 재생할 수 없는 파일입니다."},
    {MCIERR_NULL_PARAMETER_BLOCK, "명령에 필요한 매개변수가 없습니다."},
    {MCIERR_NONAPPLICABLE_FUNCTION, "장치의 지금 상태에서는 이 명령을 수행할 수 없습니다."},
    {MCIERR_FILENAME_REQUIRED, "파일 이름이 주어지지 않았습니다."},
    {MCIERR_WAVE_OUTPUTSUNSUITABLE,
     "소리를 낼 출력 장치가 없습니다. 사운드 서버(PulseAudio 또는 PipeWire)도, ALSA 사운드 카드도 열 수 "
     "없었습니다."},
    {MCIERR_FILE_READ, "파일을 읽을 수 없습니다. 읽기 권한이 있는지 확인하십시오."},
};

// Bytes of the character at `at` of UTF-8 text: its lead byte and the
// continuation bytes after it.
std::size_t utf8CharacterLength(std::string_view text, std::size_t at)
{
    std::size_t next = at + 1;
    while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
        ++next;
    return next - at;
}

}  // namespace

BOOL mp3ErrorText(MCIERROR error, LPSTR buffer, UINT length)
{
    const auto found = std::find_if(std::begin(Texts), std::end(Texts), [error](const ErrorText& e) { return e.error == error; });
    if (found == std::end(Texts) || buffer == nullptr || length == 0)
        return FALSE_;
    const std::string text = Utf8ToAnsi(found->utf8);
    // Cut to the buffer, never inside a character. A locale that cannot
    // write Hangul (C, POSIX) keeps the text in UTF-8, whose characters it
    // does not know.
    const bool keptUtf8 = text == found->utf8;
    std::size_t count = 0;
    while (count < text.size()) {
        const std::size_t next = count + (keptUtf8 ? utf8CharacterLength(text, count) : characterLength(text, count));
        if (next > length - 1)
            break;
        count = next;
    }
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return TRUE_;
}
