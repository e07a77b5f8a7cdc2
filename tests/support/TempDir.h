// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace velkor {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    const std::filesystem::path& dir() const { return dir_; }

    // Writes bytes exactly as given; returns the file's path.
    std::string write(const std::string& name, const std::string& bytes) const;
    static std::string read(const std::string& path);

  private:
    std::filesystem::path dir_;
};

}  // namespace velkor
