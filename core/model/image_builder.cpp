#include "model/image_builder.h"

#include <algorithm>
#include <cstring>

#include "app/bytes.h"
#include "app/text.h"
#include "model/calibration.h"

namespace qd {
namespace {

using namespace layout;

// Packs NUL-terminated texts one after another into the text area; offset 0 is the empty text.
class TextPacker {
 public:
  explicit TextPacker(std::span<std::uint8_t> area) : area_(area) {}

  // Offset of the stored text; 0 for an empty text or one that does not fit.
  std::uint16_t Store(const std::string& text) {
    if (text.empty() || next_ + text.size() + 1 > area_.size()) return 0;
    const std::size_t offset = next_;
    std::memcpy(area_.data() + offset, text.data(), text.size());
    area_[offset + text.size()] = 0;
    next_ += text.size() + 1;
    return static_cast<std::uint16_t>(offset);
  }

  std::size_t InUse() const { return next_; }

 private:
  std::span<std::uint8_t> area_;
  std::size_t next_ = 1;
};

void PutFieldText(std::span<std::uint8_t> image, std::size_t at, std::size_t maxLength,
                  const std::string& text) {
  const std::size_t n = std::min(maxLength, text.size());
  std::memcpy(image.data() + at, text.data(), n);
  image[at + n] = 0;
}

std::uint8_t LowByteOf(const std::string& text) {
  return static_cast<std::uint8_t>(WholeNumberOr(text));
}

void WriteBuildTime(std::span<std::uint8_t> b, const LocalDateTime& t) {
  const std::uint8_t fields[7] = {
      static_cast<std::uint8_t>(t.weekday),    static_cast<std::uint8_t>(t.second),
      static_cast<std::uint8_t>(t.minute),     static_cast<std::uint8_t>(t.hour),
      static_cast<std::uint8_t>(t.day),        static_cast<std::uint8_t>(t.month),
      static_cast<std::uint8_t>(t.year - 2000)};
  std::copy(std::begin(fields), std::end(fields), b.begin() + BuildTime);
}

void WriteSoapAmounts(std::span<std::uint8_t> b, const SystemConfig& system) {
  for (int p = 0; p < SoapAmountPumps; ++p) {
    bytes::PutU16LE(b, AlarmAmounts + 2 * p, 0);
    bytes::PutU16LE(b, UsedAmounts + 2 * p, 0);
    const auto alarm = ParseAmountHundredths(system.AlarmAmount[p]);
    if (!alarm) continue;
    bytes::PutU16LE(b, AlarmAmounts + 2 * p, *alarm);
    if (const auto used = ParseAmountHundredths(system.UsedAmount[p]))
      bytes::PutU16LE(b, UsedAmounts + 2 * p, *used);
  }
}

void WriteSystemSettings(std::span<std::uint8_t> b, const SystemConfig& system) {
  PutFieldText(b, SystemName, SystemNameField - 1, system.SystemName);
  b[DefaultInputFilter] = LowByteOf(system.DefaultInputFilter);
  for (int g = 0; g < AlarmGroupCount; ++g) {
    std::uint16_t mask = 0;
    for (int kind = 0; kind < AlarmKinds; ++kind) {
      if (system.AlarmGroups[g][kind]) mask |= static_cast<std::uint16_t>(1 << (kind + 1));
    }
    bytes::PutU16LE(b, AlarmGroups + 2 * g, mask);
  }
  for (int r = 0; r < RecipientCount; ++r) {
    PutFieldText(b, Recipients + RecipientField * r, RecipientField - 1, system.Recipients[r]);
  }
  b[ActiveLevelCommon] = system.ActiveHighCommon ? 1 : 0;
  std::uint8_t levels = system.ActiveHighExtra ? 1 : 0;
  for (int i = 0; i < PumpCount; ++i) {
    if (system.ActiveHighLevel[i]) levels |= static_cast<std::uint8_t>(1 << (i + 1));
  }
  b[ActiveLevelMask] = levels;
  b[AlarmOnAmountEnabled] = system.AlarmOnAmountEnabled ? 1 : 0;
  WriteSoapAmounts(b, system);
}

std::uint8_t ProgramFlagsOf(const DosingProgram& program) {
  std::uint8_t flags = 0;
  if (program.Active) flags |= ProgramActiveBit;
  if (program.DefaultSoftner) flags |= ProgramDefaultSoftnerBit;
  if (program.Softner) flags |= ProgramSoftnerBit;
  const int level = (program.DefaultLevel >= 0 && program.DefaultLevel <= 3) ? program.DefaultLevel : 3;
  return static_cast<std::uint8_t>(flags | (level << ProgramDefaultLevelShift));
}

void WriteMachine(std::span<std::uint8_t> b, int m, const MachineConfig& machine, bool enabled) {
  const std::size_t record = MachineRecord(m);
  std::uint8_t activeMask = 0;
  for (int p = 0; p < ProgramCount; ++p) {
    const DosingProgram& program = machine.Programs[p];
    const std::size_t at = ProgramRecord(m, p);
    b[at + ProgramFlags] = ProgramFlagsOf(program);
    if (program.Active) activeMask |= static_cast<std::uint8_t>(1 << p);
    for (int k = 0; k < DosingProgram::LineCount; ++k) {
      std::copy(program.Lines[k].bytes.begin(), program.Lines[k].bytes.end(),
                b.begin() + at + ProgramLines + ProgramLine::Size * k);
    }
  }
  b[record + MachineActiveMask] = activeMask;
  std::uint8_t flags = 0;
  if (machine.AllowNoProgram) flags |= MachineAllowNoProgramBit;
  if (enabled) flags |= MachineEnabledBit;
  b[record + MachineFlags] = flags;
  const int defaultProgram =
      (machine.DefaultProgram >= 0 && machine.DefaultProgram <= 6) ? machine.DefaultProgram : 0;
  b[record + MachineDefaultProgram] = static_cast<std::uint8_t>(defaultProgram | DefaultProgramMarkerBit);
  const int softnerPump = (machine.SoftnerPump >= 0 && machine.SoftnerPump <= 7) ? machine.SoftnerPump : 0;
  b[record + MachineSoftnerPump] = static_cast<std::uint8_t>(softnerPump);
  b[record + MachineShortFlushTime] = LowByteOf(machine.ShortFlushTime);
  b[record + MachineLongFlushTime] = LowByteOf(machine.LongFlushTime);
  b[record + MachineProgramTimeout] = LowByteOf(machine.ProgramTimeout);
  for (int pump = 0; pump < PumpCount; ++pump) {
    b[record + MachineCalibrations + pump] = StoredCalibration(machine.Calibration[pump]);
  }
  std::copy(machine.Trigger.bytes.begin(), machine.Trigger.bytes.end(), b.begin() + record + MachineTrigger);
}

void WriteTexts(std::span<std::uint8_t> b, const SystemConfig& system, TextPacker& texts) {
  for (int m = 0; m < MachineCount; ++m) {
    for (int p = 0; p < ProgramCount; ++p) {
      const std::string& name = system.Machines[m].Programs[p].Name;
      const std::uint16_t offset = name == DefaultProgramName(p + 1) ? 0 : texts.Store(name);
      bytes::PutU16LE(b, ProgramRecord(m, p) + ProgramName, offset);
    }
  }
  for (int m = 0; m < MachineCount; ++m) {
    const MachineConfig& machine = system.Machines[m];
    bytes::PutU16LE(b, MachineRecord(m) + MachineComment, texts.Store(machine.Comment));
    for (int p = 0; p < ProgramCount; ++p) {
      bytes::PutU16LE(b, ProgramRecord(m, p) + ProgramComment, texts.Store(machine.Programs[p].Comment));
    }
  }
  for (int m = 0; m < MachineCount; ++m) {
    for (int p = 0; p < ProgramCount; ++p) {
      const DosingProgram& program = system.Machines[m].Programs[p];
      for (int k = 0; k < DosingProgram::LineCount; ++k) {
        const std::size_t line = ProgramRecord(m, p) + ProgramLines + ProgramLine::Size * k;
        bytes::PutU16LE(b, line + 6, texts.Store(program.Lines[k].comment));
      }
    }
  }
}

double HighestTextPercent(std::span<const std::uint8_t> area) {
  for (std::size_t offset = area.size(); offset-- > 0;) {
    if (area[offset] != 0) return static_cast<double>(offset) * 100.0 / static_cast<double>(area.size());
  }
  return 0.0;
}

}  // namespace

int DataLengthForText(std::size_t textInUse) {
  std::size_t padding = 0;
  if (textInUse < TextAreaSize)
    padding = std::min<std::size_t>(32 - textInUse % 16, TextAreaSize - textInUse);
  return static_cast<int>(TextArea + textInUse + padding);
}

BuildResult BuildImage(WorkingConfig& config, const LocalDateTime& buildTime) {
  ControllerImage& image = config.image;
  const auto b = image.Span();
  const SystemConfig& system = config.system;

  std::array<std::uint8_t, SystemLoginCodeField> loginCode;
  std::copy_n(b.begin() + SystemLoginCode, SystemLoginCodeField, loginCode.begin());
  std::fill_n(b.begin(), SystemDataSize, 0);
  std::copy(loginCode.begin(), loginCode.end(), b.begin() + SystemLoginCode);
  image.WriteFormat();

  WriteBuildTime(b, buildTime);
  WriteSystemSettings(b, system);
  std::uint16_t enabledMask = 0;
  for (int m = 0; m < MachineCount; ++m) {
    if (system.MachineEnabled[m]) enabledMask |= static_cast<std::uint16_t>(1 << m);
    WriteMachine(b, m, system.Machines[m], system.MachineEnabled[m]);
  }
  bytes::PutU16LE(b, MachinesEnabled, enabledMask);

  const auto area = b.subspan(TextArea, TextAreaSize);
  TextPacker texts(area);
  WriteTexts(b, system, texts);

  image.dataLength = DataLengthForText(texts.InUse());
  image.imageHeld = true;

  BuildResult result;
  result.dataLength = image.dataLength;
  result.usedTextPercent = HighestTextPercent(area);

  if (config.masterLoginMode) {
    std::fill_n(b.begin() + SystemLoginCode, SystemLoginCodeLength, 0);
    const std::size_t n = std::min(SystemLoginCodeLength, config.loginCodeEdit.size());
    std::memcpy(b.data() + SystemLoginCode, config.loginCodeEdit.data(), n);
  }
  b[SystemLoginCodeEnd] = 0;
  return result;
}

}  // namespace qd
