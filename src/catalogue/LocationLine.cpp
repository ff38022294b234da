#include "LocationLine.h"

#include "platform/Failure.h"

#include <cstring>

namespace {

// The position of the first comma at or after `from`; -1 when there is none. A field is a few dozen characters,
// and a call to QStringView::indexOf costs more than searching them; the C library's memchr is vectorised and
// cheap to call. A byte found is the comma when the character it belongs to is the comma: a byte 0x2C can
// also be half of another character (U+2C00, U+012C).
qsizetype indexOfComma(QStringView line, qsizetype from)
{
    const char16_t* characters = line.utf16();
    const auto* bytes = reinterpret_cast<const char*>(characters);
    const char* const end = bytes + 2 * line.size();
    for (const char* at = bytes + 2 * from; at < end;) {
        const auto* found = static_cast<const char*>(std::memchr(at, ',', size_t(end - at)));
        if (found == nullptr)
            return -1;
        const qsizetype position = (found - bytes) / 2;
        if (characters[position] == u',')
            return position;
        at = found + 1;
    }
    return -1;
}

} // namespace

LocationLine splitLocationLine(QStringView line)
{
    const qsizetype firstComma = indexOfComma(line, 0);
    const qsizetype secondComma = firstComma < 0 ? -1 : indexOfComma(line, firstComma + 1);
    if (secondComma < 0)
        throw Failure(line.isEmpty() ? QStringLiteral("The location list holds an empty line.")
                                     : QStringLiteral("The location line \"%1\" does not have the three fields "
                                                      "URL, name and region.")
                                           .arg(line.left(200)));
    const qsizetype thirdComma = indexOfComma(line, secondComma + 1);
    const qsizetype regionEnd = thirdComma < 0 ? line.size() : thirdComma;
    return {line.first(firstComma), line.sliced(firstComma + 1, secondComma - firstComma - 1),
            line.sliced(secondComma + 1, regionEnd - secondComma - 1)};
}

QStringView nameRegionSeparator(const LocationLine& line)
{
    return line.region.isEmpty() ? QStringView() : QStringView(u", ");
}

void composeDisplayName(const LocationLine& line, QString& out)
{
    out.resize(0);
    out.append(line.name).append(nameRegionSeparator(line)).append(line.region);
}
