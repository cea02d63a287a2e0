#pragma once
// The service as the tests reach it: `ziwei serve` run as a child process on
// a free port of 127.0.0.1, and a client that writes any bytes and reads
// responses back.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/process/run_program.h"

namespace ziwei::serve::testing {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

using ziwei::testing::ProgramRun;
using ziwei::testing::readFile;
using ziwei::testing::runProgram;

struct Response {
  int status = 0;                                            // 0 when none was read
  std::vector<std::pair<std::string, std::string>> headers;  // names in lower case
  std::string body;
  std::optional<std::string> header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
      if (key == name) return value;
    }
    return std::nullopt;
  }
};

// One connection to 127.0.0.1:port.
class Client {
 public:
  explicit Client(int port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    const int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  }
  ~Client() { ::close(fd_); }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  bool connected() const { return connected_; }

  bool send(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (n <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }

  // Reads one response (its body by Content-Length, none for HEAD); status
  // 0 when the connection ends or `timeout` passes before it is whole.
  Response read(bool head = false, std::chrono::milliseconds timeout = 10s) {
    Response response;
    std::size_t end;
    while ((end = buffer_.find("\r\n\r\n")) == std::string::npos) {
      if (!fill(timeout)) return {};
    }
    std::istringstream lines(buffer_.substr(0, end));
    std::string line;
    std::getline(lines, line);
    if (line.rfind("HTTP/1.1 ", 0) != 0 || line.size() < 12) return {};
    const int status = std::stoi(line.substr(9, 3));
    std::size_t length = 0;
    while (std::getline(lines, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::size_t colon = line.find(':');
      if (colon == std::string::npos) return {};
      std::string name = line.substr(0, colon);
      for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      const std::string value = line.substr(line.find_first_not_of(' ', colon + 1));
      if (name == "content-length") length = std::stoul(value);
      response.headers.emplace_back(name, value);
    }
    buffer_.erase(0, end + 4);
    if (head) length = 0;
    while (buffer_.size() < length) {
      if (!fill(timeout)) return {};
    }
    response.body = buffer_.substr(0, length);
    buffer_.erase(0, length);
    response.status = status;
    return response;
  }

  Response get(std::string_view target) {
    send("GET " + std::string(target) + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    return read();
  }

  // Whether the server closes the connection within `timeout`, what it
  // sends before that put aside.
  bool closedWithin(std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < until) {
      if (!fill(std::chrono::duration_cast<std::chrono::milliseconds>(
              until - std::chrono::steady_clock::now()))) {
        return closed_;
      }
    }
    return false;
  }

  const std::string& unread() const { return buffer_; }

 private:
  bool fill(std::chrono::milliseconds timeout) {
    pollfd wait{fd_, POLLIN, 0};
    if (::poll(&wait, 1, static_cast<int>(std::max<long>(timeout.count(), 0))) <= 0) return false;
    char chunk[65536];
    const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
    if (n <= 0) {
      closed_ = true;
      return false;
    }
    buffer_.append(chunk, static_cast<std::size_t>(n));
    return true;
  }

  int fd_ = -1;
  bool connected_ = false;
  bool closed_ = false;
  std::string buffer_;
};

// `ziwei serve --listen 127.0.0.1:0 OPTIONS...`, standard error to a file.
class Service {
 public:
  explicit Service(std::vector<std::string> options = {}) {
    log_ = fs::temp_directory_path() /
           ("ziwei-serve-" + std::to_string(::getpid()) + "-" + std::to_string(count_++) + ".log");
    std::vector<std::string> args{ZIWEI_EXECUTABLE, "serve", "--listen", "127.0.0.1:0"};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(::open("/dev/null", O_RDONLY), STDIN_FILENO);
      ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
      ::dup2(::open(log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    const std::string kServing = "ziwei: serving on http://127.0.0.1:";
    for (int i = 0; i < 200 && port_ == 0; ++i) {
      const std::string text = readFile(log_);
      if (const std::size_t at = text.find(kServing); at != std::string::npos) {
        port_ = std::stoi(text.substr(at + kServing.size()));
      } else {
        std::this_thread::sleep_for(20ms);
      }
    }
    EXPECT_NE(port_, 0) << readFile(log_);
  }
  ~Service() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    fs::remove(log_);
  }
  Service(const Service&) = delete;
  Service& operator=(const Service&) = delete;

  int port() const { return port_; }
  pid_t pid() const { return pid_; }

  // SIGTERM, then the exit status (-1 for a signal, -2 when it has not
  // exited within `timeout`).
  void terminate() { ::kill(pid_, SIGTERM); }
  int wait(std::chrono::milliseconds timeout = 15s) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < until) {
      int raw = 0;
      if (::waitpid(pid_, &raw, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
      }
      std::this_thread::sleep_for(10ms);
    }
    return -2;
  }
  int stop() {
    terminate();
    return wait();
  }
  std::string log() const { return readFile(log_); }

  Response get(std::string_view target) {
    Client client(port_);
    return client.get(target);
  }

 private:
  static inline int count_ = 0;
  fs::path log_;
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace ziwei::serve::testing
