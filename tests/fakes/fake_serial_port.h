#pragma once

#include <string>
#include <vector>

#include "platform/serial_port.h"

namespace testing_support {

// A serial port whose telephone answers from a script.
class FakeSerialPort : public platform::SerialPort {
 public:
  bool open(std::string_view portName) override {
    opened.emplace_back(portName);
    isOpen_ = openSucceeds;
    return isOpen_;
  }
  [[nodiscard]] bool isOpen() const override { return isOpen_; }
  bool write(std::string_view bytes) override {
    written.emplace_back(bytes);
    if (bytes == "AT\r\n") waiting += answerToProbe;
    return writeSucceeds;
  }
  [[nodiscard]] std::size_t bytesWaiting() override { return lineError ? 0 : waiting.size(); }
  std::string read(std::size_t count) override {
    std::string taken = waiting.substr(0, count);
    waiting.erase(0, taken.size());
    return taken;
  }
  void close() override {
    ++closes;
    isOpen_ = false;
  }

  bool openSucceeds = true;
  bool writeSucceeds = true;
  bool lineError = false;
  std::string answerToProbe = "OK\r\n";
  std::string waiting;
  std::vector<std::string> opened;
  std::vector<std::string> written;
  int closes = 0;

 private:
  bool isOpen_ = false;
};

}  // namespace testing_support
