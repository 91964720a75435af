#pragma once

#include <cstddef>
#include <string>

#include "arguments.h"

namespace qdtool {

// The environment variable that may hold the gateway password (an empty value counts as unset).
inline constexpr char PasswordVariable[] = "QDTOOL_PASSWORD";
// A password file or a typed password longer than this is refused.
inline constexpr std::size_t PasswordLimit = 4096;

// The gateway password for USER at ADDRESS, from the first of: --password, --password-file,
// QDTOOL_PASSWORD, a prompt on the terminal when standard input is one. Throws UsageError when both
// options are given, the file is unusable or there is no source at all; Failure when the terminal
// cannot be read.
std::string GatewayPassword(const Arguments& arguments, const std::string& user, const std::string& address);

// The first line of the file without its line break. Warns on standard error when other users may
// read or change the file; throws UsageError when it cannot be read, is empty or too large.
std::string ReadPasswordFile(const std::string& path);

// Shows `prompt` on the terminal and reads one line with echo off; the terminal's state is restored
// whatever happens, an interrupting signal included. Throws Failure when nothing could be read.
std::string PromptPassword(const std::string& prompt);

}  // namespace qdtool
