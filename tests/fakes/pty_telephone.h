#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace testing_support {

// How the telephone at the other end of the line answers "AT".
enum class Answer { ok, echoThenOk, after300Milliseconds, never };

// A pseudo-terminal whose master end plays the telephone on a thread of its
// own (from start() on): it collects every byte the program sends and
// answers each "AT" line as told.
class PtyTelephone {
 public:
  explicit PtyTelephone(Answer answer = Answer::ok);
  ~PtyTelephone();
  PtyTelephone(const PtyTelephone&) = delete;
  PtyTelephone& operator=(const PtyTelephone&) = delete;

  // The device the program opens.
  [[nodiscard]] const std::string& slave() const { return slave_; }

  void start();
  void stop();
  // Closes the master end: the device is gone for the program.
  void hangUp();

  // Sends bytes to the program at once.
  void send(std::string_view bytes);
  // From now on (once started) sends line after line as fast as the program
  // takes them, like a device that reports on its own, until stopFlood().
  void flood(std::string_view line);
  void stopFlood();
  [[nodiscard]] std::size_t floodedBytes() const { return flooded_; }

  [[nodiscard]] std::string received() const;
  // Waits up to two seconds for the bytes received to end with suffix.
  [[nodiscard]] std::string receivedEndingWith(std::string_view suffix) const;
  // Waits up to two seconds for the program to have sent count bytes.
  [[nodiscard]] std::string receivedAtLeast(std::size_t count) const;

 private:
  void run();
  void respond();
  void floodOnce();

  Answer answer_;
  int master_ = -1;
  std::string slave_;
  std::thread thread_;
  std::atomic<bool> stopping_ = false;
  mutable std::mutex mutex_;
  std::string received_;
  std::string floodBlock_;       // guarded by mutex_
  std::size_t floodOffset_ = 0;  // guarded by mutex_
  std::atomic<bool> flooding_ = false;
  std::atomic<std::size_t> flooded_ = 0;
};

}  // namespace testing_support
