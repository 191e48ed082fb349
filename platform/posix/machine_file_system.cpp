#include "platform/machine_file_system.h"

#include "platform/posix/file_operations.h"
#include "platform/posix/file_system.h"

namespace platform {

namespace {

// The file system together with the system calls it works through.
class MachineFileSystem : public posix::FileSystem {
 public:
  MachineFileSystem() : posix::FileSystem(operations_) {}

 private:
  posix::FileOperations operations_;
};

}  // namespace

std::unique_ptr<FileSystem> makeMachineFileSystem() {
  return std::make_unique<MachineFileSystem>();
}

}  // namespace platform
