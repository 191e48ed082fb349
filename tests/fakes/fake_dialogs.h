#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace testing_support {

struct ShownMessage {
  std::string text;
  std::string caption;
  platform::MessageButtons buttons;
  platform::MessageIcon icon;
  platform::Answer defaultButton = platform::Answer::yes;
  bool operator==(const ShownMessage&) const = default;
};

// Dialogs that answer from scripts and record what they were asked.
class FakeDialogs : public platform::Dialogs {
 public:
  platform::Answer messageBox(std::string_view text, std::string_view caption,
                              platform::MessageButtons buttons, platform::MessageIcon icon,
                              platform::Answer defaultButton) override;
  std::optional<std::string> openFile(const platform::FileDialogRequest& request) override;
  std::optional<std::string> saveFile(const platform::FileDialogRequest& request) override;
  std::optional<std::string> askForText(const platform::DialogDefinition& dialog,
                                        std::string_view text) override;

  std::vector<ShownMessage> messages;
  std::deque<platform::Answer> answers;  // when empty: OK or Yes
  // Runs while a message box is open, as events do that arrive meanwhile.
  std::function<void()> whileOpen;
  std::vector<platform::FileDialogRequest> openRequests;
  std::vector<platform::FileDialogRequest> saveRequests;
  std::deque<std::optional<std::string>> fileAnswers;  // when empty: cancelled
  // The dialogs asked for a text: their titles, and the texts shown.
  std::vector<std::string> textDialogTitles;
  std::vector<std::string> textDialogs;
  std::deque<std::optional<std::string>> textAnswers;  // when empty: closed
};

}  // namespace testing_support
