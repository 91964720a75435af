#pragma once

// The Qt transports of the link: the serial port, the gateway socket and port discovery.
#include "transport/com_port.h"
#include "transport/gateway_socket.h"
#include "transport/port_discovery.h"
