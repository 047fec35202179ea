// Feeds arbitrary bytes to the wall file readers: they may raise RecordError
// but must not crash, hang or grow without bound; and every card or settings
// record they do read must write back to text that reads back the same.
#include "storage/recorderror.h"
#include "storage/records.h"
#include "storage/walltext.h"

#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

void checkRoundTrip(const PosterRecord& r) {
    const QString once = formatPosterRecord(r);
    const QVector<PosterRecord> back = parsePosterRecords(once);
    if (back.size() != 1 || formatPosterRecord(back.first()) != once)
        std::abort();
}

// A settings record read from the text writes back to text that reads back
// the same.
template <typename Record, typename Format, typename Parse>
void checkSettings(const std::optional<Record>& r, Format format, Parse parse) {
    if (!r)
        return;
    const QString once = format(*r);
    const std::optional<Record> back = parse(once);
    if (!back || format(*back) != once)
        std::abort();
}

template <typename F> void guarded(F f) {
    try {
        f();
    } catch (const RecordError& e) {
        if (e.message().isEmpty())
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto decoded = decodeWallText(bytes);
    if (!decoded)
        return 0;
    const QString& text = decoded->text;
    guarded([&] {
        for (const PosterRecord& r : parsePosterRecords(text))
            checkRoundTrip(r);
    });
    guarded([&] { checkSettings(parsePanelRecord(text), formatPanelRecord, parsePanelRecord); });
    guarded([&] { checkSettings(parseUrlRecord(text), formatUrlRecord, parseUrlRecord); });
    guarded([&] { checkSettings(parseMaskRecord(text), formatMaskRecord, parseMaskRecord); });
    encodeWallText(text);
    return 0;
}
