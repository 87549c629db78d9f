#pragma once
// The driver behind the MCI entry points of Mci.h, chosen by name
// (platform/BackEnds.h):
//   mpg123   MP3 files decoded by libmpg123 (Mp3Driver.h)
// The choice is "mpg123" until changed. With no driver open, every command
// answers MCIERR_CANNOT_LOAD_DRIVER.
#include "platform/BackEnds.h"
#include "platform/mci/Mci.h"

// A driver's two entry points, as Mci.h describes them.
struct MciDriver {
    MCIERROR (*sendCommand)(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR param);
    BOOL (*errorText)(MCIERROR error, LPSTR buffer, UINT length);
};

// Drivers live as long as the program (or the test that chose them).
using MciDrivers = BackEnds<const MciDriver*>;

MciDrivers& mciDrivers();
