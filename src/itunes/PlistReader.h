// Reading an XML property list (the format of a music library's "Library.xml" export) a value
// at a time, so a document of any size is read in little memory: the caller walks dicts and
// arrays entry by entry, reads the small values it wants whole and passes over the others.
// Whole values: dict → QVariantMap, array → QVariantList, string and key → QString, integer →
// qint64, real → double, date → QDateTime (UTC), data → QByteArray, true/false → bool.
// Every value read or passed over is checked alike. The reader never fetches the document type
// or expands entities.
#pragma once

#include <QIODevice>
#include <QVariant>
#include <QXmlStreamReader>

namespace tessel::itunes::plist {

/// Every problem throws a TesselError named "Import Failed" whose reason names the line of the
/// first problem of a document that is not well-formed, is truncated, or is not a property list.
class Reader {
  public:
    Reader(QIODevice& device, const QString& fileName);

    /// Enters the <plist> element and stops at the start of its one value.
    void begin();
    /// After the top-level value: checks that nothing but the end of the document follows.
    void end();

    /// The element name of the value the reader stands at ("dict", "string", …).
    QStringView element() const { return xml_.name(); }
    bool atDict() const { return element() == u"dict"; }
    bool atArray() const { return element() == u"array"; }

    /// Enters the dict or array the reader stands at; then nextEntry() or nextItem() walk it.
    void enter();
    /// In a dict: reads the next entry's key and stops at the start of its value; false at the
    /// dict's end, which leaves it.
    bool nextEntry(QString& key);
    /// In an array: stops at the start of the next value; false at the array's end, which
    /// leaves it.
    bool nextItem();

    /// Reads the value the reader stands at, whole.
    QVariant value();
    /// Passes over the value the reader stands at, checking it as value() would.
    void skip();

    [[noreturn]] void fail(QString problem);

  private:
    enum class Element { Dict, Array, String, Integer, Real, True, False, Date, Data, Other };
    Element elementKind() const;
    QXmlStreamReader::TokenType nextToken();
    bool nextStartElement();
    void readText(QString& into);
    QString text();
    void skipText();
    QVariant dict();
    QVariant array();
    QVariant integer();
    QVariant real();
    QVariant boolean(bool truth);
    QVariant date();
    void checkDate();

    QXmlStreamReader xml_;
    QString fileName_;
    int depth_ = 0;
    QString scratch_;  // the text of a number or date being checked
};

}  // namespace tessel::itunes::plist
