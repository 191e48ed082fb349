#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/setting_keys.h"
#include "platform/command_line.h"
#include "platform/config_candidates.h"
#include "platform/machine_clock.h"
#include "platform/machine_file_system.h"
#include "platform/machine_http.h"
#include "platform/machine_keyring.h"
#include "platform/path.h"
#include "text/cp1252.h"
#include "tools/vcftool/vcftool_command.h"

int main(int argc, char** argv) {
  // Paths and the filter arrive as UTF-8; the program works in Windows-1252.
  std::vector<std::string> utf8 = platform::utf8Arguments(argc, argv);
  std::vector<std::string> converted;
  for (const std::string& arg : utf8) {
    converted.push_back(text::cp1252::fromUtf8(arg).value_or(arg));
  }
  std::vector<std::string_view> args;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    // The filter (third argument of dump) is converted inside the command.
    bool isFilter = i == 2 && utf8[0] == "dump";
    args.emplace_back(isFilter ? utf8[i] : converted[i]);
  }
  auto files = platform::makeMachineFileSystem();
  std::unique_ptr<platform::Http> http;
  std::unique_ptr<platform::Clock> clock;
  std::unique_ptr<platform::Keyring> keyring;
  auto makeSyncSetup = [&] {
    http = platform::makeMachineHttp();
    keyring = platform::makeMachineKeyring();
    clock = platform::makeMachineClock();
    // The configuration the program uses, where it exists; none is made.
    platform::ConfigCandidates candidates =
        platform::configCandidatesOfThisProcess(app::configFileName);
    std::string config;
    for (const std::string& candidate : {candidates.temporaryFolderFile, candidates.rootFile}) {
      if (config.empty() && files->isFile(candidate)) config = candidate;
    }
    const char* password = std::getenv("ZUDEDO_CARDDAV_PASSWORD");
    std::string backups = platform::backupFolderOfThisProcess(app::stateFolderName);
    return vcftool::SyncSetup{
        *http,         *clock,
        config,        password ? std::optional<std::string>(password) : std::nullopt,
        keyring.get(), std::string(platform::path::folderOf(backups))};
  };
  return vcftool::run(args, *files, std::cout, std::cerr, makeSyncSetup);
}
