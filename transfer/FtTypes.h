// The types of the FTDI D2XX library's interface, as the program binds it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velkor {

using FT_STATUS = std::uint32_t;
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using FT_HANDLE = void*;

constexpr FT_STATUS FT_OK = 0;
constexpr FT_STATUS FT_INVALID_HANDLE = 1;
constexpr FT_STATUS FT_DEVICE_NOT_FOUND = 2;
constexpr FT_STATUS FT_DEVICE_NOT_OPENED = 3;
constexpr FT_STATUS FT_IO_ERROR = 4;
constexpr FT_STATUS FT_INVALID_PARAMETER = 6;

constexpr DWORD FT_OPEN_BY_SERIAL_NUMBER = 1;

// One record of the device list: serial number at byte 16, description at byte 32.
struct FT_DEVICE_LIST_INFO_NODE {
    ULONG Flags;
    ULONG Type;
    ULONG ID;
    DWORD LocId;
    char SerialNumber[16];
    char Description[64];
    FT_HANDLE ftHandle;
};
static_assert(offsetof(FT_DEVICE_LIST_INFO_NODE, SerialNumber) == 16, "D2XX record layout");
static_assert(offsetof(FT_DEVICE_LIST_INFO_NODE, Description) == 32, "D2XX record layout");

extern "C" {
using FT_OpenFn = FT_STATUS (*)(int device, FT_HANDLE* handle);
using FT_OpenExFn = FT_STATUS (*)(void* arg, DWORD flags, FT_HANDLE* handle);
using FT_ListDevicesFn = FT_STATUS (*)(void* arg1, void* arg2, DWORD flags);
using FT_CloseFn = FT_STATUS (*)(FT_HANDLE handle);
using FT_ReadFn = FT_STATUS (*)(FT_HANDLE handle, void* buffer, DWORD count, DWORD* transferred);
using FT_WriteFn = FT_STATUS (*)(FT_HANDLE handle, void* buffer, DWORD count, DWORD* transferred);
using FT_ResetDeviceFn = FT_STATUS (*)(FT_HANDLE handle);
using FT_PurgeFn = FT_STATUS (*)(FT_HANDLE handle, ULONG mask);
using FT_SetTimeoutsFn = FT_STATUS (*)(FT_HANDLE handle, ULONG readTimeout, ULONG writeTimeout);
using FT_GetQueueStatusFn = FT_STATUS (*)(FT_HANDLE handle, DWORD* rxBytes);
using FT_GetDeviceInfoListFn = FT_STATUS (*)(FT_DEVICE_LIST_INFO_NODE* records, DWORD* count);
using FT_CreateDeviceInfoListFn = FT_STATUS (*)(DWORD* count);
}

}  // namespace velkor
