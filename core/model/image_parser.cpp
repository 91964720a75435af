#include "model/image_parser.h"

#include <algorithm>
#include <cstring>

#include "app/bytes.h"
#include "app/text.h"
#include "app/translation.h"
#include "model/system_commands.h"
#include "model/system_setup.h"

namespace qd {
namespace {

using namespace layout;

void ParseProgram(const ControllerImage& image, int m, int p, DosingProgram& program) {
  const auto b = image.Span();
  const std::size_t at = ProgramRecord(m, p);
  const std::uint8_t flags = b[at + ProgramFlags];
  program.Active = flags & ProgramActiveBit;
  program.Softner = flags & ProgramSoftnerBit;
  program.DefaultSoftner = flags & ProgramDefaultSoftnerBit;
  program.DefaultLevel = (flags >> ProgramDefaultLevelShift) & 0x03;
  for (int k = 0; k < DosingProgram::LineCount; ++k) {
    const std::size_t line = at + ProgramLines + ProgramLine::Size * k;
    std::copy_n(b.begin() + line, ProgramLine::Size, program.Lines[k].bytes.begin());
  }
}

void ParseMachine(WorkingConfig& config, int m) {
  const ControllerImage& image = config.image;
  const auto b = image.Span();
  const std::size_t record = MachineRecord(m);
  MachineConfig& machine = config.system.Machines[m];

  if (bytes::GetU16LE(b, MachinesEnabled) & (1u << m)) config.system.MachineEnabled[m] = true;
  const int defaultProgram = b[record + MachineDefaultProgram] & 0x1F;
  if (defaultProgram < 7) machine.DefaultProgram = defaultProgram;
  const int softnerPump = b[record + MachineSoftnerPump] & 0x0F;
  if (softnerPump < 8) machine.SoftnerPump = softnerPump;
  machine.AllowNoProgram = b[record + MachineFlags] & MachineAllowNoProgramBit;
  machine.ShortFlushTime = std::to_string(b[record + MachineShortFlushTime]);
  machine.LongFlushTime = std::to_string(b[record + MachineLongFlushTime]);
  machine.ProgramTimeout = std::to_string(b[record + MachineProgramTimeout]);
  for (int pump = 0; pump < PumpCount; ++pump) {
    machine.Calibration[pump] = std::to_string(b[record + MachineCalibrations + pump]);
  }
  std::copy_n(b.begin() + record + MachineTrigger, TriggerSettings::Size, machine.Trigger.bytes.begin());
  for (int p = 0; p < ProgramCount; ++p)
    ParseProgram(image, m, p, machine.Programs[p]);
}

void ParseTexts(WorkingConfig& config, int m) {
  const ControllerImage& image = config.image;
  const auto b = image.Span();
  MachineConfig& machine = config.system.Machines[m];
  machine.Comment = image.TextAt(bytes::GetU16LE(b, MachineRecord(m) + MachineComment));
  for (int p = 0; p < ProgramCount; ++p) {
    DosingProgram& program = machine.Programs[p];
    const std::size_t at = ProgramRecord(m, p);
    program.Name = image.TextAt(bytes::GetU16LE(b, at + ProgramName));
    program.Comment = image.TextAt(bytes::GetU16LE(b, at + ProgramComment));
    for (int k = 0; k < DosingProgram::LineCount; ++k) {
      const std::size_t line = at + ProgramLines + ProgramLine::Size * k;
      program.Lines[k].comment = image.TextAt(bytes::GetU16LE(b, line + 6));
    }
  }
}

// 1 + the first offset where two zero bytes follow each other; the whole area when there is none.
std::size_t TextInUse(std::span<const std::uint8_t> area) {
  for (std::size_t k = 0; k + 1 < area.size(); ++k) {
    if (area[k] == 0 && area[k + 1] == 0) return k + 1;
  }
  return area.size();
}

}  // namespace

ParseResult ParseImage(WorkingConfig& config) {
  ControllerImage& image = config.image;
  image.bytes[SystemLoginCodeEnd] = 0;
  config.loginCodeEdit = image.SystemLoginCode();
  ResetSystem(config);

  ParseResult result;
  if (!image.FormatAccepted()) {
    result.error = Substitute(UiText("ImageParser", "Bad data format or version: %1.%2"),
                              {std::to_string(image.FormatMajor()), std::to_string(image.FormatMinor())});
    config.observers.Notify({ChangeCause::ReadRefused, ConfigPart::WholeSystem, -1, std::nullopt});
    return result;
  }
  FillFromSystemData(config);
  for (int m = 0; m < MachineCount; ++m) {
    ParseMachine(config, m);
    ParseTexts(config, m);
  }
  image.imageHeld = true;
  result.ok = true;
  result.textInUse = TextInUse(image.Span().subspan(TextArea, TextAreaSize));
  result.usedTextPercent = static_cast<double>(result.textInUse) * 100.0 / TextAreaSize;
  config.observers.Notify({ChangeCause::Read, ConfigPart::WholeSystem, -1, result.usedTextPercent});
  return result;
}

std::string ControllerDateText(const ControllerImage& image) {
  const ClockBytes c = image.ControllerTime();
  return Substitute(UiText("ImageParser", "Date: %1"), {Format("%04d-%02d-%02d %02d:%02d:%02d", c.year,
                                                               c.month, c.day, c.hour, c.minute, c.second)});
}

}  // namespace qd
