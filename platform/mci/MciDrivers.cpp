#include "platform/mci/MciDrivers.h"

#include "platform/mci/Mp3Driver.h"

MciDrivers& mciDrivers()
{
    static constexpr MciDriver Mp3{&sendToMp3Devices, &mp3ErrorText};
    static MciDrivers instance(
        {
            {"mpg123", [](std::string_view options) { return options.empty() ? &Mp3 : nullptr; }},
        },
        "mpg123");
    return instance;
}

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR param)
{
    const MciDriver* driver = mciDrivers().open();
    return driver == nullptr ? MCIERR_CANNOT_LOAD_DRIVER : driver->sendCommand(device, message, flags, param);
}

BOOL mciGetErrorStringA(MCIERROR error, LPSTR buffer, UINT length)
{
    const MciDriver* driver = mciDrivers().open();
    return driver == nullptr ? FALSE_ : driver->errorText(error, buffer, length);
}
