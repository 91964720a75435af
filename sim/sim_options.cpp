#include "sim_options.h"

#include <charconv>
#include <set>

#include "qd_version.h"
#include "trigger_module.h"

namespace qd::sim {

namespace {

const std::set<std::string> Flags = {"--help",      "-h",           "--version",    "--verbose",
                                     "--no-pacing", "--old-status", "--sample-logs"};
const std::set<std::string> Values = {
    "--link",          "--system",         "--image",         "--build-time",     "--serial",
    "--firmware",      "--hardware",       "--clock",         "--dump-memory",    "--baud",
    "--poll-interval", "--answer-timeout", "--trigger",       "--fault",          "--seed",
    "--gateway",       "--gateway-host",   "--gateway-user",  "--gateway-system", "--gateway-access",
    "--gateway-fault", "--gateway-block",  "--gateway-fleet", "--loader-fault",   "--dump-firmware"};

struct UsageError {
  std::string reason;
};

std::uint64_t Whole(const std::string& option, const std::string& text, std::uint64_t min,
                    std::uint64_t max) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < min || value > max)
    throw UsageError{option + " wants a whole number from " + std::to_string(min) + " to " +
                     std::to_string(max) + ", not '" + text + "'"};
  return value;
}

void ParseFirmware(const std::string& text, SimOptions& options) {
  const std::size_t dot = text.find('.');
  if (dot == std::string::npos) throw UsageError{"--firmware wants MAJOR.MINOR, not '" + text + "'"};
  options.firmwareMajor = static_cast<std::uint8_t>(Whole("--firmware", text.substr(0, dot), 0, 255));
  options.firmwareMinor = static_cast<std::uint8_t>(Whole("--firmware", text.substr(dot + 1), 0, 255));
}

void ParseClock(const std::string& text, SimOptions& options) {
  if (text == "now") {
    options.clockMode = SimOptions::ClockMode::Now;
  } else if (text == "off") {
    options.clockMode = SimOptions::ClockMode::Off;
  } else {
    LocalDateTime start;
    if (!LocalDateTime::Parse(text, start))
      throw UsageError{"--clock wants now, off or \"YYYY-MM-DD HH:MM:SS\", not '" + text + "'"};
    options.clockMode = SimOptions::ClockMode::From;
    options.clockStart = {start.year, start.month, start.day, start.hour, start.minute, start.second};
  }
}

void ParseTrigger(const std::string& text, SimOptions& options) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) throw UsageError{"--trigger wants M:TYPE, not '" + text + "'"};
  const int machine = static_cast<int>(Whole("--trigger", text.substr(0, colon), 1, 10));
  const std::optional<int> type = ParseTriggerType(text.substr(colon + 1));
  if (!type) throw UsageError{"--trigger: unknown trigger type '" + text.substr(colon + 1) + "'"};
  for (TriggerOption& trigger : options.triggers) {
    if (trigger.machine == machine) {
      trigger.type = *type;
      return;
    }
  }
  options.triggers.push_back({machine, *type});
}

template <typename T>
T Checked(const std::string& option, std::optional<T> parsed, const std::string& error) {
  if (!parsed) throw UsageError{option + ": " + error};
  return *parsed;
}

// The gateway options; false when `name` is none of them.
bool ApplyGateway(const std::string& name, const std::string& value, GatewayOptions& gateway) {
  std::string error;
  if (name == "--gateway") {
    gateway.port = static_cast<std::uint16_t>(Whole(name, value, 0, 65535));
  } else if (name == "--gateway-host") {
    if (value.empty()) throw UsageError{name + " wants an address"};
    gateway.host = value;
  } else if (name == "--gateway-user") {
    gateway.users.push_back(Checked(name, ParseGatewayUser(value, error), error));
  } else if (name == "--gateway-system") {
    gateway.systems.push_back(Checked(name, ParseGatewaySystem(value, error), error));
  } else if (name == "--gateway-access") {
    gateway.access.push_back(Checked(name, ParseGatewayAccess(value, error), error));
  } else if (name == "--gateway-fault") {
    gateway.faults.push_back(Checked(name, ParseGatewayFault(value, error), error));
  } else if (name == "--gateway-block") {
    gateway.blockSize = static_cast<std::size_t>(Whole(name, value, 1, GatewayOptions::MaxBlockSize));
  } else if (name == "--gateway-fleet") {
    gateway.fleet = static_cast<int>(Whole(name, value, 0, GatewayOptions::MaxFleet));
  } else {
    return false;
  }
  return true;
}

