#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// Answers the modal dialogs of this thread from a script, so that no test
// waits for a person: a thread timer, which every modal loop dispatches,
// looks for the next dialog by its caption and hands it to the step's action
// (which typically posts the answer). Steps run once each, in order.
class DialogAnswerer {
 public:
  struct Step {
    std::wstring caption;
    std::function<void(HWND dialog)> act;
  };

  explicit DialogAnswerer(std::vector<Step> steps);
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  [[nodiscard]] bool finished() const { return next_ == steps_.size(); }

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  UINT_PTR timer_;
};

// Presses a button of a dialog as a click would.
void pressButton(HWND dialog, int id);

}  // namespace testing_support
