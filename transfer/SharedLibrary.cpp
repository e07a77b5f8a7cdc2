// Run-time loading with dlopen.
#include "transfer/SharedLibrary.h"

#include <dlfcn.h>

namespace velkor {

SharedLibrary::~SharedLibrary() {
    if (handle_ != nullptr) {
        ::dlclose(handle_);
    }
}

bool SharedLibrary::load(const std::string& name) {
    if (handle_ != nullptr) {
        ::dlclose(handle_);
    }
    handle_ = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    return handle_ != nullptr;
}

void* SharedLibrary::symbol(const char* name) const {
    return handle_ == nullptr ? nullptr : ::dlsym(handle_, name);
}

}  // namespace velkor
