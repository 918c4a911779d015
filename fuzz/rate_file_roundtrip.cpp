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
QString storable(QString text)
{
    static const QRegularExpression quoteBeforeSeparator(QStringLiteral("\"+(?=[,\r\n])"));
    return text.remove(quoteBeforeSeparator);
}

void roundTrip(const QString &text)
{
    const QByteArray file = encodeRateFile(text);
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
    const QString kept = storable(text);
    if (!utf16)
        fuzz::check(toWindows1254(text) == QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)),
                    "the code page maps every byte both ways", [&] { return fuzz::units(text); });
    roundTrip(kept);

    // A hand-made file of two records: the last one counts.
    const qsizetype split = qsizetype(data[0] >> 1) % (kept.size() + 1);
    const QString first = kept.first(split);
    const QString second = kept.sliced(split);
    fuzz::check(decodeRateFile(encodeRateFile(first) + encodeRateFile(second)) == second, "the last record counts",
                [&] { return fuzz::units(first) + u'\n' + fuzz::units(second); });
    return 0;
}
