// D2XX binding and device list.
#include "transfer/CFTD2XX.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/Prompter.h"

namespace velkor {
namespace {

template <typename Fn>
bool lookUp(const SharedLibrary& lib, const char* name, Fn& entry) {
    entry = reinterpret_cast<Fn>(lib.symbol(name));
    return entry != nullptr;
}

// A fixed-size text field of a record, up to its terminating zero.
std::string fieldText(const char* field, std::size_t size) {
    return std::string(field, strnlen(field, size));
}

}  // namespace

std::string CFTD2XX::libraryName() {
    if (const char* chosen = std::getenv("VELKOR2TR_D2XX"); chosen != nullptr && *chosen != '\0') {
        return chosen;
    }
#if defined(_WIN32)
    return "Ftd2xx.dll";
#elif defined(__APPLE__)
    return "libftd2xx.dylib";
#else
    return "libftd2xx.so";
#endif
}

CFTD2XX::CFTD2XX(Prompter& prompter) : prompter_(prompter) {}

int CFTD2XX::bind() {
    if (!library_.load(libraryName())) {
        return -1;
    }
    // In this order; the first missing one is reported and the later ones stay empty.
    const char* missing = nullptr;
    auto find = [&](const char* name, auto& entry) {
        if (missing == nullptr && !lookUp(library_, name, entry)) {
            missing = name;
        }
    };
    find("FT_Write", write_);
    find("FT_Read", read_);
    find("FT_Open", open_);
    find("FT_OpenEx", openEx_);
    find("FT_ListDevices", listDevices_);
    find("FT_Close", close_);
    find("FT_ResetDevice", resetDevice_);
    find("FT_Purge", purge_);
    find("FT_SetTimeouts", setTimeouts_);
    find("FT_GetQueueStatus", getQueueStatus_);
    find("FT_GetDeviceInfoList", getDeviceInfoList_);
    find("FT_CreateDeviceInfoList", createDeviceInfoList_);
    if (missing != nullptr) {
        prompter_.message(std::string("Error: Can't Find ") + missing);
        return -2;
    }
    bound_ = true;
    return 1;
}

bool CFTD2XX::unbound(const void* entry, const char* name) {
    if (entry != nullptr) {
        return false;
    }
    prompter_.message(std::string(name) + " is not valid!");
    return true;
}

FT_STATUS CFTD2XX::write(const void* bytes, DWORD count, DWORD& written) {
    written = 0;
    if (unbound(reinterpret_cast<const void*>(write_), "FT_Write")) {
        return 1;
    }
    return write_(device_, const_cast<void*>(bytes), count, &written);
}

FT_STATUS CFTD2XX::read(void* bytes, DWORD count, DWORD& received) {
    received = 0;
    if (unbound(reinterpret_cast<const void*>(read_), "FT_Read")) {
        return 1;
    }
    return read_(device_, bytes, count, &received);
}

FT_STATUS CFTD2XX::openEx(void* argument, DWORD flags) {
    if (unbound(reinterpret_cast<const void*>(openEx_), "FT_OpenEx")) {
        return 1;
    }
    return openEx_(argument, flags, &device_);
}

FT_STATUS CFTD2XX::close() {
    if (unbound(reinterpret_cast<const void*>(close_), "FT_Close")) {
        return 1;
    }
    if (device_ == nullptr) {
        return FT_OK;
    }
    // Forget the handle: a closed handle must never reach the library again.
    const FT_STATUS status = close_(device_);
    device_ = nullptr;
    return status;
}

FT_STATUS CFTD2XX::setTimeouts(ULONG readMs, ULONG writeMs) {
    if (unbound(reinterpret_cast<const void*>(setTimeouts_), "FT_SetTimeouts")) {
        return 1;
    }
    return setTimeouts_(device_, readMs, writeMs);
}

FT_STATUS CFTD2XX::createDeviceInfoList(DWORD& count) {
    if (unbound(reinterpret_cast<const void*>(createDeviceInfoList_), "FT_CreateDeviceInfoList")) {
        return 1;
    }
    return createDeviceInfoList_(&count);
}

FT_STATUS CFTD2XX::getDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* records, DWORD& count) {
    if (unbound(reinterpret_cast<const void*>(getDeviceInfoList_), "FT_GetDeviceInfoList")) {
        return 1;
    }
    return getDeviceInfoList_(records, &count);
}

FT_STATUS CFTD2XX::openByIndex(DWORD i) {
    if (i >= deviceCount()) {
        return FT_DEVICE_NOT_OPENED;
    }
    char serial[sizeof devices_[i].SerialNumber + 1] = {};
    std::memcpy(serial, devices_[i].SerialNumber, sizeof devices_[i].SerialNumber);
    return openEx(serial, FT_OPEN_BY_SERIAL_NUMBER);
}

FT_STATUS CFTD2XX::openBySerial(const std::string& serial) {
    std::string argument = serial;  // the library takes a writable, zero-terminated text
    return openEx(argument.data(), FT_OPEN_BY_SERIAL_NUMBER);
}

std::string CFTD2XX::linkName() const {
    return "FTDI D2XX library " + libraryName();
}

FT_STATUS CFTD2XX::refreshDeviceList() {
    close();
    DWORD count = 0;
    const FT_STATUS created = createDeviceInfoList(count);
    if (created != FT_OK) {
        return created;
    }
    // Never an empty vector's null array: a library may refuse it even for no device.
    std::vector<FT_DEVICE_LIST_INFO_NODE> records(std::max<DWORD>(count, 1));
    DWORD filled = count;
    const FT_STATUS status = getDeviceInfoList(records.data(), filled);
    records.resize(std::min(filled, count));
    devices_ = std::move(records);
    return status;
}

FT_STATUS CFTD2XX::filterDeviceList(const std::string& description) {
    const FT_STATUS status = refreshDeviceList();
    if (status != FT_OK) {
        return status;
    }
    std::vector<FT_DEVICE_LIST_INFO_NODE> kept;
    for (const FT_DEVICE_LIST_INFO_NODE& d : devices_) {
        if (fieldText(d.Description, sizeof d.Description) == description) {
            kept.push_back(d);
        }
    }
    devices_ = std::move(kept);
    return FT_OK;
}

const FT_DEVICE_LIST_INFO_NODE* CFTD2XX::deviceRecord(DWORD i) const {
    return i < deviceCount() ? &devices_[i] : nullptr;
}

}  // namespace velkor
