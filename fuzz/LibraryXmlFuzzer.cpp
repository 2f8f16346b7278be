// Imports each input as a "Library.xml" export into a new library: any input must end in a
// summary or an import error, never a crash, a hang or a sanitizer report.
#include "FuzzFile.h"
#include "itunes/Connection.h"
#include "itunes/LibraryImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tessel;
    const QString xml = fuzz::writeInput(QStringLiteral("Library.xml"), data, size);
    const QString library = fuzz::folderPath(QStringLiteral("library.sqlite"));
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(library + QLatin1String(suffix));
    try {
        itunes::importLibraryXml(*itunes::Connection::open(library), xml);
    } catch (const TesselError&) {
    }
    return 0;
}
