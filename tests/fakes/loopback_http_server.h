#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace testing_support {

// An HTTP server on 127.0.0.1 for the tests of the HTTP backends: a thread
// takes one connection after the other, reads the request (the head and the
// body its Content-Length announces), sends the answer byte for byte and
// then does as told.
class LoopbackHttpServer {
 public:
  enum class Then {
    close,
    stall,        // sends nothing more and keeps the connection open
    sendForever,  // sends bytes as fast as the client takes them
    trickle,      // sends a byte every 50 ms
    refuse,       // never listens: connections to its port are refused
  };

  explicit LoopbackHttpServer(std::string answer, Then then = Then::close);
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  [[nodiscard]] std::string url(std::string_view path) const;
  // The last request as it arrived.
  [[nodiscard]] std::string request() const;

 private:
  int port_ = 0;
  std::atomic<bool> stopping_ = false;
  mutable std::mutex mutex_;
  std::string request_;  // guarded by mutex_
  std::thread thread_;
};

}  // namespace testing_support
