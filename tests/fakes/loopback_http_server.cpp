#include "tests/fakes/loopback_http_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace testing_support {

namespace {

using namespace std::chrono_literals;
using Then = LoopbackHttpServer::Then;

#ifdef _WIN32
using Socket = SOCKET;
constexpr Socket noSocket = INVALID_SOCKET;
constexpr int sendFlags = 0;
void closeSocket(Socket socket) { closesocket(socket); }
bool waitForInput(Socket socket, int milliseconds) {
  WSAPOLLFD watch{socket, POLLIN, 0};
  return WSAPoll(&watch, 1, milliseconds) > 0;
}
bool startSockets() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}
#else
using Socket = int;
constexpr Socket noSocket = -1;
// A client that went away must not end the test program with SIGPIPE.
constexpr int sendFlags = MSG_NOSIGNAL;
void closeSocket(Socket socket) { close(socket); }
bool waitForInput(Socket socket, int milliseconds) {
  pollfd watch{socket, POLLIN, 0};
  return poll(&watch, 1, milliseconds) > 0;
}
bool startSockets() { return true; }
#endif

bool sendAll(Socket connection, std::string_view bytes) {
  while (!bytes.empty()) {
    auto sent = send(connection, bytes.data(), static_cast<int>(bytes.size()), sendFlags);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

std::string readRequest(Socket connection) {
  std::string received;
  std::size_t end = std::string::npos;
  char buffer[4096];
  while (received.size() < end && waitForInput(connection, 2000)) {
    auto got = recv(connection, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    received.append(buffer, static_cast<std::size_t>(got));
    std::size_t head = received.find("\r\n\r\n");
    if (end != std::string::npos || head == std::string::npos) continue;
    std::string lower = received.substr(0, head);
    std::ranges::transform(lower, lower.begin(), [](unsigned char c) { return std::tolower(c); });
    std::size_t length = lower.find("\r\ncontent-length:");
    end = head + 4 +
          (length == std::string::npos ? 0 : std::strtoul(&lower[length + 17], nullptr, 10));
  }
  return received;
}

// What the server does after the answer, until the client goes or the
// server stops.
void carryOn(Socket connection, Then then, const std::atomic<bool>& stopping) {
  static const std::string block(16384, 'x');
  while (!stopping && then != Then::close) {
    if (then == Then::sendForever) {
      if (!sendAll(connection, block)) return;
    } else {
      if (then == Then::trickle && !sendAll(connection, "x")) return;
      std::this_thread::sleep_for(then == Then::trickle ? 50ms : 10ms);
    }
  }
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(std::string answer, Then then) {
  Socket listener = startSockets() ? socket(AF_INET, SOCK_STREAM, IPPROTO_TCP) : noSocket;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
  socklen_t length = sizeof address;
  auto* name = reinterpret_cast<sockaddr*>(&address);
  if (listener == noSocket || bind(listener, name, length) != 0 ||
      getsockname(listener, name, &length) != 0 ||
      (then != Then::refuse && listen(listener, 8) != 0)) {
    ADD_FAILURE() << "no loopback server";
  }
  port_ = ntohs(address.sin_port);
  if (then == Then::refuse) {
    closeSocket(listener);
    return;
  }
  thread_ = std::thread([this, listener, answer = std::move(answer), then] {
    while (!stopping_) {
      Socket connection =
          waitForInput(listener, 20) ? accept(listener, nullptr, nullptr) : noSocket;
      if (connection == noSocket) continue;
      std::string received = readRequest(connection);
      {
        std::lock_guard lock(mutex_);
        request_ = std::move(received);
      }
      if (sendAll(connection, answer)) carryOn(connection, then, stopping_);
      closeSocket(connection);
    }
    closeSocket(listener);
  });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
}

std::string LoopbackHttpServer::url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::string LoopbackHttpServer::request() const {
  std::lock_guard lock(mutex_);
  return request_;
}

}  // namespace testing_support
