#include "platform/mci/Mp3Driver.h"

#include "platform/mci/MciDeviceCommands.h"
#include "platform/mci/Mp3Device.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace {

// The open devices. Commands are carried out one at a time. A device's
// playing thread shares it, so it may outlive its entry.
struct DeviceTable {
    std::mutex mutex;
    std::map<MCIDEVICEID, std::shared_ptr<Mp3Device>> devices;
    MCIDEVICEID lastId = 0;

    // At exit: no device left open may post a notice any more.
    ~DeviceTable()
    {
        for (auto& [id, device] : devices)
            device->close();
    }

    // 0 when every identifier is taken.
    MCIDEVICEID freeId() const
    {
        constexpr MCIDEVICEID LastUsable = 0xFFFE;  // ids are 16-bit, 0 means none
        MCIDEVICEID id = lastId;
        for (MCIDEVICEID tried = 0; tried < LastUsable; ++tried) {
            id = id >= LastUsable ? 1 : id + 1;
            if (!devices.contains(id))
                return id;
        }
        return 0;
    }
};

DeviceTable& table()
{
    static DeviceTable instance;
    return instance;
}

MCIERROR openDevice(DeviceTable& devices, DWORD flags, MCI_OPEN_PARMSA* parms)
{
    if (parms == nullptr)
        return MCIERR_NULL_PARAMETER_BLOCK;
    // The one kind of device here is an MP3 file, chosen by its name alone.
    const bool namedType = (flags & MCI_OPEN_TYPE_ID) ||
                           ((flags & MCI_OPEN_TYPE) && parms->lpstrDeviceType != nullptr && *parms->lpstrDeviceType != '\0');
    if (namedType)
        return MCIERR_INVALID_DEVICE_NAME;
    if (!(flags & MCI_OPEN_ELEMENT) || parms->lpstrElementName == nullptr || *parms->lpstrElementName == '\0')
        return MCIERR_FILENAME_REQUIRED;
    const MCIDEVICEID id = devices.freeId();
    if (id == 0)
        return MCIERR_OUT_OF_MEMORY;
    auto device = std::make_shared<Mp3Device>(id);
    if (const MCIERROR error = device->open(parms->lpstrElementName); error != 0)
        return error;
    devices.devices.emplace(id, std::move(device));
    devices.lastId = id;
    parms->wDeviceID = id;
    noticeDone(flags, parms->dwCallback, id);
    return 0;
}

MCIERROR closeDevice(DeviceTable& devices, MCIDEVICEID id, DWORD flags, DWORD_PTR param)
{
    const auto found = devices.devices.find(id);
    if (found == devices.devices.end())
        return MCIERR_INVALID_DEVICE_ID;
    if (param == 0 && (flags & MCI_NOTIFY))
        return MCIERR_NULL_PARAMETER_BLOCK;
    found->second->close();
    devices.devices.erase(found);
    if (param != 0)
        noticeDone(flags, reinterpret_cast<MCI_GENERIC_PARMS*>(param)->dwCallback, id);
    return 0;
}

}  // namespace

MCIERROR sendToMp3Devices(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR param)
{
    DeviceTable& devices = table();
    std::lock_guard lock(devices.mutex);
    const auto commandFlags = static_cast<DWORD>(flags);
    if (message == MCI_OPEN)
        return openDevice(devices, commandFlags, reinterpret_cast<MCI_OPEN_PARMSA*>(param));
    if (message == MCI_CLOSE)
        return closeDevice(devices, device, commandFlags, param);
    const auto found = devices.devices.find(device);
    if (found == devices.devices.end())
        return MCIERR_INVALID_DEVICE_ID;
    return sendToDevice(*found->second, message, commandFlags, param);
}
