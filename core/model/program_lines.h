#pragma once

#include <array>

#include "model/dosing_program.h"

namespace qd {

using ProgramLines = std::array<ProgramLine, DosingProgram::LineCount>;

// Line insert and delete in the program editor, at line index 0..23 (line 1..24); other indexes change
// nothing. A line that moves takes its instruction code (byte 0 bits 0..3), b1..b5 and comment into the
// place it moves to; that place keeps its own byte 0 bits 4..7 and bytes 6..7. Jump targets are renumbered
// in the moved lines only, whatever they point at, so that a block of lines moved together keeps jumping
// within itself; targets in the lines that stay are left alone.

// Lines index..22 move down one place and line 24 is lost; line `index` becomes "Empty". In a moved line a
// jump target 1..23 grows by one (24 stays, as there is no line 25).
void InsertProgramLine(ProgramLines& lines, int index);

// Lines index+1..23 move up one place over line `index`; line 24 becomes "Empty". In a moved line a jump
// target 2..24 shrinks by one (1 stays, as there is no line 0).
void DeleteProgramLine(ProgramLines& lines, int index);

}  // namespace qd
