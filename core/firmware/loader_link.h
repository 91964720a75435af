#pragma once

#include "firmware/boot_loader.h"
#include "link/bus_link.h"

namespace qd::firmware {

// A boot loader owner that sends through the bus link: queue, start frames, raw frames and the
// ProgrammingActive flag. `changed` and `finished` are left for the caller to set. The link must also
// hand its bytes outside frames to the loader (handlers.loaderByte, SetLoaderListening) for as
// long as the update may run.
BootLoader::Owner OwnerOnLink(link::BusLink& link);

}  // namespace qd::firmware
