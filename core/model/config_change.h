#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace qd {

// What of the working configuration changed, as bits; several may change at once.
struct ConfigPart {
  static constexpr std::uint8_t SystemSettings = 1u << 0;  // the system-wide items
  static constexpr std::uint8_t MachineSettings = 1u << 1;
  static constexpr std::uint8_t MachinePrograms = 1u << 2;
  static constexpr std::uint8_t MachineTrigger = 1u << 3;
  static constexpr std::uint8_t MachineCalibrations = 1u << 4;
  static constexpr std::uint8_t WholeMachine =
      MachineSettings | MachinePrograms | MachineTrigger | MachineCalibrations;
  static constexpr std::uint8_t WholeSystem = SystemSettings | WholeMachine;
};

// Why it changed. A replacement stands for every part of every machine.
enum class ChangeCause : std::uint8_t {
  New,          // a new system
  Load,         // a system file loaded
  Read,         // an image read from a controller taken in
  ReadRefused,  // a read image refused: the empty system instead
  Save,         // a system file written and the image built from it
  Build,        // the image built for a write: nothing the editors hold changed
  Copy,         // a machine copied over another
  Clear,        // a machine back to a new machine's settings
  Edit,         // an edit of one window stored
};

struct ConfigChange {
  ChangeCause cause = ChangeCause::Edit;
  std::uint8_t parts = 0;                 // ConfigPart bits
  int machine = -1;                       // 0..9 for machine parts; -1 for every machine
  std::optional<double> usedTextPercent;  // when the image was built or read: its text area in use

  bool Replaces() const {
    return cause == ChangeCause::New || cause == ChangeCause::Load || cause == ChangeCause::Read ||
           cause == ChangeCause::ReadRefused;
  }
  // Whether `part` of machine `index` (0..9) is among the changes.
  bool Touches(std::uint8_t part, int index) const {
    return (parts & part) != 0 && (machine < 0 || machine == index);
  }
  bool Touches(std::uint8_t part) const { return (parts & part) != 0; }
};

// The observers of one working configuration. A copy of a configuration has none: observers follow
// the object they registered with, not its data.
class ConfigObservers {
 public:
  using Observer = std::function<void(const ConfigChange&)>;

  ConfigObservers() = default;
  ConfigObservers(const ConfigObservers&) {}
  ConfigObservers& operator=(const ConfigObservers&) { return *this; }

  // A key for Remove.
  int Add(Observer observer);
  void Remove(int key);
  void Notify(const ConfigChange& change) const;

 private:
  std::vector<std::pair<int, Observer>> observers_;
  int nextKey_ = 1;
};

}  // namespace qd
