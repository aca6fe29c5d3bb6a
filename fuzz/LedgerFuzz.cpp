// A batch's ledger and work list on arbitrary bytes: ledgers are files
// that other runs, other versions and people write. A ledger read back
// after being written holds what it held; a list is planned or refused
// with InputError.
#include "tool/Arguments.h"
#include "tool/BatchPlan.h"
#include "tool/Ledger.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace visemer::tool;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto entries = ledgerEntries(text);
    const std::string written = ledgerText(entries);
    if (ledgerText(ledgerEntries(written)) != written)
        std::abort();

    static const std::string list = [] {
        char folder[] = "/tmp/fuzz-ledger-XXXXXX";
        return std::string(::mkdtemp(folder)) + "/list.tsv";
    }();
    std::ofstream(list, std::ios::binary | std::ios::trunc) << text;
    try {
        BatchSources sources;
        sources.list = list;
        planBatch(sources);
    } catch (const InputError&) {
    } catch (const UsageError&) {
    }
    return 0;
}
