// The desktop app's window over an in-memory library, with a slot that throws half a second
// after start: the fatal-error dialog as the user meets it. The argument answers it: "quit"
// or "send" press that button (the problem report is printed instead of opened), "wait"
// leaves it up (for screenshots).
#include "MemoryLibrary.h"
#include "app/AppDelegate.h"
#include "gui/FatalErrorDialog.h"
#include "gui/GuiPresenter.h"
#include "gui/MainWindow.h"
#include "support/GuardedApplication.h"
#include "support/TesselError.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

class Answerer : public QObject {
    Q_OBJECT

  public:
    explicit Answerer(QString button) : button_(std::move(button)) {
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "print");
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &Answerer::answer);
        timer->start(50);
    }

  public slots:
    void print(const QUrl& url) { QTextStream(stdout) << url.toString() << Qt::endl; }

  private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        QTextStream(stdout) << box->text() << '\n' << box->informativeText() << Qt::endl;
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == button_)
                button->click();
        }
    }
    QString button_;
};

}  // namespace

int main(int argc, char** argv) {
    tessel::GuardedApplication<QApplication> app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessel"));
    tessel::gui::installFatalErrorDialog();
    tessel::test::MemoryLibrary library;
    library.addPlaylist(QStringLiteral("Music"));
    tessel::gui::GuiPresenter presenter;
    tessel::AppDelegate delegate(library.provider(), presenter,
                                 std::make_unique<tessel::MemorySettingsStore>());
    delegate.applicationDidFinishLaunching();
    tessel::gui::MainWindow window(delegate);
    presenter.setWindow(&window);
    window.show();

    const QString mode = QApplication::arguments().value(1);
    std::unique_ptr<Answerer> answerer;
    if (mode == u"quit" || mode == u"send")
        answerer = std::make_unique<Answerer>(mode == u"quit" ? QStringLiteral("Quit")
                                                              : QStringLiteral("Send to support"));
    QTimer::singleShot(500, &window, [] {
        throw tessel::TesselError(QStringLiteral("Broken Slot"),
                                  QStringLiteral("A slot of the window gave up on its work."));
    });
    return QApplication::exec();
}

#include "FatalDialogHelper.moc"