void Apply(const std::string& name, const std::string& value, SimOptions& options) {
  if (ApplyGateway(name, value, options.gateway)) return;
  if (name == "--link") {
    options.link = value;
  } else if (name == "--system") {
    options.systemFile = value;
  } else if (name == "--image") {
    options.imageFile = value;
  } else if (name == "--build-time") {
    if (!LocalDateTime::Parse(value, options.buildTime))
      throw UsageError{"--build-time wants \"YYYY-MM-DD HH:MM:SS\", not '" + value + "'"};
  } else if (name == "--serial") {
    options.serialNumber = static_cast<std::uint32_t>(Whole(name, value, 0, 0xFFFFFFFFu));
  } else if (name == "--firmware") {
    ParseFirmware(value, options);
  } else if (name == "--hardware") {
    options.hardwareVersion = static_cast<std::uint8_t>(Whole(name, value, 0, 255));
  } else if (name == "--clock") {
    ParseClock(value, options);
  } else if (name == "--dump-memory") {
    options.dumpMemory = value;
  } else if (name == "--baud") {
    options.baud = static_cast<int>(Whole(name, value, 300, 4000000));
  } else if (name == "--poll-interval") {
    options.pollIntervalMs = static_cast<int>(Whole(name, value, 0, 60000));
  } else if (name == "--answer-timeout") {
    options.answerTimeoutMs = static_cast<int>(Whole(name, value, 1, 60000));
  } else if (name == "--trigger") {
    ParseTrigger(value, options);
  } else if (name == "--fault") {
    std::string error;
    const std::optional<FaultSpec> fault = ParseFault(value, error);
    if (!fault) throw UsageError{"--fault: " + error};
    options.faults.push_back(*fault);
  } else if (name == "--loader-fault") {
    const std::optional<LoaderFault> fault = ParseLoaderFault(value);
    if (!fault) throw UsageError{"--loader-fault takes checksum or silent, not '" + value + "'"};
    options.loaderFault = *fault;
  } else if (name == "--dump-firmware") {
    options.dumpFirmware = value;
  } else if (name == "--seed") {
    options.seed = static_cast<std::uint32_t>(Whole(name, value, 0, 0xFFFFFFFFu));
  }
}

}  // namespace

std::optional<SimOptions> ParseOptions(const std::vector<std::string>& args, std::string& error) {
  SimOptions options;
  LocalDateTime::Parse("2000-01-01 00:00:00", options.buildTime);
  bool noPacing = false;
  try {
    for (std::size_t i = 0; i < args.size(); ++i) {
      std::string name = args[i];
      std::optional<std::string> value;
      if (const std::size_t equals = name.find('='); name.starts_with("--") && equals != std::string::npos) {
        value = name.substr(equals + 1);
        name = name.substr(0, equals);
      }
      if (Flags.count(name) > 0) {
        if (value) throw UsageError{name + " takes no value"};
        if (name == "--help" || name == "-h") options.help = true;
        if (name == "--version") options.version = true;
        if (name == "--verbose") options.verbose = true;
        if (name == "--no-pacing") noPacing = true;
        if (name == "--old-status") options.oldStatus = true;
        if (name == "--sample-logs") options.sampleLogs = true;
        continue;
      }
      if (Values.count(name) == 0) throw UsageError{"unknown option '" + args[i] + "'"};
      if (!value) {
        if (i + 1 >= args.size()) throw UsageError{name + " wants a value"};
        value = args[++i];
      }
      Apply(name, *value, options);
    }
    if (options.systemFile && options.imageFile) throw UsageError{"--system and --image exclude each other"};
    if (!options.gateway.port && !(options.gateway == GatewayOptions{}))
      throw UsageError{"the --gateway-... options want --gateway PORT"};
  } catch (const UsageError& usage) {
    error = usage.reason;
    return std::nullopt;
  }
  if (noPacing) options.baud = 0;
  return options;
}

