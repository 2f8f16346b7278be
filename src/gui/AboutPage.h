// The About page: the program's name, version and build, and its four documents.
#pragma once

#include <QWidget>

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
    void addDocument(const QString& title, const QString& resource);

    QTabWidget* documents_;
};

/// The Markdown document compiled in at resource path; empty when it is missing.
QString resourceText(const QString& resource);

}  // namespace tessel::gui
