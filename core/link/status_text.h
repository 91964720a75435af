#pragma once

#include <string>

#include "link/status_records.h"

// One-line renderings of live status for text output. Stable: fields in a fixed order, masks as
// strings of '0'/'1' with the lowest number first ("101000" = inputs 1 and 3), decimal point '.'.
namespace qd::link {

// "101000": bit 0 first, `count` characters.
std::string MaskText(unsigned mask, int count);

// "M1 prog=3 line=5 trig=on kbd-locked inputs=101000 pct=75" (machine m = 0..9, shown as m + 1).
// prog and line read "-" when none. The keyboard-connected and serial-connection flags of a controller
// record are not shown: only the gateway reports them.
std::string MachineStatusText(int m, const MachineStatus& status);

// True when the record reports nothing: no program, no line, trigger off, keyboard free, no input,
// percent 0. Such machines are left out of a status line.
bool IsIdle(const MachineStatus& status);

// "status: pumps=1010000 machines=1000000000 water=on drain=off alarm=off | M1 ... | M4 ..."
// An older frame reads "status (44-byte form): ...", a frame of another length byte
// "status (length N): ...".
std::string ControllerStatusText(const ControllerStatus& status);

inline constexpr int UnknownTriggerType = -1;

// A gateway status message ('C','X'), in the manner of ControllerStatusText.
std::string GatewayStatusText(const GatewayStatus& status);

// "trigger M5 cmd=3: inputs=101000 weight=37.5kg kind=QD740 fw=1.2 serial=on kbd=off elux-prog=4".
// Byte 8 by the machine's trigger type: "weight=" for the weighing types 3, 4 and 6, "pct=" for type 5,
// "value=" (raw) when the type is unknown, left out for the other types. The Electrolux program is
// shown for type 6 or an unknown type. Module fields appear only when they arrived.
std::string TriggerReportText(const TriggerReport& report, int triggerType = UnknownTriggerType);

}  // namespace qd::link
