#include "tests/fakes/fake_dialogs.h"

#include <algorithm>
#include <utility>

namespace testing_support {

namespace {
template <typename T>
T next(std::deque<T>& queue, T fallback) {
  if (queue.empty()) return fallback;
  T value = queue.front();
  queue.pop_front();
  return value;
}
}  // namespace

platform::Answer FakeDialogs::messageBox(std::string_view text, std::string_view caption,
                                         platform::MessageButtons buttons,
                                         platform::MessageIcon icon,
                                         platform::Answer defaultButton) {
  messages.push_back({std::string(text), std::string(caption), buttons, icon, defaultButton});
  if (whileOpen) std::exchange(whileOpen, nullptr)();
  auto fallback =
      buttons == platform::MessageButtons::ok ? platform::Answer::ok : platform::Answer::yes;
  return next(answers, fallback);
}

std::optional<std::string> FakeDialogs::openFile(const platform::FileDialogRequest& request) {
  openRequests.push_back(request);
  return next(fileAnswers, std::optional<std::string>());
}

std::optional<std::string> FakeDialogs::saveFile(const platform::FileDialogRequest& request) {
  saveRequests.push_back(request);
  return next(fileAnswers, std::optional<std::string>());
}

std::optional<platform::DialogResult> FakeDialogs::askForTexts(
    const platform::DialogDefinition& dialog, std::span<const platform::DialogField> fields) {
  textDialogTitles.emplace_back(dialog.title);
  textDialogs.emplace_back(platform::textOf(fields, platform::firstFieldOf(dialog)));
  dialogFields.emplace_back(fields.begin(), fields.end());

  std::optional<platform::DialogResult> answer;
  if (!dialogAnswers.empty()) {
    answer = next(dialogAnswers, answer);
  } else if (std::optional<std::string> text = next(textAnswers, std::optional<std::string>())) {
    answer = {platform::defaultButtonOf(dialog), {{platform::firstFieldOf(dialog), *text}}};
  }
  if (!answer) return std::nullopt;

  // As a dialog hands them back: every edit field, in definition order.
  platform::DialogResult result{answer->button, {}};
  for (const platform::ControlDefinition& control : dialog.controls) {
    if (!platform::isLineEdit(control.kind)) continue;
    auto typed = std::ranges::find(answer->fields, control.id, &platform::DialogField::id);
    result.fields.push_back({control.id, typed != answer->fields.end()
                                             ? typed->text
                                             : std::string(platform::textOf(fields, control.id))});
  }
  return result;
}

}  // namespace testing_support
