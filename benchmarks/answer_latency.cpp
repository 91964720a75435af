// The tool's answer latency on a pseudo-terminal: from the last byte of a poll written by the
// controller's side to the first byte of the tool's answer read there. Runs the real `qdtool monitor`
// as the PC and prints the median and the 99th percentile.
//
// usage: answer_latency [QDTOOL] [POLLS]
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "link/bus_payload.h"
#include "link/bus_receiver.h"
#include "link/frame_codec.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace link = qd::link;

// Reads until a whole frame arrived or the deadline passed; gives the time its first byte came.
bool ReadFrame(int fd, Clock::time_point& firstByte, std::vector<std::uint8_t>& body) {
  link::BusReceiver receiver;
  bool done = false;
  bool first = true;
  receiver.onFrame = [&](std::span<const std::uint8_t> frame) {
    body.assign(frame.begin(), frame.end());
    done = true;
  };
  const auto deadline = Clock::now() + std::chrono::seconds(2);
  while (!done && Clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    std::uint8_t buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) continue;
    if (first) firstByte = Clock::now();
    first = false;
    receiver.Feed(std::span<const std::uint8_t>(buffer, static_cast<std::size_t>(n)));
  }
  return done;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string qdtool =
      argc > 1 ? argv[1] : (std::filesystem::path(argv[0]).parent_path() / "qdtool").string();
  const int polls = argc > 2 ? std::stoi(argv[2]) : 2000;

  int master = -1;
  int slave = -1;
  char slaveName[256];
  if (::openpty(&master, &slave, slaveName, nullptr, nullptr) != 0) return 1;
  termios raw{};
  ::tcgetattr(slave, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(slave, TCSANOW, &raw);
  ::tcsetattr(master, TCSANOW, &raw);

  const pid_t child = ::fork();
  if (child == 0) {
    ::execl(qdtool.c_str(), qdtool.c_str(), "monitor", "--port", slaveName, "--seconds", "600",
            static_cast<char*>(nullptr));
    _exit(127);
  }
  ::usleep(300000);  // let the tool open the port

  std::vector<double> micros;
  std::uint8_t sequence = 0;
  for (int i = 0; i <= polls; ++i) {
    const auto poll =
        link::MakePayload(link::command::Poll, sequence, link::PcAddress, link::ControllerAddress);
    const auto frame = link::EncodeFrame(poll);
    if (::write(master, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size())) break;
    const auto written = Clock::now();
    Clock::time_point answered;
    std::vector<std::uint8_t> body;
    if (!ReadFrame(master, answered, body)) {
      std::fprintf(stderr, "no answer to poll %d\n", i);
      break;
    }
    if (i > 0) micros.push_back(std::chrono::duration<double, std::micro>(answered - written).count());
    sequence = static_cast<std::uint8_t>(sequence == 255 ? 1 : sequence + 1);
    ::usleep(2000);  // the controller's own pace between exchanges
  }
  ::kill(child, SIGTERM);
  ::waitpid(child, nullptr, 0);
  if (micros.empty()) return 1;

  std::sort(micros.begin(), micros.end());
  const auto at = [&](double q) { return micros[static_cast<std::size_t>(q * (micros.size() - 1))]; };
  std::printf("answers: %zu  median: %.3f ms  p99: %.3f ms  max: %.3f ms\n", micros.size(), at(0.5) / 1000,
              at(0.99) / 1000, micros.back() / 1000);
  return 0;
}
