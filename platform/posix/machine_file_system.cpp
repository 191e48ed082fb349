#include "platform/machine_file_system.h"

#include "platform/posix/posix_file_operations.h"
#include "platform/posix/posix_file_system.h"

namespace platform {

namespace {

// The file system together with the system calls it works through.
class MachineFileSystem : public PosixFileSystem {
 public:
  MachineFileSystem() : PosixFileSystem(operations_) {}

 private:
  PosixFileOperations operations_;
};

}  // namespace

std::unique_ptr<FileSystem> makeMachineFileSystem() {
  return std::make_unique<MachineFileSystem>();
}

}  // namespace platform
