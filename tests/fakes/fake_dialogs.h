#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <span>
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
  std::optional<platform::DialogResult> askForTexts(
      const platform::DialogDefinition& dialog,
      std::span<const platform::DialogField> fields) override;

  std::vector<ShownMessage> messages;
  std::deque<platform::Answer> answers;  // when empty: OK or Yes
  // Runs while a message box is open, as events do that arrive meanwhile.
  std::function<void()> whileOpen;
  std::vector<platform::FileDialogRequest> openRequests;
  std::vector<platform::FileDialogRequest> saveRequests;
  std::deque<std::optional<std::string>> fileAnswers;  // when empty: cancelled
  // The dialogs asked for texts: their titles, the text shown in each
  // one's first edit field, and every field it was given.
  std::vector<std::string> textDialogTitles;
  std::vector<std::string> textDialogs;
  std::vector<std::vector<platform::DialogField>> dialogFields;
  // The user's answers, a dialog at a time: the button pressed and the
  // fields typed into, by id; the dialog's other fields come back as they
  // were given. Nothing: the dialog was closed. When empty: textAnswers.
  std::deque<std::optional<platform::DialogResult>> dialogAnswers;
  // Shorthand answers: the text typed into the first edit field before the
  // default button was pressed. When empty: closed.
  std::deque<std::optional<std::string>> textAnswers;
};

}  // namespace testing_support
