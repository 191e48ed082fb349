#include "tests/platform/win32/window/dialog_answerer.h"

namespace testing_support {

namespace {

// The thread timer's callback has no argument of its own.
DialogAnswerer* current = nullptr;

constexpr UINT tickMs = 30;

}  // namespace

DialogAnswerer::DialogAnswerer(std::vector<Step> steps)
    : steps_(std::move(steps)), timer_(SetTimer(nullptr, 0, tickMs, &DialogAnswerer::tick)) {
  current = this;
}

DialogAnswerer::~DialogAnswerer() {
  KillTimer(nullptr, timer_);
  current = nullptr;
}

void CALLBACK DialogAnswerer::tick(HWND, UINT, UINT_PTR, DWORD) {
  DialogAnswerer* self = current;
  if (self == nullptr || self->finished()) return;
  Step& step = self->steps_[self->next_];
  HWND dialog = FindWindowW(L"#32770", step.caption.c_str());
  if (dialog == nullptr || !IsWindowVisible(dialog)) return;
  ++self->next_;
  step.act(dialog);
}

void pressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace testing_support
