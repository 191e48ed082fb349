#include "platform/machine_file_system.h"

#include "platform/win32/win32_file_operations.h"
#include "platform/win32/win32_file_system.h"

namespace platform {

namespace {

// The file system together with the Win32 calls it works through.
class MachineFileSystem : public win32::Win32FileSystem {
 public:
  MachineFileSystem() : Win32FileSystem(operations_) {}

 private:
  win32::Win32FileOperations operations_;
};

}  // namespace

std::unique_ptr<FileSystem> makeMachineFileSystem() {
  return std::make_unique<MachineFileSystem>();
}

}  // namespace platform
