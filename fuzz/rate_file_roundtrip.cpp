// Saving a text and reading it back. First byte: how the rest becomes a text (Windows-1254 bytes,
// or raw UTF-16 units, most of which have no byte) and where it splits into two records.
#include "shell/types/errors.h"
#include "fuzzsupport.h"
#include "rates/rules/ratefile.h"

#include <QByteArray>
#include <QRegularExpression>

using namespace varnek;

namespace {

// The one shape the unescaped format cannot hold: a quotation mark before a comma or a line end.
bool storable(const QString &text)
{
    static const QRegularExpression quoteBeforeSeparator(QStringLiteral("\"[,\r\n]"));
    return !text.contains(quoteBeforeSeparator);
}

// Every text of the code page is saved and read back as it was, or refused with nothing made.
void roundTrip(const QString &text)
{
    QByteArray file;
    try {
        file = encodeRateFile(text);
    } catch (const RuntimeError &e) {
        fuzz::check(e.kind() == ErrorKind::FileAccess && !storable(text), "refused only when it cannot be held",
                    [&] { return fuzz::units(text) + u'\n' + e.detail(); });
        return;
    }
    fuzz::check(storable(text), "a text that cannot be held is refused", [&] { return fuzz::units(text); });
    fuzz::check(file.size() == text.size() + 4, "one byte a character, quotes and CR LF",
                [&] { return fuzz::units(text); });
    fuzz::check(decodeRateFile(file) == text, "read back as saved", [&] { return fuzz::units(text); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool utf16 = data[0] & 1;
    const QString text =
        utf16 ? fuzz::textOf(data + 1, size - 1, true) : fromWindows1254(QByteArrayView(data + 1, qsizetype(size - 1)));

    if (!toWindows1254(text)) {
        fuzz::check(utf16, "every byte decodes to a character that has a byte", [&] { return fuzz::units(text); });
        try {
            encodeRateFile(text);
        } catch (const RuntimeError &e) {
            fuzz::check(e.kind() == ErrorKind::FileAccess && e.detail().contains(QStringLiteral("U+")),
                        "refused with the character named", [&] { return fuzz::units(text) + u'\n' + e.detail(); });
            return 0;
        }
        fuzz::fail("a character without a byte is refused", fuzz::units(text));
    }
    if (!utf16)
        fuzz::check(toWindows1254(text) == QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)),
                    "the code page maps every byte both ways", [&] { return fuzz::units(text); });
    roundTrip(text);
    if (!storable(text))
        return 0;

    // A hand-made file of two records: the last one counts.
    const qsizetype split = qsizetype(data[0] >> 1) % (text.size() + 1);
    const QString first = text.first(split);
    const QString second = text.sliced(split);
    fuzz::check(decodeRateFile(encodeRateFile(first) + encodeRateFile(second)) == second, "the last record counts",
                [&] { return fuzz::units(first) + u'\n' + fuzz::units(second); });
    return 0;
}
