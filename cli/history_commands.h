#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "arguments.h"
#include "store/history_store.h"

// The commands of the history store: the sites, a site's consumption and configuration over time, the
// import of backups and the sweep of a gateway's systems.
namespace qdtool {

int RunSites(const std::vector<std::string>& args);
int RunHistory(const std::vector<std::string>& args);
int RunTimeline(const std::vector<std::string>& args);
int RunImport(const std::vector<std::string>& args);
int RunSweep(const std::vector<std::string>& args);

extern const char* const SitesUsage;
extern const char* const HistoryUsage;
extern const char* const TimelineUsage;
extern const char* const ImportUsage;
extern const char* const SweepUsage;

// --store LOCATION: an SQLite file or postgresql://[USER@]HOST[:PORT]/DATABASE.
inline constexpr char StoreOption[] = "store";
inline constexpr char StoreOptionHelp[] =
    "  --store WHERE  the history store: an SQLite file or postgresql://[USER@]HOST[:PORT]/DATABASE\n"
    "                 (password from ~/.pgpass or $PGPASSFILE); default: the store qdsystem's Sites\n"
    "                 window names, else history.sqlite in the user's data folder\n";

// The store --store names, else the chosen one; Failure with the reason when it cannot be opened.
std::unique_ptr<qd::store::HistoryStore> OpenStore(const Arguments& arguments);
// The --store text, empty when not given.
std::string StoreGiven(const Arguments& arguments);

// A SERIAL argument; a usage error for anything but a whole number of 32 bits.
std::uint32_t SerialArgument(const std::string& text);

}  // namespace qdtool
