#pragma once

// What the POSIX and the Windows side of file_io.h share: the wording of failures, the names of
// temporary files and the times a save and an update allow.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

namespace qd::file_io_internal {

// What failed, each its own sentence for translations.
enum class Act { Open, Read, Write, Replace, Lock, Create };

std::string Reason(const std::filesystem::path& path, Act act, const std::string& why);

// "16 MB" for whole mebibytes, "4096 bytes" otherwise.
std::string SizeText(std::uintmax_t bytes);

// "<path>.<8 hexadecimal digits>.tmp", a new tag from `device` each time.
std::filesystem::path TemporaryPathBeside(const std::filesystem::path& path, std::random_device& device);

// Whether `name` is what TemporaryPathBeside gives for a file named `target`.
bool IsTemporaryOf(const std::string& name, const std::string& target);

// No save takes this long, so a temporary file last written this long ago is an interrupted one.
inline constexpr std::chrono::hours LeftoverAge{1};

// How long an update waits for another program's update of the same file.
inline constexpr std::chrono::seconds LockWait{10};

}  // namespace qd::file_io_internal
