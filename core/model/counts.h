#pragma once

namespace qd {

// How many of each the dosing system has; everything sized by them refers here.
constexpr int MachineCount = 10;
constexpr int ProgramCount = 6;  // dosing programs per machine
constexpr int PumpCount = 7;

// The user's login code until one is entered (the Login window's starting text, qdtool's default).
inline constexpr char DefaultLoginCode[] = "KMWPLTRS";

}  // namespace qd
