// The D2XX entry points of the simulated instrument, with the library's types.
#include <cstring>

#include "sim/SimInstrument.h"

using velkor::DWORD;
using velkor::FT_DEVICE_LIST_INFO_NODE;
using velkor::FT_HANDLE;
using velkor::FT_STATUS;
using velkor::ULONG;
using velkor::sim::instrument;

#define SIM_EXPORT extern "C" __attribute__((visibility("default")))

SIM_EXPORT FT_STATUS FT_Open(int, FT_HANDLE*) {
    return velkor::FT_DEVICE_NOT_OPENED;
}

SIM_EXPORT FT_STATUS FT_OpenEx(void* arg, DWORD flags, FT_HANDLE* handle) {
    if (flags != velkor::FT_OPEN_BY_SERIAL_NUMBER || arg == nullptr || handle == nullptr) {
        return velkor::FT_DEVICE_NOT_FOUND;
    }
    return instrument().open(static_cast<const char*>(arg), *handle);
}

SIM_EXPORT FT_STATUS FT_ListDevices(void*, void*, DWORD) {
    return velkor::FT_OK;
}

SIM_EXPORT FT_STATUS FT_Close(FT_HANDLE handle) {
    return instrument().close(handle);
}

SIM_EXPORT FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, DWORD count, DWORD* transferred) {
    DWORD got = 0;
    const FT_STATUS s = instrument().read(handle, static_cast<std::uint8_t*>(buffer), count, got);
    if (transferred != nullptr) {
        *transferred = got;
    }
    return s;
}

SIM_EXPORT FT_STATUS FT_Write(FT_HANDLE handle, void* buffer, DWORD count, DWORD* transferred) {
    DWORD done = 0;
    const FT_STATUS s =
        instrument().write(handle, static_cast<const std::uint8_t*>(buffer), count, done);
    if (transferred != nullptr) {
        *transferred = done;
    }
    return s;
}

SIM_EXPORT FT_STATUS FT_ResetDevice(FT_HANDLE) {
    return velkor::FT_OK;
}

SIM_EXPORT FT_STATUS FT_Purge(FT_HANDLE, ULONG) {
    return velkor::FT_OK;
}

SIM_EXPORT FT_STATUS FT_SetTimeouts(FT_HANDLE handle, ULONG readMs, ULONG) {
    return instrument().setTimeouts(handle, readMs);
}

SIM_EXPORT FT_STATUS FT_GetQueueStatus(FT_HANDLE, DWORD* rx) {
    if (rx != nullptr) {
        *rx = 0;
    }
    return velkor::FT_OK;
}

SIM_EXPORT FT_STATUS FT_GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* records, DWORD* count) {
    const auto& devices = instrument().devices();
    if (count == nullptr || (records == nullptr && instrument().refusesNullList())) {
        return velkor::FT_INVALID_PARAMETER;
    }
    const DWORD n = std::min<DWORD>(*count, static_cast<DWORD>(devices.size()));
    for (DWORD i = 0; i < n && records != nullptr; ++i) {
        FT_DEVICE_LIST_INFO_NODE& r = records[i];
        std::memset(&r, 0, sizeof r);
        r.Type = 5;
        r.ID = 0x04036001;
        r.LocId = 0x10 + i;
        std::strncpy(r.SerialNumber, devices[i].serial.c_str(), sizeof r.SerialNumber - 1);
        std::strncpy(r.Description, devices[i].description.c_str(), sizeof r.Description - 1);
    }
    *count = n;
    return velkor::FT_OK;
}

#ifndef VELKOR_SIM_WITHOUT_CREATE_LIST
SIM_EXPORT FT_STATUS FT_CreateDeviceInfoList(DWORD* count) {
    if (count == nullptr) {
        return velkor::FT_INVALID_HANDLE;
    }
    *count = static_cast<DWORD>(instrument().devices().size());
    return velkor::FT_OK;
}
#endif

// For tests and the demo: read the environment again, and what the device saw.
SIM_EXPORT void VelkorSim_Configure() {
    instrument().configure();
}
SIM_EXPORT int VelkorSim_Opens() {
    return instrument().opens();
}
SIM_EXPORT int VelkorSim_Closes() {
    return instrument().closes();
}
SIM_EXPORT int VelkorSim_IsOpen() {
    return instrument().isOpen() ? 1 : 0;
}
SIM_EXPORT const char* VelkorSim_OpenedSerial() {
    return instrument().openedSerial().c_str();
}
