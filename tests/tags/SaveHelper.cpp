// Writes one title into a music file, in a process of its own, for the kill test.
// Arguments: file, title.
#include "tags/FileTags.h"

#include <QCoreApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
    QStandardPaths::setTestModeEnabled(true);  // the data folder of the test that started it
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    tessel::filetags::write(args.at(1), QStringLiteral("name"), args.at(2));
    return 0;
}
