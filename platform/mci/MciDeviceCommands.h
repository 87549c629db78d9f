#pragma once
// The commands sent to an open device, every one but MCI_CLOSE.
#include "platform/mci/Mci.h"

class Mp3Device;

MCIERROR sendToDevice(Mp3Device& device, UINT message, DWORD flags, DWORD_PTR param);


// Posts MCI_NOTIFY_SUCCESSFUL for a command that finished at once, when it asked for a notice.
void noticeDone(DWORD flags, DWORD_PTR callback, MCIDEVICEID device);
