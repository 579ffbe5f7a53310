// The client-book record reader on any bytes a file could hold.
#include "FuzzCheck.h"
#include "collection/ModOmla.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    bool damaged = false;
    const ModOmla::ClientRecord record = ModOmla::DecodeRecord(bytes, &damaged);
    // Whatever was read is written back within one record and reads back the same.
    if (const std::optional<QByteArray> stored = ModOmla::EncodeRecord(record)) {
        FUZZ_CHECK(stored->size() <= ModOmla::RecordLength);
        bool again = false;
        FUZZ_CHECK(ModOmla::DecodeRecord(*stored, &again) == record);
        FUZZ_CHECK(!again);
    }
    // A whole file: records one after another, the last one possibly short.
    ModOmla::ClientBookTable table;
    for (qsizetype off = 0, n = 1; off < bytes.size() && n <= ModOmla::BookSize;
         off += ModOmla::RecordLength, ++n) {
        const QByteArrayView one =
            bytes.sliced(off, qMin<qsizetype>(ModOmla::RecordLength, bytes.size() - off));
        table.setEntry(int(n), ModOmla::DecodeRecord(one));
    }
    const int free = table.findFree();
    FUZZ_CHECK(free >= 0 && free <= ModOmla::BookSize);
    if (free > 0)
        FUZZ_CHECK(table.isFree(free));
    (void)table.nameByTel(record.ClientTel);
    return 0;
}
