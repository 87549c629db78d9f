#pragma once
// The MCI driver "mpg123" (MciDrivers.h): MP3 files decoded by libmpg123,
// each device playing on a thread of its own into a sound output.
#include "platform/mci/Mci.h"

// mciSendCommandA for the MP3 devices.
MCIERROR sendToMp3Devices(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR param);
// mciGetErrorStringA's texts, in the system's code page.
BOOL mp3ErrorText(MCIERROR error, LPSTR buffer, UINT length);
