#include "model/dosing_program.h"

namespace qd {

std::string DefaultProgramName(int number) {
  return "Program " + std::to_string(number);
}

void DosingProgram::Reset(int number) {
  *this = DosingProgram{};
  Name = DefaultProgramName(number);
}

}  // namespace qd
