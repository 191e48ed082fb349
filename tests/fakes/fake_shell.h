#pragma once

#include <string>
#include <vector>

#include "platform/shell.h"

namespace testing_support {

class FakeShell : public platform::Shell {
 public:
  void openUrl(std::string_view url) override { urls.emplace_back(url); }
  void openFile(std::string_view path) override { files.emplace_back(path); }

  std::vector<std::string> urls;
  std::vector<std::string> files;
};

}  // namespace testing_support
