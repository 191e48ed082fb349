#include "tests/fakes/fake_dialogs.h"

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

std::optional<std::string> FakeDialogs::askForText(const platform::DialogDefinition& dialog,
                                                   std::string_view text) {
  textDialogTitles.emplace_back(dialog.title);
  textDialogs.emplace_back(text);
  return next(textAnswers, std::optional<std::string>());
}

}  // namespace testing_support
