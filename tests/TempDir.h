#pragma once
// A fresh directory for one test, removed with everything in it afterwards.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace wf::testing {

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("wayfarer-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Full path of a file in the directory, as the program's own string type.
  std::string File(std::string_view name) const { return (path_ / name).string(); }

  std::string Write(std::string_view name, std::string_view contents) const {
    std::string file = File(name);
    std::ofstream(file, std::ios::binary).write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return file;
  }

  std::string Read(std::string_view name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path path_;
};

}  // namespace wf::testing
