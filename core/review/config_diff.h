#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/system_config.h"
#include "model/working_config.h"

namespace qd::review {

// One item that differs between two configurations, named the way the technician sees it.
struct Difference {
  std::string place;   // "Machine 3 / Program 2 / Line 5"
  std::string before;  // the item's value in the first configuration
  std::string after;   // and in the second

  // "Machine 3 / Program 2 / Line 5: Pump P3, V=20/30/40 -> Pump P3, V=25/30/40"
  std::string Text() const;

  bool operator==(const Difference&) const = default;
};

// Every item of the system settings, the machines, their triggers and their programs whose value differs,
// in the order the windows show them. Texts are compared as the configurations hold them; compare
// canonical configurations (below) to see what a controller would really get.
std::vector<Difference> CompareSystems(const SystemConfig& before, const SystemConfig& after);

// The configuration as a controller holds it once `config` is written: built into an image of its own
// and read back. Typed texts become the stored numbers ("030" and "30" are the same), texts the text area
// cannot hold are dropped as a write would drop them. `config` itself is not touched.
SystemConfig CanonicalSystem(const WorkingConfig& config);

// The configuration an image holds. False, and `system` untouched, when the image's format is not one
// the tool reads.
bool SystemOfImage(const ControllerImage& image, SystemConfig& system);

// The configuration a file holds as a controller would hold it: a system file (".xml"; one that does not
// read completely is refused) built into an image and read back, or a 32768-byte image as it is.
struct LoadedSystem {
  bool ok = false;
  std::string error;  // why the file was refused
  SystemConfig system;
};
LoadedSystem LoadSystemForComparison(const std::filesystem::path& path);

}  // namespace qd::review
