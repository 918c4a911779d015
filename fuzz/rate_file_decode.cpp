// Reading a rate file's bytes, whatever they are.
#include "shell/types/errors.h"
#include "fuzzsupport.h"
#include "rates/rules/ratefile.h"

#include <QByteArray>

using namespace varnek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const std::optional<QString> text = decodeRateFile(bytes);
    const auto shown = [&] { return QString::fromLatin1(bytes.toByteArray().toHex(' ')); };
    fuzz::check(text.has_value() == (size > 0), "a field in every file that is not empty", shown);
    if (!text)
        return 0;
    fuzz::check(text->size() <= qsizetype(size), "no longer than the file", shown);

    // Whatever was read is a text the writer can store and read back.
    QByteArray saved;
    try {
        saved = encodeRateFile(*text);
    } catch (const RuntimeError &) {
        fuzz::fail("what was read can be saved", shown());
    }
    fuzz::check(decodeRateFile(saved) == text, "what was read comes back after saving it",
                [&] { return shown() + u'\n' + fuzz::units(*text); });
    return 0;
}
