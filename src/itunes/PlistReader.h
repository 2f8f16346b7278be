// Reading an XML property list (the format of a music library's "Library.xml" export) a value
// at a time, so a document of any size is read in little memory: the caller walks dicts and
// arrays entry by entry, reads the small values it wants whole and passes over the others.
// Whole values: dict → QVariantMap, array → QVariantList, string and key → QString, integer →
// qint64, real → double, date → QDateTime (UTC), data → QByteArray, true/false → bool.
// Every value read or passed over is checked alike. The reader never fetches the document type
// or expands entities.
#pragma once

#include "PlistTokenizer.h"

#include <QIODevice>
#include <QVariant>

#include <string>

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

    /// What the value the reader stands at is.
    bool atDict() const { return element_ == Element::Dict; }
    bool atArray() const { return element_ == Element::Array; }
    bool atData() const { return element_ == Element::Data; }

    /// Enters the dict or array the reader stands at; then nextEntry() or nextItem() walk it.
    void enter();
    /// In a dict: reads the next entry's key (UTF-8) and stops at the start of its value;
    /// false at the dict's end, which leaves it.
    bool nextEntry(std::string& key);
    /// In an array: stops at the start of the next value; false at the array's end, which
    /// leaves it.
    bool nextItem();

    /// Reads the value the reader stands at, whole.
    QVariant value();
    /// Passes over the value the reader stands at, checking it as value() would.
    void skip();

    [[noreturn]] void fail(QString problem);

  private:
    const Token& nextToken();
    bool nextStartElement();
    [[noreturn]] void failInside();
    void readText(std::string& into);
    QString text();
    void skipText();
    QString elementName() const;
    QVariant dict();
    QVariant array();
    qint64 integer();
    QVariant real();
    QVariant boolean(bool truth);
    QVariant date();
    void checkDate();

    Tokenizer tokens_;
    QString fileName_;
    qint64 line_ = 0;
    Element element_ = Element::Other;  // of the value the reader stands at
    std::string otherName_;             // when that is Other
    int depth_ = 0;
    std::string scratch_;  // the text of a value being read
};

}  // namespace tessel::itunes::plist
