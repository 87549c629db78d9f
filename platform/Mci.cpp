#include "Mci.h"

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR, DWORD_PTR)
{
    if (message == MCI_OPEN)
        return MCIERR_CANNOT_LOAD_DRIVER;
    return device == 0 ? MCIERR_INVALID_DEVICE_ID : MCIERR_UNRECOGNIZED_COMMAND;
}
