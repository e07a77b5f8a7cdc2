// A shared library loaded at run time, released when the object goes.
#pragma once

#include <string>

namespace velkor {

class SharedLibrary {
  public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    bool load(const std::string& name);
    bool loaded() const { return handle_ != nullptr; }
    // The address of an exported symbol, or null.
    void* symbol(const char* name) const;

  private:
    void* handle_ = nullptr;
};

}  // namespace velkor
