#include "platform/machine_file_system.h"

#include "platform/win32/file_operations.h"
#include "platform/win32/file_system.h"

namespace platform {

namespace {

// The file system together with the Win32 calls it works through.
class MachineFileSystem : public win32::FileSystem {
 public:
  MachineFileSystem() : FileSystem(operations_) {}

 private:
  win32::FileOperations operations_;
};

}  // namespace

std::unique_ptr<FileSystem> makeMachineFileSystem() {
  return std::make_unique<MachineFileSystem>();
}

}  // namespace platform
