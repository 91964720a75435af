#include "boot_loader_sim.h"

#include <algorithm>
#include <utility>

#include "link/frame_codec.h"

namespace qd::sim {

namespace {

constexpr std::uint8_t Ready = 0x16;
constexpr std::uint8_t Accepted = 0x06;
constexpr std::uint8_t Completed = 0x17;
constexpr std::uint8_t ChecksumError = 0x15;
constexpr std::size_t BlockBytes = 128;

std::uint16_t U16(std::span<const std::uint8_t> data, std::size_t at) {
  return static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
}

}  // namespace

std::optional<std::uint8_t> BootLoaderSim::Answer(std::uint8_t byte) const {
  if (settings_.fault == LoaderFault::Silent) return std::nullopt;
  return byte;
}

std::optional<std::uint8_t> BootLoaderSim::Start(LoaderTarget target, SimTime now) {
  target_ = target;
  image_.assign(ImageSize(target), 0xFF);
  received_.assign(ImageSize(target) / BlockBytes, false);
  blocksStored_ = 0;
  verdict_.reset();
  phase_ = Phase::BlockSize;
  lastFrameAt_ = now;
  note_ =
      target == LoaderTarget::Controller ? "controller boot loader started" : "trigger boot loader started";
  return Answer(Ready);
}

std::optional<std::uint8_t> BootLoaderSim::Frame(std::span<const std::uint8_t> body, SimTime now) {
  if (phase_ == Phase::Off) return std::nullopt;
  if (body.size() < 2 || !link::SumIsValid(body)) {
    note_ = "loader frame with a bad checksum: ignored";
    return std::nullopt;
  }
  lastFrameAt_ = now;
  const std::span<const std::uint8_t> data = body.first(body.size() - 1);
  switch (phase_) {
    case Phase::Off:
      return std::nullopt;
    case Phase::BlockSize:
      if (data.size() != 2 || U16(data, 0) != BlockSizeWord(target_)) {
        note_ = "loader: not the block size: ignored";
        return std::nullopt;
      }
      note_ = "loader: block size " + std::to_string(U16(data, 0));
      phase_ = Phase::Blocks;
      return Answer(Accepted);
    case Phase::Blocks:
    case Phase::AfterEndOfBlocks:
      if (data.size() == 2 + BlockBytes) return Block(data);
      if (data.size() == 2 && phase_ == Phase::Blocks && U16(data, 0) == 0) {
        note_ = "loader: end of blocks";
        phase_ = Phase::AfterEndOfBlocks;
        return Answer(Accepted);
      }
      if (data.size() == 6 && phase_ == Phase::AfterEndOfBlocks) return Summary(data);
      note_ = "loader: unexpected frame of " + std::to_string(data.size()) + " bytes: ignored";
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::uint8_t> BootLoaderSim::Block(std::span<const std::uint8_t> data) {
  const std::uint32_t address = U16(data, 0);
  if (address % BlockBytes != 0 || address + BlockBytes > image_.size()) {
    note_ = "loader: block outside the program memory: ignored";
    return std::nullopt;
  }
  std::copy(data.begin() + 2, data.end(), image_.begin() + address);
  received_[address / BlockBytes] = true;
  ++blocksStored_;
  note_ = "loader: block " + std::to_string(address);
  return Answer(Accepted);
}

std::optional<std::uint8_t> BootLoaderSim::Summary(std::span<const std::uint8_t> data) {
  const bool good = SummaryGood(U16(data, 0), U16(data, 2), U16(data, 4));
  if (good && settings_.fault == LoaderFault::None) {
    End(LoaderVerdict::Completed, "loader: completed, checksum good");
    return Answer(Completed);
  }
  End(LoaderVerdict::ChecksumError, good ? "loader: checksum error (fault)" : "loader: checksum error");
  return Answer(ChecksumError);
}

bool BootLoaderSim::SummaryGood(std::uint32_t start, std::uint32_t end, std::uint16_t complement) const {
  if (start > end || end >= image_.size()) return false;
  for (std::uint32_t block = start / BlockBytes; block <= end / BlockBytes; ++block) {
    if (!received_[block]) return false;
  }
  std::uint16_t sum = 0;
  for (std::uint32_t address = start; address < end; ++address)
    sum = static_cast<std::uint16_t>(sum + image_[address]);
  return static_cast<std::uint16_t>(~sum) == complement;
}

void BootLoaderSim::End(LoaderVerdict verdict, std::string note) {
  verdict_ = verdict;
  phase_ = Phase::Off;
  note_ = std::move(note);
}

void BootLoaderSim::Tick(SimTime now) {
  if (phase_ != Phase::Off && now >= lastFrameAt_ + settings_.idleLimit)
    End(LoaderVerdict::GaveUp, "loader: no frame for too long: given up");
}

std::optional<SimTime> BootLoaderSim::Deadline() const {
  if (phase_ == Phase::Off) return std::nullopt;
  return lastFrameAt_ + settings_.idleLimit;
}

std::optional<LoaderFault> ParseLoaderFault(const std::string& text) {
  if (text == "checksum") return LoaderFault::Checksum;
  if (text == "silent") return LoaderFault::Silent;
  return std::nullopt;
}

}  // namespace qd::sim
