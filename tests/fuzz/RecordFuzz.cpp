// libFuzzer target for the game record reader: any bytes are either refused
// with a reason or read into steps that keep the record's rules, and a record
// read is written again and read back the same.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "RecordReader.h"
#include "RecordWriter.h"

using vxfuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string bytes(reinterpret_cast<const char *>(data), size);
  vx::RecordReader reader;
  if (reader.parse(bytes) != 0) {
    check(!reader.getError().empty(), "a refused record without a reason");
    check(reader.getSteps().empty(), "a refused record left steps");
    return 0;
  }
  const std::vector<vx::RecordStep> &steps = reader.getSteps();
  int previous = -1;
  for (const vx::RecordStep &step : steps) {
    check(step.step > previous, "steps out of order");
    check(step.has_hash || !step.inputs.empty(), "a step that holds nothing");
    previous = step.step;
  }
  check(reader.getStepCount() > previous, "a step after the end");

  vx::RecordReader again;
  check(again.parse(vx::RecordWriter::encode(reader.getHeader(), steps, reader.getStepCount())) ==
            0,
        "a record written again is refused");
  check(again.getStepCount() == reader.getStepCount() &&
            again.getSteps().size() == steps.size(),
        "a record written again reads otherwise");
  for (size_t i = 0; i < steps.size(); i++)
    check(again.getSteps()[i].step == steps[i].step &&
              again.getSteps()[i].hash == steps[i].hash &&
              again.getSteps()[i].inputs == steps[i].inputs,
          "a step written again reads otherwise");
  return 0;
}
