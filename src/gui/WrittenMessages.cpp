#include "WrittenMessages.h"

#include <QCoreApplication>

namespace tessel::gui {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("WrittenMessages", text);
}

// "1 change", "12 changes".
QString counted(int count, const char* one, const char* many) {
    return (count == 1 ? tr(one) : tr(many)).arg(count);
}

}  // namespace

QString appliedMessage(int written, int unchecked, bool membership, bool complete) {
    if (written == 0 && complete && unchecked > 0)
        return membership ? tr("Nothing was changed: no track was checked.")
                          : tr("Nothing was written: no change was checked.");
    QString message =
        membership
            ? tr("Changed the playlist for %1").arg(counted(written, "%1 track", "%1 tracks"))
            : tr("Wrote %1").arg(counted(written, "%1 change", "%1 changes"));
    if (!complete)
        message += tr(" before the run stopped");
    if (unchecked > 0)
        message += tr("; %1 left unchecked")
                       .arg(membership ? counted(unchecked, "%1 track", "%1 tracks")
                                       : counted(unchecked, "%1 change", "%1 changes"));
    return message + u'.';
}

QString numericMessage(int count, const QString& tagName) {
    if (count == 0)
        return tr("Nothing was written: no track was selected.");
    return tr("Wrote %1 on %2.").arg(tagName, counted(count, "%1 track", "%1 tracks"));
}

}  // namespace tessel::gui
