#pragma once
// The one error the core reports: a file that cannot be opened.

#include <stdexcept>
#include <string>

namespace tonvika {

class FileError : public std::runtime_error {
 public:
  FileError(std::string path, std::string reason)
      : std::runtime_error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}
  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

}  // namespace tonvika