std::string HelpText() {
  return "usage: qd310sim [OPTIONS]\n"
         "\n"
         "A simulated QD310 dosing system for tests and demonstrations. The controller is the master of a\n"
         "bus on a pseudo-terminal: it polls the PC, answers its memory reads and writes, status, log and\n"
         "machine resets, and trigger modules report on the same bus. The pseudo-terminal's path is printed\n"
         "on standard output as one line \"pty: PATH\" once the bus is up. SIGINT and SIGTERM end it "
         "cleanly.\n"
         "\n"
         "Bus:\n"
         "  --link PATH            also offer the pseudo-terminal as the symbolic link PATH (an existing\n"
         "                         link is replaced; the link is removed at exit)\n"
         "  --baud N               pace the output at N baud, 8N1: 10 bits a byte (default 115200)\n"
         "  --no-pacing            send every frame at once\n"
         "  --poll-interval MS     from one poll to the next while the PC has nothing to say (default 20);\n"
         "                         a request of the PC is answered at once, and the next poll follows the\n"
         "                         end of an exchange without a further gap once the interval has passed\n"
         "  --answer-timeout MS    how long the controller listens for the PC's answer after its frame has\n"
         "                         left the wire (default 50). A poll left unanswered, an answer with a bad\n"
         "                         checksum or an unexpected sequence number make the controller\n"
         "                         resynchronise: its next frame carries sequence 0; a reply left\n"
         "                         unanswered just ends the exchange\n"
         "  --verbose              one line per frame sent or received, on standard error (with --gateway\n"
         "                         also one line per gateway message and connection event)\n"
         "\n"
         "Memory (32768 bytes):\n"
         "  --system FILE.xml      built from a system file\n"
         "  --image FILE.bin       a memory image as it is; its identity bytes stay unless given below\n"
         "                         (neither: an empty new system)\n"
         "  --build-time TIME      build time of a built memory, \"YYYY-MM-DD HH:MM:SS\"\n"
         "                         (default 2000-01-01 00:00:00)\n"
         "  --serial N             serial number (default 310001)\n"
         "  --firmware MAJ.MIN     firmware version (default 2.3); with major version 1 the\n"
         "                         controller keeps its logs 128 bytes earlier\n"
         "  --hardware N           hardware version (default 4)\n"
         "  --clock WHEN           the controller clock: now (default, the local time), \"YYYY-MM-DD\n"
         "                         HH:MM:SS\" (runs from there) or off (the clock bytes are left alone)\n"
         "  --sample-logs          fill the alarm log and the consumption log with sample content\n"
         "  --dump-memory FILE     write the memory to FILE at exit\n"
         "\n"
         "  Reads and writes take 1..128 bytes. A block that reaches beyond the memory is served as far as\n"
         "  it fits and the reply's count says how far; a block starting beyond it gets no reply. Writes\n"
         "  are stored exactly as they come, the header included.\n"
         "\n"
         "Machines:\n"
         "  --old-status           send status in the older 44-byte form\n"
         "  --trigger M:TYPE       machine M (1..10) has a trigger of TYPE, which reports to the controller\n"
         "                         between polls (the Ethernet link shows in the status and the monitor)\n"
         "                         TYPE: " +
         TriggerTypeNames() +
         "\n"
         "\n"
         "Faults (repeatable; the same --seed gives the same faults for the same traffic):\n"
         "  --fault KIND[:SEL]     KIND is one of\n"
         "                           drop-answers  the controller ignores an answer of the PC\n"
         "                           bad-checksum  a frame to the PC goes out with a wrong checksum\n"
         "                           drop-replies  the controller loses its reply to a request\n"
         "                           noise         random bytes that start no frame go out before a frame\n"
         "                           late-answers  the controller stops listening before the PC's answer\n"
         "                                         to a frame arrives (a late PC), repeats the frame with\n"
         "                                         the same number and hears the late answer in the\n"
         "                                         window of its next frame\n"
         "                         SEL picks the events of that kind, counted from 1:\n"
         "                           N       the first N (default 1; noise: every frame)\n"
         "                           N@K     N events from the K-th on\n"
         "                           every=M every M-th event\n"
         "                           rate=P  each event with probability P (0..1)\n"
         "                         After a frame of its own went out broken or not at all, the controller\n"
         "                         resynchronises so that the PC retransmits its request.\n"
         "  --fault silence:MS[@K] before its K-th poll (default the first) the controller stays silent\n"
         "                         for MS milliseconds\n"
         "  --seed N               seed of the noise and of rate= (default 1)\n"
         "\n"
         "Boot loaders (a 0x70 with data 01 00 to the controller starts the controller's loader: blocks of\n"
         "256, FC00h bytes of program memory; a 0x70 with sequence 0 to address 0 starts the trigger\n"
         "modules' loader: blocks of 128, 3800h bytes). While a loader runs, the controller does not poll;\n"
         "the loader answers 16h ready, 06h accepted, 17h completed or 15h checksum error, and gives up\n"
         "after 8 s without a frame. Then polling resumes with a resynchronisation.\n"
         "  --loader-fault KIND    checksum: the verdict is always a checksum error; silent: the loader\n"
         "                         never answers\n"
         "  --dump-firmware FILE   write the program memory of the last loader run to FILE at exit (0xFF\n"
         "                         where nothing was programmed; no file when no loader ran)\n"
         "\n"
         "Gateway (the bus keeps running; both can be used at once):\n"
         "  --gateway PORT         also be the gateway server on TCP PORT (0: any free port). Once it\n"
         "                         listens, a line \"gateway: HOST:PORT\" follows the pty line\n"
         "  --gateway-host ADDR    listen on the IP address ADDR (default 127.0.0.1)\n"
         "  --gateway-user NAME:PASSWORD[:ACCESS]\n"
         "                         a user who may log in, with the access text the connect result\n"
         "                         grants: A full access (default), B read only (repeatable; default\n"
         "                         one user service:secret)\n"
         "  --gateway-system SERIAL:NAME:INUSE:ADDRESS\n"
         "                         an entry of the list of dispenser systems (repeatable, in order).\n"
         "                         INUSE \"-\" means free; ADDRESS \"Offline\" reports the system offline.\n"
         "                         The entry with the controller's serial number is the simulated\n"
         "                         controller (an empty NAME: the system name in its memory, or \"QD310\n"
         "                         simulator\"); without one it is listed first as SERIAL:NAME:-:127.0.0.1.\n"
         "                         An entry with the serial number of a fleet system (below) changes\n"
         "                         that system's entry: its NAME when not empty, INUSE and ADDRESS. Other\n"
         "                         entries answer nothing once connected to\n"
         "  --gateway-access SERIAL:ACCESS\n"
         "                         every user gets ACCESS on that system, whatever the user's own\n"
         "  --gateway-block N      bytes per data block of a read, 1..1993 (default 1000)\n"
         "  --gateway-fleet N      list N more systems (0..500) after the controller: system k has the\n"
         "                         controller's serial number + k, the name \"Laundry NN\" (k in two\n"
         "                         digits, three from 100), in-use \"-\" and address 127.0.0.1. Each\n"
         "                         answers from a memory of its own: the controller's initial memory\n"
         "                         with its serial number and name, and sample logs in which every\n"
         "                         consumption counter is k higher than the controller's sample and\n"
         "                         every alarm comes k minutes later in its day. It reads, writes,\n"
         "                         resets and clears its logs as the controller does, confirms machine\n"
         "                         resets and reports a status with nothing running. A fleet system\n"
         "                         listed \"Offline\" answers nothing, and one with an in-use text\n"
         "                         other than \"-\" is refused as in use\n"
         "  --gateway-fault KIND[@SERIAL]\n"
         "                         (repeatable) each hits once, the first time it can; with @SERIAL\n"
         "                         only on the system with that serial number:\n"
         "                           wrong-sum     the write confirmation's sum is one too high\n"
         "                           block-order   a read sends its second block before its first\n"
         "                           drop-read:N   a read ends the connection after N blocks\n"
         "                           drop-write:N  a write ends the connection once its N-th block is\n"
         "                                         stored (a write: the blocks up to a confirm request)\n"
         "\n"
         "  A logged-in user gets the list, connects to a system (not found, in use, or accepted with\n"
         "  the access text and then the system's address), and on the simulated controller or a fleet\n"
         "  system reads the 32768-byte memory in blocks, writes blocks (1..200 bytes; stored at once)\n"
         "  and asks for the 16-bit sum of the bytes written since the last confirmation, asks for its\n"
         "  status, resets machines and clears the logs. With an access text other than A, writes and\n"
         "  machine resets are ignored. A system held by one connection is in use for the others.\n"
         "\n"
         "  -h, --help             this text\n"
         "  --version              print the version and exit\n";
}

std::string VersionText() {
  return std::string("qd310sim ") + qd::version::Text + "\n";
}

}  // namespace qd::sim
