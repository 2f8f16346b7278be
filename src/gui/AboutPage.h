// The About page: the program's name, version and build, the vendor's links, and its four
// documents.
#pragma once

#include <QWidget>

class QPushButton;
class QTabWidget;
class QTextBrowser;

namespace tessel::gui {

struct PageContext;

class AboutPage : public QWidget {
    Q_OBJECT

  public:
    AboutPage(PageContext& context, QWidget* parent = nullptr);

    QTabWidget* documents() const { return documents_; }

  private:
    QWidget* header(PageContext& context);
    QWidget* links(PageContext& context);
    QPushButton* linkButton(PageContext& context, const QString& title, int code,
                            const QString& toolTip);
    void addDocument(const QString& title, const QString& resource);

    QTabWidget* documents_;
};

/// The Markdown document compiled in at resource path; empty when it is missing.
QString resourceText(const QString& resource);

}  // namespace tessel::gui
