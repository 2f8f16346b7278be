// Reads each input as a property list twice, once taking its value whole and once passing over
// it: both must end alike (read, or refused with the same reason), since a value passed over is
// checked as one that is read; neither may crash, hang or draw a sanitizer report.
#include "itunes/PlistReader.h"
#include "support/TesselError.h"

#include <QBuffer>

#include <cstdio>
#include <cstdlib>

namespace {

QString outcome(const QByteArray& document, bool skipping) {
    QByteArray bytes = document;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        tessel::itunes::plist::Reader reader(buffer, QStringLiteral("fuzz.xml"));
        reader.begin();
        if (skipping)
            reader.skip();
        else
            reader.value();
        reader.end();
    } catch (const tessel::TesselError& error) {
        return error.reason();
    }
    return QString();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray document(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString read = outcome(document, false);
    const QString skipped = outcome(document, true);
    if (read != skipped) {
        std::fprintf(stderr, "read: %s\nskipped: %s\n", qPrintable(read), qPrintable(skipped));
        std::abort();
    }
    return 0;
}
