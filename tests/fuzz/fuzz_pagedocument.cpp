// Feeds arbitrary text to the page editor's reader and writer and to the quiz
// expansion: none may crash, hang or grow without bound; and reading an
// expanded text gives back exactly what the expansion was given, as long as
// that holds nothing the reader takes for the expansion's own (web-text
// blocks, form elements).
#include "pageeditor/pagedocument.h"
#include "pageeditor/webtext.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool holdsExpansionMarks(const QString& text) {
    return text.contains(QLatin1String("<!--beginWebTXT")) ||
           text.contains(QLatin1String("<!--endWebTXT")) ||
           text.contains(QLatin1String("<INPUT"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("<SELECT"), Qt::CaseInsensitive);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    // Pictures are looked up in a folder that is not there.
    const QString folder = QStringLiteral("/nonexistent-zavik-fuzz/");
    PageMemory memory;
    PageDocument doc(memory);
    doc.Edit_LOAD(text, folder);
    doc.keepsAll(text);
    PageDocument again(memory);
    again.Edit_LOAD(doc.Edit_SAVE(), folder);

    // A page the editor wrote, read back, is such a text too.
    for (const QString& source : {text, TAGcut(text, 2)})
        if (!holdsExpansionMarks(source) && TAGcut(WebTXTadd(source), 2) != source)
            std::abort();
    return 0;
}
