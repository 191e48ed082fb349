#include "tests/fakes/pty_telephone.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace testing_support {

using namespace std::chrono_literals;

PtyTelephone::PtyTelephone(Answer answer) : answer_(answer) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ == -1 || grantpt(master_) == -1 || unlockpt(master_) == -1) {
    ADD_FAILURE() << "no pseudo-terminal";
    return;
  }
  slave_ = ptsname(master_);
  // The telephone's thread must never block in a write, or it could not be
  // stopped while the program takes no bytes.
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyTelephone::~PtyTelephone() {
  stop();
  hangUp();
}

void PtyTelephone::start() {
  thread_ = std::thread([this] { run(); });
}

void PtyTelephone::stop() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
}

void PtyTelephone::hangUp() {
  if (master_ != -1) close(master_);
  master_ = -1;
}

void PtyTelephone::send(std::string_view bytes) {
  auto deadline = std::chrono::steady_clock::now() + 2s;
  while (!bytes.empty() && std::chrono::steady_clock::now() < deadline) {
    ssize_t wrote = ::write(master_, bytes.data(), bytes.size());
    if (wrote > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(wrote));
    } else if (wrote == -1 && errno == EAGAIN) {
      pollfd watch{master_, POLLOUT, 0};
      poll(&watch, 1, 10);
    } else {
      break;
    }
  }
  if (!bytes.empty()) ADD_FAILURE() << "the telephone could not answer";
}

void PtyTelephone::flood(std::string_view line) {
  {
    std::lock_guard lock(mutex_);
    // Whole lines of about 4 KB, so a write rarely ends inside a line.
    floodBlock_.clear();
    while (floodBlock_.size() < 4096) floodBlock_ += line;
    floodOffset_ = 0;
  }
  flooding_ = true;
}

void PtyTelephone::stopFlood() { flooding_ = false; }

void PtyTelephone::floodOnce() {
  std::lock_guard lock(mutex_);
  std::string_view rest = std::string_view(floodBlock_).substr(floodOffset_);
  ssize_t wrote = ::write(master_, rest.data(), rest.size());
  if (wrote <= 0) return;
  flooded_ += static_cast<std::size_t>(wrote);
  floodOffset_ = (floodOffset_ + static_cast<std::size_t>(wrote)) % floodBlock_.size();
}

std::string PtyTelephone::received() const {
  std::lock_guard lock(mutex_);
  return received_;
}

std::string PtyTelephone::receivedEndingWith(std::string_view suffix) const {
  for (auto waited = 0ms; waited < 2s; waited += 10ms) {
    if (received().ends_with(suffix)) break;
    std::this_thread::sleep_for(10ms);
  }
  return received();
}

std::string PtyTelephone::receivedAtLeast(std::size_t count) const {
  for (auto waited = 0ms; waited < 2s; waited += 10ms) {
    if (received().size() >= count) break;
    std::this_thread::sleep_for(10ms);
  }
  return received();
}

void PtyTelephone::run() {
  std::size_t answered = 0;
  while (!stopping_) {
    bool flooding = flooding_;
    pollfd watch{master_, static_cast<short>(flooding ? POLLIN | POLLOUT : POLLIN), 0};
    bool ready = poll(&watch, 1, 10) > 0;
    bool writable = ready && flooding && (watch.revents & POLLOUT) != 0;
    if (writable) floodOnce();
    if (!ready || (watch.revents & POLLIN) == 0) {
      // POLLHUP while the program has not opened the line (or has closed it).
      if (!writable) std::this_thread::sleep_for(1ms);
      continue;
    }
    char buffer[256];
    ssize_t got = ::read(master_, buffer, sizeof buffer);
    if (got <= 0) continue;
    std::string text;
    {
      std::lock_guard lock(mutex_);
      received_.append(buffer, static_cast<std::size_t>(got));
      text = received_;
    }
    for (std::size_t at = text.find("AT\r\n", answered); at != std::string::npos;
         at = text.find("AT\r\n", answered)) {
      answered = at + 4;
      respond();
    }
  }
}

void PtyTelephone::respond() {
  switch (answer_) {
    case Answer::ok:
      send("OK\r\n");
      break;
    case Answer::echoThenOk:
      send("AT\r\r\nOK\r\n");
      break;
    case Answer::after300Milliseconds:
      std::this_thread::sleep_for(300ms);
      send("OK\r\n");
      break;
    case Answer::never:
      break;
  }
}

}  // namespace testing_support
