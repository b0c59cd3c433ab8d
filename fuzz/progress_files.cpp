// Feeds arbitrary bytes to the readers of the records file, the proven times and the world
// names. Besides the sanitizers it checks what the game relies on: whatever records were
// read survive being written and read back unchanged with no line skipped, and so do the
// proven times; every world has a name that fits the stage select.
#include "media/ofUtils.h"
#include "progress/ProvenTimes.h"
#include "progress/Records.h"
#include "progress/Worlds.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

void checkRecords(const std::string& bytes)
{
    Records records;
    int skipped = -1;
    if (!records.parseText(bytes, 100, skipped)) {
        require(records.all().empty());
        return;
    }
    for (const auto& [stage, record] : records.all()) {
        require(stage >= 1 && stage <= RECORDS_MAX_STAGE && record.bestSteps >= 1);
    }
    Records back;
    int again = -1;
    require(back.parseText(records.recordsText(), 100, again) && again == 0);
    require(back.recordsText() == records.recordsText());
}

void checkProvenTimes(const std::string& bytes)
{
    ProvenTimes proven;
    proven.loadText(bytes, "fuzz");
    ProvenTimes back;
    back.loadText(proven.text(), "fuzz");
    require(back.text() == proven.text());
    for (const auto& [stage, steps] : proven.all()) {
        require(proven.medalFor(stage, steps) == Medal::Gold && proven.silverTarget(stage) >= proven.goldTarget(stage));
    }
}

void checkWorlds(const std::string& bytes)
{
    Worlds worlds;
    worlds.loadText(bytes, "fuzz");
    for (int world = 1; world <= 12; ++world) {
        const std::string name = worlds.name(world);
        require(!name.empty() && name.size() <= static_cast<std::size_t>(WORLD_NAME_MAX_BYTES));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ofSetLogLevel(OF_LOG_FATAL_ERROR);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    checkRecords(bytes);
    checkProvenTimes(bytes);
    checkWorlds(bytes);
    return 0;
}
